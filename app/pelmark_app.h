// The editor's application object.
//
// Start-up (InitInstance): single instance, program directory and settings
// file, the document template and the main frame, the splash window, the
// settings of this object and the documents of the command line or of the
// previous run. It also owns the application's commands: File New and Open,
// About, help, open the clipboard picture as a new file, and the menu items
// that the settings dialog (grid presets) and the filter host add.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QPointer>
#include <QString>
#include <QStringList>

#include "app/command_line.h"
#include "app/splash_control.h"
#include "framework/application.h"
#include "framework/child_frame.h"
#include "platform/memory.h"
#include "plugin_host/filter_plugins.h"
#include "twain/twain_source.h"

class CMainFrame;
class CPelmarkDoc;
class QEvent;
class QMenu;
class QObject;
class QTranslator;
class SingleInstance;

namespace framework {
class CmdUI;
class Document;
}  // namespace framework

class CPelmarkApp : public framework::Application, public plugin_host::FilterMenu {
public:
    // Command ids of the application's table (File New, Open and About are
    // the framework's).
    static constexpr framework::CommandId kHelpSearchId = 57667;
    static constexpr framework::CommandId kHelpContextId = 57669;
    static constexpr framework::CommandId kHelpId = 57670;
    static constexpr framework::CommandId kOpenAsNewFileId = 34010;
    // Scanner commands of the File menu and the underlay's scanner command.
    static constexpr framework::CommandId kTwainAcquireId = 32918;
    static constexpr framework::CommandId kTwainSelectSourceId = 32919;
    static constexpr framework::CommandId kUnderlayTwainId = 32932;
    static constexpr framework::CommandId kFirstZoomId = 34002;
    // Commands sent to the main frame at start by the Disp... settings.
    static constexpr framework::CommandId kToolPaletteId = 502;
    static constexpr framework::CommandId kLinkPaletteId = 32776;
    static constexpr framework::CommandId kLayerPaletteId = 32882;
    static constexpr framework::CommandId kPositionPaletteId = 32922;
    // Menu items added at run time.
    static constexpr framework::CommandId kFirstGridPresetId = 32884;
    static constexpr int kGridPresets = 4;
    static constexpr framework::CommandId kFilterMenuBaseId = 2000;
    // Top-level menus (from 0) that hold those items.
    static constexpr int kFilterMenuIndex = 4;
    static constexpr int kGridPresetMenuIndex = 5;

    CPelmarkApp();
    ~CPelmarkApp() override;

    // The application object, or null.
    static CPelmarkApp* Get();

    // Inputs of the start-up; set before InitInstance. The defaults are the
    // process's arguments (without the program name) and the executable's
    // directory.
    void SetCommandLine(const QStringList& arguments);
    void SetProgramDirectoryOverride(const QString& directory);
    // The folder Qt's own translation is read from (default: Qt's
    // installed translations).
    void SetQtTranslationsFolder(const QString& folder);
    // The clock of the splash window (default: the system's tick count).
    void SetClock(std::function<uint32_t()> clock);

    bool InitInstance() override;
    int ExitInstance() override;
    // Count 0: the floating tool windows give the activation back to the
    // main frame. While the splash window is open it is closed once its time
    // is up; until then the answer is true so that idle calls go on.
    bool OnIdle(int count) override;
    // Sees every event of the program before its receiver (an event filter
    // on the application): while the splash window is open a mouse button
    // press (on a window or its frame) or a key press closes it. The event
    // goes on as usual (always false).
    bool PreTranslateMessage(QObject* receiver, QEvent* event);

    // True after InitInstance found another instance running and handed its
    // arguments over (the program then ends with status 0).
    bool IsSecondInstance() const { return secondInstance_; }
    // True when the running instance did not take the arguments in time
    // (the user has been told; the program then ends with status 1).
    bool HandOverFailed() const { return handOverFailed_; }
    SingleInstance* GetSingleInstance() const { return instance_.get(); }
    // The start-up command line as InitInstance read it.
    const StartupCommandLine& GetStartupCommandLine() const { return commandLine_; }
    // True when InitInstance found Qt's Chinese translation and installed it
    // (without it the program starts all the same).
    bool HasQtTranslation() const { return qtTranslator_ != nullptr; }

    // File New after the work-memory probe; File Open through the open
    // prompt, each chosen path in the order of the selection.
    void OnFileNew() override;
    void OnFileOpen() override;
    // The document prompts through the file-format plug-ins (open: several
    // files may be chosen, the opened-paths table lists them).
    bool DoPromptFileName(QString& fileName, int titleId, bool open,
                          framework::DocTemplate* docTemplate) override;
    // Opens the path and records it as the last opened path.
    framework::Document* OpenDocumentByName(const QString& path) override;
    // Restores the main window when minimised, raises and activates it.
    void BringMainWindowToFront();

