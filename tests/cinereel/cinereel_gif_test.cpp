// 输出 GIF 动画 of Cinereel.so through the editor's real loading path and
// the scripted save dialog; each file is read back by giflib, Pillow and
// gifsicle.
#include <QProcess>

#include "cinereel_preview_fixture.h"
#include "framework/support_file_dialog.h"
#include "gif_peer.h"
#include "platform/memory.h"
#include "plugins/loopcast/gif_tree.h"
#include "tests/support/file_size_limit.h"

namespace hosttest {
namespace {

struct Control {
    int packed, delay, transparentIndex;
};

// The graphic controls of a file, in order, and whether its first block is
// the looping extension.
std::vector<Control> Controls(const std::vector<uint8_t>& bytes, bool* loops) {
    std::vector<Control> out;
    GifFile* tree = gifpeer::CodecRead(bytes);
    if (!tree) return out;
    *loops = false;
    for (uint32_t i = 0; i < GifBlockCount(tree); ++i) {
        GifBlock* b = GifBlockAt(tree, i);
        if (!b->extension) continue;
        if (b->extension->label == kGifApplicationLabel && i == 0) *loops = true;
        if (b->extension->label != kGifGraphicControlLabel) continue;
        const uint8_t* s = GifSubBlockAt(b->extension, 0);
        out.push_back({s[0], s[1] | s[2] << 8, s[3]});
    }
    GifFreeFile(tree);
    return out;
}

QString RunProgram(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(20000)) return QStringLiteral("(did not run)");
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// Pillow's reading: frame count, each frame's duration, loop, and the
// colour of the screen point (x, y) of each frame.
QString PillowSays(const QString& path, int x, int y) {
    const QString script = QStringLiteral(
        "import sys\nfrom PIL import Image\nim = Image.open(sys.argv[1])\nd = []\nc = []\n"
        "for i in range(im.n_frames):\n    im.seek(i)\n    d.append(im.info.get('duration'))\n"
        "    c.append('%02x%02x%02x' % im.convert('RGB').getpixel((int(sys.argv[2]), int(sys.argv[3])))[:3])\n"
        "print(im.n_frames, d, im.info.get('loop'), c)\n");
    // Pillow is the system package: the system interpreter reads it.
    return RunProgram(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path, QString::number(x), QString::number(y)});
}

class CinereelGifTest : public CinereelPreviewTest {
protected:
    // Writes the document's frames with the given checks to out.gif.
    QString Write(bool loop, bool transparent, bool interlace, int basePosId = 14030) {
        const QString path = FilePath(QStringLiteral("out.gif"));
        dialogs.Script(dialogs::FileDialogAnswer::Ok({path}));
        CinereelTest::Run(34012, [&] {
            Bar(16016)->ClickButton(basePosId);
            if (loop) Click(14022);
            if (transparent) Click(14021);
            if (interlace) Click(14020);
            Click(14019);
            Click(14013);
        });
        return path;
    }
};

int Pixel(int x, int y) { return 1 + (x + 2 * y) % 9; }

TEST_F(CinereelGifTest, FramesPlacedWithTheirDelaysAndPixelsAsOutsideReadersSeeThem) {
    CPelmarkDoc* doc = OpenDoc(64, 40);
    Palette(doc);
    SetLayer(doc, Pixel);
    // The screen's width from frame 0, its height from frame 2; frame 1 is empty.
    Frames(doc, {{0, 0, 30, 10, 105}, {0, 0, 0, 0, 100}, {40, 5, 10, 20, 9}, {4, 30, 20, 6, 250}});
    const QString path = Write(true, false, false, 14036);  // centre
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    const dialogs::FileDialogRequest& r = dialogs.Requests()[0];
    EXPECT_FALSE(r.open);
    EXPECT_EQ(r.defaultExt, "Gif");
    EXPECT_EQ(r.fileName, "*.GIF");
    EXPECT_EQ(r.flags, unsigned(dialogs::OFN_HIDEREADONLY | dialogs::OFN_OVERWRITEPROMPT));
    ASSERT_EQ(r.filters.size(), 1u);
    EXPECT_EQ(r.filters[0].name, "Gif 动画 (*.GIF)");
    EXPECT_EQ(r.filters[0].patterns, "*.GIF");

    const std::vector<uint8_t> bytes = gifpeer::ReadBytes(path.toStdString());
    ASSERT_GT(bytes.size(), 6u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a");
    std::optional<gifpeer::Picture> picture = gifpeer::PeerDecode(bytes);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 30);
    EXPECT_EQ(picture->height, 20);
    ASSERT_EQ(picture->palette.size(), 256u);
    EXPECT_EQ(picture->palette[0], 0u);
    EXPECT_EQ(picture->palette[7], uint32_t(7 << 16 | 248 << 8 | 14));
    struct Placed {
        int x, y, left, top, w, h;
    } placed[] = {{0, 5, 0, 0, 30, 10}, {10, 0, 40, 5, 10, 20}, {5, 7, 4, 30, 20, 6}};
    ASSERT_EQ(picture->frames.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const gifpeer::Frame& f = picture->frames[size_t(i)];
        const Placed& p = placed[i];
        EXPECT_EQ(f.left, p.x) << i;
        EXPECT_EQ(f.top, p.y) << i;
        EXPECT_EQ(f.width, p.w) << i;
        EXPECT_EQ(f.height, p.h) << i;
        EXPECT_FALSE(f.interlaced);
        std::vector<uint8_t> expected;
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) expected.push_back(uint8_t(Pixel(p.left + x, p.top + y)));
        EXPECT_EQ(f.indices, expected) << i;
    }
    bool loops = false;
    const std::vector<Control> controls = Controls(bytes, &loops);
    EXPECT_TRUE(loops);
    ASSERT_EQ(controls.size(), 3u);
    EXPECT_EQ(controls[0].delay, 10);
    EXPECT_EQ(controls[1].delay, 0);
    EXPECT_EQ(controls[2].delay, 25);
    for (const Control& c : controls) {
        EXPECT_EQ(c.packed, 8);
        EXPECT_EQ(c.transparentIndex, 0);
    }
    // Pillow: three frames, durations in ms, loop 0, and screen point (12, 8)
    // of the second frame is layer pixel (42, 13).
    const QString pillow = PillowSays(path, 12, 8);
    EXPECT_TRUE(pillow.startsWith(QStringLiteral("3 [100, 0, 250] 0"))) << pillow.toStdString();
    const QRgb c = Colour(Pixel(42, 13));
    EXPECT_TRUE(pillow.contains(QString::asprintf("%02x%02x%02x", qRed(c), qGreen(c), qBlue(c))))
        << pillow.toStdString();
    const QString info = RunProgram(QStringLiteral("gifsicle"), {QStringLiteral("--info"), path});
    EXPECT_TRUE(info.contains(QStringLiteral("logical screen 30x20"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("loop forever"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("+ image #1 10x20 at 10,0"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("disposal background"))) << info.toStdString();
    EXPECT_FALSE(info.contains(QStringLiteral("transparent"))) << info.toStdString();
}

TEST_F(CinereelGifTest, TheThreeChecks) {
    CPelmarkDoc* doc = OpenDoc(64, 40);
    Palette(doc, 16);
    SetLayer(doc, Pixel);
    Frames(doc, {{0, 0, 30, 10, 100}, {4, 4, 8, 8, 100}});
    const QString path = Write(false, true, true);
    const std::vector<uint8_t> bytes = gifpeer::ReadBytes(path.toStdString());
    bool loops = true;
    const std::vector<Control> controls = Controls(bytes, &loops);
    EXPECT_FALSE(loops);  // the first block is a graphic control
    ASSERT_EQ(controls.size(), 2u);
    EXPECT_EQ(controls[0].packed, 9);
    std::optional<gifpeer::Picture> picture = gifpeer::PeerDecode(bytes);
    ASSERT_TRUE(picture);
    // Only the 16 colours of the table are read; the rest repeat the last.
    for (int i = 15; i < 256; ++i) EXPECT_EQ(picture->palette[size_t(i)], uint32_t(15 << 16 | 240 << 8 | 30)) << i;
    EXPECT_TRUE(picture->frames[1].interlaced);
    std::vector<uint8_t> expected;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) expected.push_back(uint8_t(Pixel(4 + x, 4 + y)));
    EXPECT_EQ(picture->frames[1].indices, expected);
    const QString info = RunProgram(QStringLiteral("gifsicle"), {QStringLiteral("--info"), path});
    EXPECT_TRUE(info.contains(QStringLiteral("interlaced"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("transparent 0"))) << info.toStdString();
    EXPECT_FALSE(info.contains(QStringLiteral("loop"))) << info.toStdString();
}

TEST_F(CinereelGifTest, EmptyFramesAndOddFrames) {
    CPelmarkDoc* doc = OpenDoc(64, 40);
    Palette(doc);
    SetLayer(doc, Pixel);
    // All frames empty: no dialog, no file, no message.
    Frames(doc, {});
    CinereelTest::Run(34012, [&] {
        Click(14019);
        Click(14013);
    });
    EXPECT_TRUE(dialogs.Requests().empty());
    EXPECT_TRUE(FilesHere().isEmpty());
    // A 50 x 0 frame leaves the screen alone; a frame half outside the image
    // reads index 0 there.
    Frames(doc, {{0, 0, 50, 0, 100}, {50, 30, 20, 20, 100}});
    const QString path = Write(false, false, false);
    std::optional<gifpeer::Picture> picture = gifpeer::PeerDecode(gifpeer::ReadBytes(path.toStdString()));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 20);
    EXPECT_EQ(picture->height, 20);
    ASSERT_EQ(picture->frames.size(), 1u);
    const gifpeer::Frame& f = picture->frames[0];
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = 50 + x < 64 && 30 + y < 40;
            ASSERT_EQ(f.indices[size_t(y * 20 + x)], inside ? Pixel(50 + x, 30 + y) : 0) << x << "," << y;
        }
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(CinereelGifTest, FailuresGiveAMessageAndNoFile) {
    CPelmarkDoc* doc = OpenDoc(64, 40);
    Palette(doc);
    Frames(doc, {{0, 0, 30, 10, 100}, {0, 10, 60, 30, 100}});
    // A frame's block refused: no dialog, no file.
    CinereelTest::Run(34012, [&] {
        MemSetLimit(MemBytesInUse() + 1000);
        Click(14019);
        MemSetLimit(MEM_NO_LIMIT);
        Click(14013);
    });
    EXPECT_TRUE(dialogs.Requests().empty());
    // A path that cannot be created.
    dialogs.Script(dialogs::FileDialogAnswer::Ok({FilePath(QStringLiteral("no/such/dir/out.gif"))}));
    CinereelTest::Run(34012, [&] {
        Click(14019);
        Click(14013);
    });
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"输出 GIF 动画失败。", "输出 GIF 动画失败。"}));
    EXPECT_TRUE(FilesHere().isEmpty());
}

