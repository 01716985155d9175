// Opening documents: File New and Open, the start-up files, the files a
// later instance hands over.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/pelmark_app.h"
#include "framework/program_globals.h"
#include "frame/main_frame.h"
#include "framework/document.h"
#include "framework/support_file_dialog.h"
#include "framework/framework_strings.h"
#include "plugin_host/file_prompt.h"

namespace {

const QString kNextOpenFileList = QStringLiteral("Next Open File List");
constexpr int kOrdinaryEditProbe = 1;
constexpr int kOpenProbe = 0;

bool canOpenForReading(const QString& path) {
    if (!QFileInfo(path).isFile()) return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

}  // namespace

void CPelmarkApp::OnFileNew() {
    CMainFrame* frame = mainFrame();
    if (frame && !frame->CheckWorkMemory(kOrdinaryEditProbe)) return;
    Application::OnFileNew();
}

void CPelmarkApp::OnFileOpen() {
    ClearOpenedPaths();
    QString name;
    if (!DoPromptFileName(name, framework::IDS_OPEN_TITLE, true, nullptr)) return;
    // A prompt with several files selected lists them in the opened-paths table.
    QStringList paths = GetOpenedPaths();
    ClearOpenedPaths();
    if (paths.isEmpty() && !name.isEmpty()) paths.push_back(name);
    for (const QString& path : paths) OpenDocumentByName(path);
}

bool CPelmarkApp::DoPromptFileName(QString& fileName, int titleId, bool open,
                                   framework::DocTemplate* docTemplate) {
    unsigned flags = open ? dialogs::OFN_FILEMUSTEXIST : dialogs::OFN_PATHMUSTEXIST;
    return plugin_host::DoPromptFileName(fileName, titleId, flags, open, docTemplate, false);
}

framework::Document* CPelmarkApp::OpenDocumentByName(const QString& path) {
    framework::Document* doc = OpenDocumentFile(path);
    if (doc) SetLastOpenedPath(framework::AbsoluteFilePath(path));
    return doc;
}

void CPelmarkApp::BringMainWindowToFront() {
    CMainFrame* frame = mainFrame();
    if (!frame) return;
    if (frame->isMinimized()) frame->setWindowState(frame->windowState() & ~Qt::WindowMinimized);
    frame->show();
    frame->raise();
    frame->activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

void CPelmarkApp::openStartupFiles(bool reopenPreviousRun) {
    switch (commandLine_.kind) {
    case StartupCommandLine::Empty:
        if (reopenPreviousRun) this->reopenPreviousRun();
        break;
    case StartupCommandLine::NoOpen:
        break;
    case StartupCommandLine::Files:
        for (const QString& path : commandLine_.files) openStartupDocument(path);
        break;
    }
}

void CPelmarkApp::reopenPreviousRun() {
    bool listed = false;
    for (int i = 1;; ++i) {
        QString path = GetProfileString(kNextOpenFileList, QStringLiteral("File%1").arg(i));
        if (path.isEmpty()) break;
        listed = true;
        // The list holds whole paths; a bare name is an untitled document
        // an older run listed, not a file of the current folder.
        if (QDir::isAbsolutePath(path) && canOpenForReading(path)) openStartupDocument(path);
    }
    if (listed) splash_.Close();
}

void CPelmarkApp::openStartupDocument(const QString& path) {
    CMainFrame* frame = mainFrame();
    if (frame && !frame->CheckWorkMemory(kOpenProbe)) return;
    OpenDocumentByName(path);
}

void CPelmarkApp::receiveHandOver(const QStringList& files) {
    if (!started_) {
        pendingHandOvers_.push_back(files);
        return;
    }
    BringMainWindowToFront();
    for (const QString& path : files) OpenDocumentByName(path);
}
