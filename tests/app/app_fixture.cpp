#include "app_fixture.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "app/open_as_new_file.h"
#include "framework/program_globals.h"
#include "app/program_paths.h"
#include "framework/document.h"

namespace apptest {

bool TestMainFrame::LoadFrame() {
    if (minimise) setWindowState(Qt::WindowMinimized);
    return CMainFrame::LoadFrame();
}

namespace {
constexpr framework::CommandId kWatchedCommands[] = {
    CPelmarkApp::kToolPaletteId, CPelmarkApp::kLinkPaletteId, CPelmarkApp::kLayerPaletteId,
    CPelmarkApp::kPositionPaletteId, CPelmarkApp::kFirstZoomId};
}  // namespace

void TestMainFrame::DeclareCommands(framework::CommandTable& table) {
    for (framework::CommandId id : kWatchedCommands) table.On(id, [] {});
    CMainFrame::DeclareCommands(table);
}

bool TestMainFrame::RouteCommand(framework::CommandRequest& request) {
    if (sent && request.kind == framework::CommandRequest::Execute &&
        std::find(std::begin(kWatchedCommands), std::end(kWatchedCommands), request.id) !=
            std::end(kWatchedCommands))
        sent->push_back(request.id);
    return CMainFrame::RouteCommand(request);
}

framework::Document* TestPelmarkApp::OpenDocumentFile(const QString& path) {
    opened.push_back(path);
    if (fakeDocument) return fakeDocument;
    return CPelmarkApp::OpenDocumentFile(path);
}

void TestPelmarkApp::SetUnderlayFromScan(MemHandle image) {
    if (underlayScanned) underlayScanned(image);
    else CPelmarkApp::SetUnderlayFromScan(image);
}

bool TestPelmarkApp::DoPromptFileName(QString& fileName, int, bool, framework::DocTemplate*) {
    if (promptAnswer.isEmpty()) return false;
    fileName = promptAnswer.front();
    if (promptAnswer.size() > 1) SetOpenedPaths(promptAnswer);
    return true;
}

TestMainFrame* TestPelmarkApp::Frame() const { return dynamic_cast<TestMainFrame*>(GetMainFrame()); }

CMainFrame* TestPelmarkApp::CreateMainFrame() {
    auto* frame = new TestMainFrame;
    frame->minimise = minimiseFrame;
    frame->sent = &frameCommands;
    return frame;
}

void AppTest::SetUp() {
    ASSERT_TRUE(runtimeDir.isValid() && configDir.isValid() && programDir.isValid() &&
                filesDir.isValid());
    runtimeEnv = std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    configEnv = std::make_unique<ScopedEnv>("XDG_CONFIG_HOME", QFile::encodeName(configDir.path()));
    savedCwd = QDir::currentPath();
    ResetProgramClipboardCopy();
    SetUndoDepth(kDefaultUndoDepth);
    SetLastOpenedPath({});
    ClearOpenedPaths();
    // The main frame does not start without its colour dictionary.
    QFile dictionary(programDir.filePath(QStringLiteral("COLOR.DIC")));
    ASSERT_TRUE(dictionary.open(QIODevice::WriteOnly));
    dictionary.write("\x1a");
}

void AppTest::TearDown() {
    app.reset();
    Flush();
    QDir::setCurrent(savedCwd);
    configEnv.reset();
    runtimeEnv.reset();
}

void AppTest::WriteIni(const QString& text) {
    QFile file(programDir.filePath(QStringLiteral("pm32.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

QString AppTest::MakeFile(const QString& name, const char* text) {
    QString path = filesDir.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (text) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    return path;
}

bool AppTest::Start(const QStringList& arguments) {
    app = std::make_unique<TestPelmarkApp>();
    app->SetProgramDirectoryOverride(programDir.path());
    app->SetCommandLine(arguments);
    if (qtTranslationsFolder) app->SetQtTranslationsFolder(*qtTranslationsFolder);
    // A still clock: a slow start-up must not let the splash time out
    // before the test looks at it.
    app->SetClock([] { return 0u; });
    return app->InitInstance();
}

void AppTest::Flush() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace apptest
