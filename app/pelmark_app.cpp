#include "app/pelmark_app.h"

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QObject>
#include <QTranslator>

#include "framework/program_globals.h"
#include "app/program_paths.h"
#include "app/qt_translation.h"
#include "app/single_instance.h"
#include "dialogs/settings_store.h"
#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "framework/doc_template.h"
#include "imaging/color_reducer.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "plugin_host/filter_plugins.h"
#include "view/child_frame.h"
#include "view/pelmark_view.h"
#include "view/view_globals.h"

namespace {

constexpr int kDocTemplateId = 129;
constexpr int kRecentFiles = 4;
// How long a later start waits for the running editor to take its files.
constexpr int kHandOverWaitMs = 2000;
const QString kSettings = QStringLiteral("Settings");

}  // namespace

// Hands every event of the program to PreTranslateMessage.
class CPelmarkApp::EventFilter : public QObject {
public:
    explicit EventFilter(CPelmarkApp* app) : app_(app) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        return app_->PreTranslateMessage(watched, event);
    }

private:
    CPelmarkApp* app_;
};

CPelmarkApp::CPelmarkApp() {
    SetAppName(QStringLiteral("Kavolt"));
    eventFilter_ = std::make_unique<EventFilter>(this);
    if (QCoreApplication* qt = QCoreApplication::instance()) qt->installEventFilter(eventFilter_.get());
}

CPelmarkApp::~CPelmarkApp() {
    if (QCoreApplication* qt = QCoreApplication::instance()) qt->removeEventFilter(eventFilter_.get());
    splash_.Close();
}

CPelmarkApp* CPelmarkApp::Get() { return dynamic_cast<CPelmarkApp*>(Application::Instance()); }

void CPelmarkApp::reportFailedHandOver(const QStringList& files) {
    // The running editor did not take the files (it is stopped or hangs):
    // nothing is opened, and the user hears of it here and on stderr.
    QString text = QStringLiteral("正在运行的 %1 没有响应。").arg(AppName());
    if (!files.isEmpty()) text += QStringLiteral("\n以下文件没有打开：\n") + files.join(u'\n');
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    ShowMessageBox(nullptr, text.toUtf8().constData(), AppName().toUtf8().constData(),
                   MB_BTN_OK | MB_ICON_ERROR);
}

void CPelmarkApp::SetCommandLine(const QStringList& arguments) { arguments_ = arguments; }

void CPelmarkApp::SetProgramDirectoryOverride(const QString& directory) {
    programDirectory_ = directory;
}

void CPelmarkApp::SetQtTranslationsFolder(const QString& folder) { qtTranslationsFolder_ = folder; }

void CPelmarkApp::SetClock(std::function<uint32_t()> clock) { splash_.SetClock(std::move(clock)); }

CMainFrame* CPelmarkApp::CreateMainFrame() { return new CMainFrame; }

CMainFrame* CPelmarkApp::mainFrame() const { return dynamic_cast<CMainFrame*>(GetMainFrame()); }

