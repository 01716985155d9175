// The multiple-document main frame: a QMainWindow around a QMdiArea with the
// menu bar built from a table, accelerators, the status bar and registered
// control bars. Commands go to the active child frame (its view, the view's
// document, the frame), then to the main frame, then to the application.
//
// Commands of its table: window new/cascade/tile/arrange, next and previous
// window (ID_NEXT_PANE, ID_PREV_PANE), and the control bar range (a bar registered under an id is toggled by that command and
// checked while visible; the status bar is ID_VIEW_STATUS_BAR). The keys of
// a document window are the frame's: Ctrl+F4 closes the active child,
// Ctrl+F6 and Ctrl+Shift+F6 go to the next and the previous one; the child
// windows' own menu keys (Ctrl+W among them) are taken away, so that they
// never clash with the frame's accelerators.
#pragma once

#include <map>
#include <vector>

#include <QMainWindow>
#include <QPointer>

#include "framework/command.h"
#include "framework/command_action.h"
#include "framework/menu_builder.h"
#include "framework/window_handle.h"
#include "framework/window_timer.h"

class QMdiArea;
class QMdiSubWindow;
class QShortcut;

namespace framework {

class ChildFrame;
class Document;
class View;

class MdiFrame : public QMainWindow, public CommandTarget, public MessageWindow,
                 public TimerOwner {
    Q_OBJECT
public:
    explicit MdiFrame(QWidget* parent = nullptr);
    ~MdiFrame() override;

    QMdiArea* MdiArea() const { return area_; }

    // The active child frame (kept while a tool window has the activation),
    // its view and the view's document; null when no child is open.
    ChildFrame* MDIGetActive() const;
    View* GetActiveView() const;
    Document* GetActiveDocument() const;
    // Every child frame that is not being destroyed, in creation order.
    std::vector<ChildFrame*> ChildFrames() const;

    void AddChildFrame(ChildFrame* frame);
    void MDIActivate(ChildFrame* frame);
    void MDICascade();
    // Horizontal: one above the other; vertical: side by side.
    void MDITile(bool horizontal);
    // Lines the minimised children up along the bottom edge.
    void MDIIconArrange();
    // Activates the next (previous) child in creation order, round the end.
    void MDINext();
    void MDIPrev();

    // Runs a command now, as an accelerator does (disabled commands are
    // dropped); true when a handler ran.
    bool SendCommand(CommandId id) { return ExecuteCommand(id); }
    // Runs the command from the event loop, as a menu item does.
    void PostCommand(CommandId id);

    // Menus and toolbars built with these hooks post their commands to this
    // frame and refresh their items before a popup opens.
    CommandHooks Hooks();
    // Builds the menu bar from the table and takes its accelerator texts
    // into the accelerator table. The window menu becomes the last popup
    // that holds a window command (cascade, tile, arrange, new window).
    void LoadMenuBar(const std::vector<MenuItem>& menu);
    // Adds key bindings that work in every window of the program (the first
    // binding of a key sequence wins). Disabled commands are not run.
    void AddAccelerators(const std::vector<Accelerator>& accelerators);
    void ClearAccelerators();
    // The menu that lists the open child windows: "&1 title", ... after a
    // separator, rebuilt each time it opens, the active one checked.
    void SetWindowMenu(QMenu* menu);
    QMenu* WindowMenu() const;

    // Refreshes every command action shown outside menus (toolbars, bars,
    // tool windows); the application calls it when idle.
    virtual void OnIdleUpdateCmdUI();
    // Refreshes the items of one menu.
    void UpdateMenu(QMenu* menu);

    void RegisterControlBar(CommandId id, QWidget* bar);
    QWidget* GetControlBar(CommandId id) const;
    void SetMessageText(const QString& text);

    // Files dropped on the frame are opened (OnDropFiles) once this is on.
    void DragAcceptFiles(bool accept = true) { setAcceptDrops(accept); }

    // A close request. The default (for the application's main frame): every
    // modified document is asked about (Cancel keeps everything open), then
    // every document is closed. False refuses the close.
    virtual bool OnClose();

    bool RouteCommand(CommandRequest& request) override;

protected:
    void DeclareCommands(CommandTable& table) override;
    void closeEvent(QCloseEvent* event) override;
    // Files dropped on the frame; the default brings the frame to the front
    // and opens each through the application.
    virtual void OnDropFiles(const QStringList& paths);
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class ChildFrame;
    // Accepts a drop of local files as a copy; false (ignored) otherwise.
    static bool acceptFileDrop(QDropEvent* event);
    void onSubWindowActivated(QMdiSubWindow* window);
    void setActiveChild(ChildFrame* frame);
    void childGoing(ChildFrame* frame);
    void fillWindowMenu(QMenu* menu);
    void stepChild(int step);
    void closeActiveChild();
    void toggleControlBar(CommandId id);
    void updateControlBar(CmdUI& ui);
    void newWindow();

    QMdiArea* area_;
    QPointer<ChildFrame> active_;
    std::vector<QPointer<ChildFrame>> children_;
    QPointer<QMenu> windowMenu_;
    std::vector<QPointer<QAction>> windowListActions_;
    std::vector<QShortcut*> shortcuts_;
    std::map<CommandId, QPointer<QWidget>> bars_;
};

}  // namespace framework
