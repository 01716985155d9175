#include "framework/application.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>

#include "framework/child_frame.h"
#include "framework/doc_template.h"
#include "framework/document.h"
#include "framework/framework_strings.h"
#include "framework/mdi_frame.h"
#include "framework/view.h"
#include "platform/message_box.h"
#include "platform/profile.h"

namespace framework {

namespace {

Application* theApp = nullptr;
unsigned settingsGeneration = 0;

constexpr int kIdleRounds = 8;  // OnIdle calls at most per idle moment

std::string utf8(const QString& text) { return text.toStdString(); }

}  // namespace

Application::Application() {
    if (!theApp) theApp = this;
    ++settingsGeneration;
    appName_ = QCoreApplication::applicationName();
    idleTimer_.setInterval(100);
    QObject::connect(&idleTimer_, &QTimer::timeout, [this] { RunIdle(); });
    idleTimer_.start();
}

Application::~Application() {
    idleTimer_.stop();
    CloseAllDocuments();
    delete mainFrame_.data();
    templates_.clear();
    // Frames taken down by deleteLater go now, not after the application.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (theApp == this) theApp = nullptr;
}

Application* Application::Instance() { return theApp; }

unsigned Application::SettingsGeneration() { return settingsGeneration; }

void Application::SetProfileFile(const QString& path) {
    profileFile_ = path;
    ++settingsGeneration;
}

bool Application::InitInstance() { return true; }

int Application::ExitInstance() {
    SaveStdProfileSettings();
    return 0;
}

bool Application::OnIdle(int count) {
    if (count == 0)
        if (MdiFrame* frame = GetMainFrame()) frame->OnIdleUpdateCmdUI();
    return false;
}

int Application::Run() {
    if (!InitInstance()) {
        ExitInstance();
        return 1;
    }
    int result = QApplication::exec();
    int exitCode = ExitInstance();
    return result != 0 ? result : exitCode;
}

void Application::RunIdle() {
    for (int count = 0; count < kIdleRounds; ++count)
        if (!OnIdle(count)) break;
}

void Application::SetIdleInterval(int ms) { idleTimer_.setInterval(ms < 1 ? 1 : ms); }

void Application::SetMainFrame(MdiFrame* frame) {
    if (mainFrame_ && mainFrame_.data() != frame) delete mainFrame_.data();
    mainFrame_ = frame;
}

MdiFrame* Application::GetMainFrame() const { return mainFrame_.data(); }

DocTemplate* Application::AddDocTemplate(std::unique_ptr<DocTemplate> docTemplate) {
    if (!docTemplate) return nullptr;
    templates_.push_back(std::move(docTemplate));
    return templates_.back().get();
}

std::vector<Document*> Application::Documents() const {
    std::vector<Document*> all;
    for (const auto& t : templates_) all.insert(all.end(), t->Documents().begin(), t->Documents().end());
    return all;
}

void Application::OnFileNew() {
    if (templates_.empty()) {
        MdiFrame* frame = GetMainFrame();
        ShowMessageBox(frame ? frame->WindowHandle() : nullptr,
                       FrameworkString(IDS_FAILED_TO_CREATE_DOC).toUtf8().constData(),
                       appName_.toUtf8().constData(), MB_BTN_OK | MB_ICON_WARNING);
        return;
    }
    templates_.front()->OpenDocumentFile({});
}

void Application::OnFileOpen() {
    QString name;
    if (!DoPromptFileName(name, IDS_OPEN_TITLE, true, nullptr) || name.isEmpty()) return;
    OpenDocumentFile(name);
}

void Application::OnAppExit() {
    if (MdiFrame* frame = GetMainFrame()) frame->close();
}

Document* Application::OpenDocumentFile(const QString& path) {
    if (path.isEmpty()) return nullptr;
    QString full = AbsoluteFilePath(path);
    for (const auto& t : templates_) {
        if (Document* open = t->FindOpenDocument(full)) {
            std::vector<ChildFrame*> frames = open->GetFrames();
            if (!frames.empty()) frames.front()->ActivateFrame();
            return open;
        }
    }
    DocTemplate* chosen = nullptr;
    for (const auto& t : templates_)
        if (t->MatchesPath(full)) {
            chosen = t.get();
            break;
        }
    if (!chosen && !templates_.empty()) chosen = templates_.front().get();
    if (!chosen) {
        MdiFrame* frame = GetMainFrame();
        ShowMessageBox(frame ? frame->WindowHandle() : nullptr,
                       FrameworkString(IDS_FAILED_TO_CREATE_DOC).toUtf8().constData(),
                       appName_.toUtf8().constData(), MB_BTN_OK | MB_ICON_WARNING);
        return nullptr;
    }
    return chosen->OpenDocumentFile(full);
}

Document* Application::OpenDocumentByName(const QString& path) { return OpenDocumentFile(path); }

Document* Application::ReopenDocument(const QString& path) {
    if (MdiFrame* frame = GetMainFrame()) frame->SendCommand(ID_FILE_CLOSE);
    return OpenDocumentByName(path);
}

bool Application::DoPromptFileName(QString&, int, bool, DocTemplate*) { return false; }

bool Application::SaveAllModified() {
    for (const auto& t : templates_)
        if (!t->SaveAllModified()) return false;
    return true;
}

void Application::CloseAllDocuments() {
    for (const auto& t : templates_) t->CloseAllDocuments();
}

int Application::GetProfileInt(const QString& section, const QString& key, int def) const {
    if (profileFile_.isEmpty()) return def;
    return platform::ProfileReadInt(utf8(profileFile_), utf8(section), utf8(key), def);
}

QString Application::GetProfileString(const QString& section, const QString& key,
                                      const QString& def) const {
    if (profileFile_.isEmpty()) return def;
    return QString::fromStdString(
        platform::ProfileReadString(utf8(profileFile_), utf8(section), utf8(key), utf8(def)));
}

bool Application::WriteProfileInt(const QString& section, const QString& key, int value) const {
    if (profileFile_.isEmpty()) return false;
    return platform::ProfileWriteInt(utf8(profileFile_), utf8(section), utf8(key), value);
}

bool Application::WriteProfileString(const QString& section, const QString& key,
                                     const QString& value) const {
    if (profileFile_.isEmpty()) return false;
    std::string k = utf8(key), v = utf8(value);
    return platform::ProfileWriteString(utf8(profileFile_), utf8(section), k.c_str(), v.c_str());
}

bool Application::DeleteProfileKey(const QString& section, const QString& key) const {
    if (profileFile_.isEmpty()) return false;
    std::string k = utf8(key);
    return platform::ProfileWriteString(utf8(profileFile_), utf8(section), k.c_str(), nullptr);
}

bool Application::DeleteProfileSection(const QString& section) const {
    if (profileFile_.isEmpty()) return false;
    return platform::ProfileWriteString(utf8(profileFile_), utf8(section), nullptr, nullptr);
}

void Application::LoadStdProfileSettings(int maxRecentFiles) {
    recent_ = std::make_unique<RecentFileList>(QStringLiteral("Recent File List"), maxRecentFiles);
    recent_->Read(profileFile_);
}

void Application::SaveStdProfileSettings() {
    if (recent_) recent_->Write(profileFile_);
}

void Application::AddToRecentFileList(const QString& path) {
    if (recent_) recent_->Add(path);
}

void Application::DeclareCommands(CommandTable& table) {
    table.On(ID_FILE_NEW, [this] { OnFileNew(); })
        .On(ID_FILE_OPEN, [this] { OnFileOpen(); })
        .On(ID_APP_EXIT, [this] { OnAppExit(); });
}

}  // namespace framework
