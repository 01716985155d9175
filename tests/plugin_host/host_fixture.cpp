#include "host_fixture.h"

#include <cstring>

#include <QDir>
#include <QFile>

#include "framework/program_globals.h"
#include "document/layer_factory.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"

namespace hosttest {

std::unique_ptr<framework::Application> HostTest::MakeApplication() {
    return std::make_unique<framework::Application>();
}

void HostTest::SetUp() {
    app = MakeApplication();
    app->SetAppName("Kavolt");
    app->SetProfileFile(programDir.filePath("pm32.ini"));
    frame = new CMainFrame;
    app->SetMainFrame(frame);
    SetProgramDirectory(ProgramDir());
    blocksAtStart = MemBlockCount();
}

void HostTest::TearDown() {
    app.reset();
    SetProgramDirectory({});
    SetOpenedPaths({});
    SetLastOpenedPath({});
}

QString HostTest::ProgramDir() const { return programDir.path() + '/'; }

void HostTest::UsePlugins(const QStringList& names) {
    for (const QString& entry : names) {
        QString built = entry.section('=', 0, 0);
        QString name = entry.contains('=') ? entry.section('=', 1, 1) : built;
        ASSERT_TRUE(QFile::link(QStringLiteral(KVT_PLUGIN_DIR "/") + built, ProgramDir() + name))
            << name.toStdString();
    }
}

QString HostTest::WriteFile(const QString& name, const QByteArray& contents) {
    QString path = FilePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
    return path;
}

QByteArray HostTest::ReadFile(const QString& path) const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList HostTest::FilesHere() const {
    return QDir(filesDir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QString HostTest::FilePath(const QString& name) const { return filesDir.filePath(name); }

std::unique_ptr<CPelmarkDoc> HostTest::DocumentWithImage(int width, int height, int pixel) {
    auto doc = std::make_unique<CPelmarkDoc>();
    doc->m_hImage = CreateDib8(width, height, 0);
    {
        dib::LockedDib image(doc->m_hImage);
        std::memset(image.bits(), pixel, image.geo().PaddedRow() * size_t(height));
    }
    EXPECT_TRUE(doc->InitDib());
    EXPECT_TRUE(document::CreateLayer(*doc, 0, 1));
    return doc;
}

std::vector<std::string> HostTest::BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& r : boxes.Requests()) texts.push_back(r.text);
    return texts;
}

}  // namespace hosttest
