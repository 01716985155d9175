// The clipboard against another X client: a picture the program copies is
// read by xclip as PNG, and a PNG xclip offers is pasted. The test starts
// its own X server through xvfb-run (the run under it uses the xcb
// platform) and is skipped when xvfb-run or xclip is missing.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "dib_test_util.h"
#include "imaging/dib_clipboard.h"
#include "imaging/dib_qimage.h"

namespace {

constexpr char kUnderXvfb[] = "KAVOLT_CLIPBOARD_UNDER_XVFB";

// Waits for the process with the event loop turning: the program itself
// serves the selection xclip asks for.
bool FinishServing(QProcess& process, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (process.state() != QProcess::NotRunning && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        process.waitForFinished(5);
    }
    return process.state() == QProcess::NotRunning;
}

TEST(ClipboardX11, XclipReadsOurPngAndWeReadItsPng) {
    if (qEnvironmentVariableIsEmpty(kUnderXvfb)) {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
        const QString xclip = QStandardPaths::findExecutable(QStringLiteral("xclip"));
        if (xvfb.isEmpty() || xclip.isEmpty())
            GTEST_SKIP() << "xvfb-run or xclip is not installed (packages xvfb, xclip): the real X "
                            "clipboard is not tested";
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kUnderXvfb), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        run.start(xvfb, {QStringLiteral("-a"), QCoreApplication::applicationFilePath(),
                         QStringLiteral("--gtest_filter=ClipboardX11.*")});
        ASSERT_TRUE(run.waitForFinished(120000));
        EXPECT_EQ(run.exitCode(), 0);
        return;
    }

    // Our copy: 37 x 21 in two colours.
    kvtest::Rows rows(21, std::vector<uint8_t>(37, 1));
    rows[0][0] = 2;
    MemHandle dib = kvtest::MakeDib8(rows);
    kvtest::SetEntry(dib, 1, 0x102030);
    kvtest::SetEntry(dib, 2, 0xa0b0c0);
    ASSERT_TRUE(ClipboardPutDib(dib));
    QProcess out;
    out.start(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                        QStringLiteral("clipboard"), QStringLiteral("-t"),
                                        QStringLiteral("image/png")});
    ASSERT_TRUE(FinishServing(out, 20000));
    QImage png = QImage::fromData(out.readAllStandardOutput(), "PNG");
    ASSERT_EQ(png.size(), QSize(37, 21));
    EXPECT_EQ(png.pixel(5, 5) & 0xffffff, 0x102030u);
    EXPECT_EQ(png.pixel(0, 0) & 0xffffff, 0xa0b0c0u);

    // xclip's picture.
    QTemporaryDir dir;
    QImage fixture(5, 3, QImage::Format_RGB32);
    fixture.fill(0xff112233);
    fixture.setPixel(4, 2, 0xffddeeff);
    const QString path = dir.filePath(QStringLiteral("in.png"));
    ASSERT_TRUE(fixture.save(path, "PNG"));
    QProcess in;
    in.start(QStringLiteral("xclip"), {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                                       QStringLiteral("clipboard"), QStringLiteral("-t"),
                                       QStringLiteral("image/png"), QStringLiteral("-i"), path});
    ASSERT_TRUE(in.waitForStarted());
    QElapsedTimer timer;
    timer.start();
    while (ClipboardHasOwnDib() && timer.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    while (!ClipboardHasDib() && timer.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    bool own = true;
    MemHandle pasted = ClipboardGetDib(nullptr, &own);
    kvtest::Blocks blocks{pasted};
    in.kill();  // by its PID
    in.waitForFinished(5000);
    ASSERT_NE(pasted, nullptr);
    EXPECT_FALSE(own);
    QImage back = DibToQImage(pasted);
    ASSERT_EQ(back.size(), QSize(5, 3));
    EXPECT_EQ(back.pixel(0, 0) & 0xffffff, 0x112233u);
    EXPECT_EQ(back.pixel(4, 2) & 0xffffff, 0xddeeffu);
}

}  // namespace