    // Grid preset items (ids 32884 + index, index 0..3) of the sixth menu.
    void AddGridPresetMenuItem(int index, const QString& text);
    void RemoveGridPresetMenuItems();
    // The four preset items again, with the presets' cell sizes.
    void RebuildGridPresetMenu();
    // Filter items of the fifth menu: each takes the id 2000 + the counter,
    // which starts at 1 and goes up by one (at most 99 items). Removing takes
    // away the filter items and, the first time, the menu's placeholder item,
    // and starts the counter again at 1.
    void AddFilterMenuItem(const QString& text) override;
    void RemoveFilterMenuItems() override;
    int GetFilterMenuCounter() const { return filterMenuCounter_; }

    // Edit > open as new file (34010).
    void OnOpenAsNewFile();
    // Help: the help page of the program directory.
    void OnHtmlHelp();
    void OnAppAbout();

    // Scanner services. A scanned picture becomes a new document; takes
    // ownership of `image`.
    void OnScanAsNewFile(MemHandle image);
    // The picture resampled to 24 bits at the active document's size (the
    // source is then freed); unchanged without an active document or when
    // resampling fails.
    MemHandle ScaleToActiveImage(MemHandle image);
    // Gives a scanned picture to the active document as its underlay and
    // brings the main window to the front; takes ownership of `image`.
    virtual void SetUnderlayFromScan(MemHandle image);
    // A new picture of the active document's size with the picture's pixel
    // format and colour table, the picture copied in at 0, 0 and clipped;
    // the picture is freed. Null (picture kept) without an active document
    // or when the new block cannot be had.
    MemHandle ConvertAcquiredImage(MemHandle picture);

    // The scanner commands: choose the source (32919), scan a new document
    // (32918), scan an underlay for the active document (32932).
    void OnTwainSelectSource();
    void OnTwainAcquire();
    void TwainAcquireUnderlay();
    // Transfer callbacks; each takes ownership of the DIB. The import
    // reduces a picture of more than 256 colours (after "减色开始。") and
    // makes a new document of it; the underlay one gives it to
    // SetUnderlayFromScan.
    static void TwainImportCallback(MemHandle dib, intptr_t value1, intptr_t value2);
    static void TwainUnderlayCallback(MemHandle dib, intptr_t value1, intptr_t value2);
    // True once a scan has arrived.
    bool ScanArrived() const { return scanArrived_; }

    // The scanner connection: bound at the end of start-up, freed at exit.
    twain::CTwainSource m_twain;

    // The splash window.
    SplashControl& Splash() { return splash_; }

protected:
    // The main frame InitInstance makes (tests give their own).
    virtual CMainFrame* CreateMainFrame();
    void DeclareCommands(framework::CommandTable& table) override;

private:
    class EventFilter;

    CMainFrame* mainFrame() const;
    CPelmarkDoc* activeDocument() const;
    QMenu* topLevelMenu(int index) const;
    // A new document for a picture (the new-from-data flag set around its
    // creation); it takes `image`, which is freed when no document is made.
    CPelmarkDoc* newDocumentFromImage(MemHandle image);
    void onUpdateOpenAsNewFile(framework::CmdUI& ui);
    void onUpdateTwain(framework::CmdUI& ui);
    void onUpdateUnderlayTwain(framework::CmdUI& ui);
    // The answer of a scan's message box, owned by the source's window
    // while that keeps the main window disabled.
    int scanMessage(const char* text, unsigned type);
    void openStartupFiles(bool reopenPreviousRun);
    void reopenPreviousRun();
    void openStartupDocument(const QString& path);
    void receiveHandOver(const QStringList& files);
    void reportFailedHandOver(const QStringList& files);
    // The scanned document's window to the front, the main window active.
    void frontScannedDocument();
    void setCurrentDirectoryAtStart(const QString& lastDir);

    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<EventFilter> eventFilter_;
    SplashControl splash_;
    std::optional<QStringList> arguments_;
    std::optional<QString> programDirectory_;
    std::optional<QString> qtTranslationsFolder_;
    std::unique_ptr<QTranslator> qtTranslator_;
    StartupCommandLine commandLine_;
    bool firstArgumentHasDirectory_ = false;
    bool secondInstance_ = false;
    bool handOverFailed_ = false;
    bool started_ = false;
    bool scanArrived_ = false;
    // The document window a scan made or changed: active once the source
    // window has gone and the main window is enabled again.
    QPointer<framework::ChildFrame> scannedFrame_;
    std::vector<QStringList> pendingHandOvers_;
    int filterMenuCounter_ = 1;
    bool filterPlaceholderRemoved_ = false;
};
