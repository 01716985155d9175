#include "frame_fixture.h"

#include <QCoreApplication>
#include <QFile>

#include "framework/program_globals.h"
#include "document/image_limits.h"
#include "document/pelmark_doc.h"
#include "framework/child_frame.h"
#include "framework/doc_template.h"
#include "platform/profile.h"

namespace frametest {

framework::Document* RecordingApp::OpenDocumentFile(const QString& path) {
    opened.push_back(path);
    return CPelmarkApp::OpenDocumentFile(path);
}

CMainFrame* RecordingApp::CreateMainFrame() { return makeFrame ? makeFrame() : CPelmarkApp::CreateMainFrame(); }

void FrameTest::SetUp() {
    ASSERT_TRUE(runtimeDir.isValid() && configDir.isValid() && programDir.isValid());
    runtimeEnv = std::make_unique<kvtest::ScopedEnv>("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    configEnv = std::make_unique<kvtest::ScopedEnv>("XDG_CONFIG_HOME", QFile::encodeName(configDir.path()));
    SetLastOpenedPath({});
    SetMapToolSetting(0);
}

void FrameTest::TearDown() {
    app.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetMapToolSetting(0);
    configEnv.reset();
    runtimeEnv.reset();
}

void FrameTest::WriteIni(const QString& text) {
    QFile file(programDir.filePath(QStringLiteral("pm32.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

QString FrameTest::Ini(const QString& section, const QString& key) const {
    return QString::fromStdString(platform::ProfileReadString(
        programDir.filePath(QStringLiteral("pm32.ini")).toStdString(), section.toStdString(),
        key.toStdString(), "<none>"));
}

bool FrameTest::Start(const char* dictionary) {
    if (dictionary) {
        QFile file(programDir.filePath(QStringLiteral("COLOR.DIC")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(dictionary);
    }
    // The settings file lives in the program directory.
    QFile ini(programDir.filePath(QStringLiteral("pm32.ini")));
    if (!ini.exists()) {
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.close();
    }
    app = std::make_unique<RecordingApp>();
    app->makeFrame = makeFrame;
    app->SetProgramDirectoryOverride(programDir.path());
    app->SetCommandLine({QStringLiteral("-e")});
    return app->InitInstance();
}

CMainFrame* FrameTest::Frame() const { return app ? dynamic_cast<CMainFrame*>(app->GetMainFrame()) : nullptr; }

CPelmarkDoc* FrameTest::NewDocument(const QString& path) {
    framework::DocTemplate* docTemplate = app->DocTemplates().front().get();
    auto* doc = dynamic_cast<CPelmarkDoc*>(docTemplate->CreateNewDocument());
    if (!doc) return nullptr;
    if (!path.isEmpty()) doc->SetPathName(path, false);
    framework::ChildFrame* child = docTemplate->CreateNewFrame(doc);
    if (child) docTemplate->InitialUpdateFrame(child, doc, true);
    return doc;
}

std::vector<std::string> FrameTest::BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& r : boxes.Requests()) texts.push_back(r.text);
    return texts;
}

}  // namespace frametest