bool CPelmarkApp::InitInstance() {
    QStringList arguments = arguments_ ? *arguments_ : QCoreApplication::arguments().mid(1);
    commandLine_ = ParseStartupArguments(arguments, QDir::currentPath());
    for (const QString& argument : arguments)
        if (!argument.isEmpty()) {
            firstArgumentHasDirectory_ = argument.contains(u'/');
            break;
        }

    // One instance per user: a later one hands its files to the first and ends.
    QString exeName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    if (exeName.isEmpty()) exeName = QStringLiteral("kavolt");
    instance_ = std::make_unique<SingleInstance>(exeName);
    if (!instance_->Acquire()) {
        secondInstance_ = true;
        const QStringList files =
            commandLine_.kind == StartupCommandLine::Files ? commandLine_.files : QStringList{};
        handOverFailed_ = !instance_->HandOver(files, kHandOverWaitMs);
        if (handOverFailed_) reportFailedHandOver(files);
        return false;
    }
    instance_->SetReceiver([this](const QStringList& files) { receiveHandOver(files); });

    // Qt's own buttons and dialogs speak the program's language when its
    // translation is installed.
    qtTranslator_ = InstallQtTranslation(qtTranslationsFolder_ ? *qtTranslationsFolder_ : QtTranslationsFolder());

    // Program directory and settings file.
    QString programDir = WithTrailingSlash(
        programDirectory_ ? *programDirectory_ : QString::fromStdString(platform::ProgramDirectory()));
    SetProgramDirectory(programDir);
    SetProfileFile(SettingsFilePath(programDir,
                                    QString::fromStdString(platform::SettingsFallbackDirectory())));
    LoadStdProfileSettings(kRecentFiles);

    // Pictures of more than 256 colours are reduced by the program's reducer,
    // which reports on the main frame's message pane.
    InstallExchangeColorReducer();
    SetColorReduceStatusSink([](const char* text) {
        if (CMainFrame* frame = CMainFrame::Get()) frame->SetPaneText(1, 0, QString::fromUtf8(text));
    });

    // Document template and main frame.
    AddDocTemplate(framework::DocTemplate::Create<CPelmarkDoc, CChildFrame, CPelmarkView>(kDocTemplateId));
    CMainFrame* frame = CreateMainFrame();
    if (!frame) return false;
    SetMainFrame(frame);
    // The filter menu is built at the first paint of any view.
    view::SetFirstPaintHook(plugin_host::BuildFilterMenu);
    if (!frame->LoadFrame()) {
        SetMainFrame(nullptr);
        return false;
    }
    if (frame->windowTitle().isEmpty()) frame->setWindowTitle(AppName());
    if (!frame->isVisible()) {
        if (!frame->testAttribute(Qt::WA_Resized)) frame->resize(1024, 768);
        frame->show();
    }

    // The splash window, only for a plain start.
    if (!frame->isMinimized() && commandLine_.kind == StartupCommandLine::Empty) splash_.Show(frame);

    frame->DragAcceptFiles(true);

    SetUndoDepth(GetProfileInt(kSettings, QStringLiteral("UndoBuf"), kDefaultUndoDepth));
    QString lastDir = GetProfileString(kSettings, QStringLiteral("LastDir"));
    // The settings dialog's preferences and grid presets; the preset menu
    // shows its four items from the first start.
    frame->SetGridMenuRefresher([this] { RebuildGridPresetMenu(); });
    LoadSettings();
    bool reopenPreviousRun = GetGeneralSettings().reopenFiles != 0;

    setCurrentDirectoryAtStart(lastDir);

    // Palettes shown by their settings.
    const std::pair<const char*, framework::CommandId> palettes[] = {
        {"DispToolPalette", kToolPaletteId},
        {"DispToolRecPalette", kLinkPaletteId},
        {"DispLayerPalette", kLayerPaletteId},
        {"DispPosPalette", kPositionPaletteId},
    };
    for (const auto& [key, id] : palettes)
        if (GetProfileInt(kSettings, QString::fromLatin1(key), 1) != 0) frame->SendCommand(id);

    openStartupFiles(reopenPreviousRun);

    frame->update();
    // The scanner library; without it the scanner commands stay disabled.
    m_twain.Load();
    started_ = true;
    if (!pendingHandOvers_.empty()) {
        std::vector<QStringList> pending;
        pending.swap(pendingHandOvers_);
        for (const QStringList& files : pending) receiveHandOver(files);
    }
    return true;
}

void CPelmarkApp::setCurrentDirectoryAtStart(const QString& lastDir) {
    QString dir;
    if (commandLine_.kind == StartupCommandLine::Empty) {
        dir = lastDir;
    } else if (commandLine_.kind == StartupCommandLine::Files && firstArgumentHasDirectory_) {
        // The directory the first file was given with (the files are
        // absolute already, so the others do not move).
        dir = QFileInfo(commandLine_.files.front()).absolutePath();
    }
    if (!dir.isEmpty() && QFileInfo(dir).isDir()) QDir::setCurrent(dir);
}

int CPelmarkApp::ExitInstance() {
    splash_.Close();
    m_twain.Unload();
    return Application::ExitInstance();
}

bool CPelmarkApp::OnIdle(int count) {
    CMainFrame* frame = mainFrame();
    if (count == 0 && frame) {
        // A floating tool window does not keep the activation, unless the
        // user is typing into one of its edits (its length, its angle):
        // the keys would go to the canvas instead.
        QWidget* active = QApplication::activeWindow();
        QWidget* focus = QApplication::focusWidget();
        const bool typing = focus && focus->window() == active &&
                            focus->testAttribute(Qt::WA_InputMethodEnabled);
        if (active && active != frame && active->windowType() == Qt::Tool &&
            active->parentWidget() && active->parentWidget()->window() == frame && !typing &&
            !QWidget::mouseGrabber() && !QApplication::activeModalWidget() &&
            !QApplication::activePopupWidget())
            frame->activateWindow();
    }
    bool more = Application::OnIdle(count);
    if (splash_.IsOpen()) {
        if (splash_.Expired()) {
            splash_.Close();
            if (frame) frame->update();
        } else {
            more = true;
        }
    }
    return more;
}

bool CPelmarkApp::PreTranslateMessage(QObject*, QEvent* event) {
    // While a scanner source is enabled its events come first.
    if (m_twain.IsSourceEnabled() && m_twain.ProcessEvent(mainFrame(), event)) {
        if (m_twain.TakeBringToFront()) BringMainWindowToFront();
        if (!m_twain.IsSourceEnabled()) frontScannedDocument();
        return true;
    }
    if (!splash_.IsOpen()) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::KeyPress:
        splash_.Close();
        if (CMainFrame* frame = mainFrame()) frame->update();
        break;
    default:
        break;
    }
    return false;
}