// Output over an old file: a write the file size limit cuts short keeps the
// old animation (it used to be removed); a name as long as the folder
// allows is written under that name.
TEST_F(CinereelGifTest, AFailedWriteKeepsTheOldFileAndLongNamesAreWritten) {
    CPelmarkDoc* doc = OpenDoc(64, 40);
    Palette(doc);
    Frames(doc, {{0, 0, 30, 10, 100}, {0, 10, 60, 30, 100}});
    const QString old = WriteFile("old.gif", "the old animation");
    dialogs.Script(dialogs::FileDialogAnswer::Ok({old}));
    CinereelTest::Run(34012, [&] {
        kvtest::WithFileSizeLimit(20, [&] {
            Click(14019);
            return 0;
        });
        Click(14013);
    });
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"输出 GIF 动画失败。"});
    EXPECT_EQ(ReadFile(old), QByteArray("the old animation"));
    EXPECT_EQ(FilesHere(), QStringList{"old.gif"});

    const QString longName = QString(251, u'n') + ".gif";
    dialogs.Script(dialogs::FileDialogAnswer::Ok({FilePath(longName)}));
    CinereelTest::Run(34012, [&] {
        Click(14019);
        Click(14013);
    });
    EXPECT_TRUE(ReadFile(FilePath(longName)).startsWith("GIF89a"));
    EXPECT_EQ(FilesHere(), (QStringList{longName, "old.gif"}));
}

}  // namespace
}  // namespace hosttest
