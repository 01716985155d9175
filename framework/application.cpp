#include "framework/application.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>

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

// When idle work is due. An event the program handles may change what the
// bars show: idle work is then due when the event loop is next about to
// wait. Timer ticks (the guide palette's come every 10 ms), objects coming
// and going, drawing and layout, which idle work itself brings about, and the
// events handled during idle work make nothing due, so that an editor with
// nothing to do sleeps.
class Application::IdleWatch : public QObject {
public:
    explicit IdleWatch(Application& app) : app_(app) {
        timer.setSingleShot(true);
        timer.setInterval(100);
        connect(&timer, &QTimer::timeout, this, [this] { app_.RunIdle(); });
        if (QCoreApplication* core = QCoreApplication::instance()) core->installEventFilter(this);
        if (QAbstractEventDispatcher* loop = QAbstractEventDispatcher::instance())
            connect(loop, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
                if (due && !running) app_.RunIdle();
            });
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (running || due) return false;
        switch (event->type()) {
        case QEvent::Paint:
        case QEvent::UpdateRequest:
        case QEvent::UpdateLater:
        case QEvent::LayoutRequest:
        case QEvent::Polish:
        case QEvent::PolishRequest:
        case QEvent::ChildAdded:
        case QEvent::ChildPolished:
        case QEvent::ChildRemoved:
        case QEvent::DeferredDelete:
        case QEvent::Timer:
            break;
        default:
            due = true;
            break;
        }
        return false;
    }

    QTimer timer;       // the next idle moment a handler asked for
    bool due = true;    // at the start, and after events
    bool running = false;

private:
    Application& app_;
};

Application::Application() : idle_(std::make_unique<IdleWatch>(*this)) {
    if (!theApp) theApp = this;
    ++settingsGeneration;
    appName_ = QCoreApplication::applicationName();
}

Application::~Application() {
    idle_.reset();
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
    if (!idle_ || idle_->running) return;
    idle_->running = true;
    idle_->due = false;
    idle_->timer.stop();
    bool more = false;
    for (int count = 0; count < kIdleRounds && (more = OnIdle(count)); ++count) {
    }
    idle_->running = false;
    if (more) idle_->timer.start();
}

void Application::SetIdleInterval(int ms) { idle_->timer.setInterval(ms < 1 ? 1 : ms); }

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
