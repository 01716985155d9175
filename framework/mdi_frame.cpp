#include "framework/mdi_frame.h"

#include <algorithm>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QThread>

#include "framework/application.h"
#include "framework/child_frame.h"
#include "framework/cmd_ui.h"
#include "framework/doc_template.h"
#include "framework/document.h"
#include "framework/view.h"

namespace framework {

MdiFrame::MdiFrame(QWidget* parent) : QMainWindow(parent), MessageWindow(this) {
    area_ = new QMdiArea(this);
    setCentralWidget(area_);
    connect(area_, &QMdiArea::subWindowActivated, this, &MdiFrame::onSubWindowActivated);
    RegisterControlBar(ID_VIEW_STATUS_BAR, statusBar());
    const std::pair<QKeySequence, void (MdiFrame::*)()> childKeys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_F4), &MdiFrame::closeActiveChild},
        {QKeySequence(Qt::CTRL | Qt::Key_F6), &MdiFrame::MDINext},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6), &MdiFrame::MDIPrev},
    };
    for (const auto& [keys, run] : childKeys) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, run);
    }
}

MdiFrame::~MdiFrame() {
    ReleaseHandle();
    KillAllTimers();
    area_->disconnect(this);
    std::vector<QPointer<ChildFrame>> children = std::move(children_);
    children_.clear();
    active_ = nullptr;
    for (const QPointer<ChildFrame>& child : children)
        if (child) child->mdiFrame_ = nullptr;
    for (const QPointer<ChildFrame>& child : children) delete child.data();
}

ChildFrame* MdiFrame::MDIGetActive() const {
    ChildFrame* frame = active_.data();
    return frame && !frame->IsDestroyed() ? frame : nullptr;
}

View* MdiFrame::GetActiveView() const {
    ChildFrame* frame = MDIGetActive();
    return frame ? frame->GetActiveView() : nullptr;
}

Document* MdiFrame::GetActiveDocument() const {
    View* view = GetActiveView();
    return view ? view->GetDocument() : nullptr;
}

std::vector<ChildFrame*> MdiFrame::ChildFrames() const {
    std::vector<ChildFrame*> frames;
    for (const QPointer<ChildFrame>& child : children_)
        if (child && !child->IsDestroyed()) frames.push_back(child.data());
    return frames;
}

void MdiFrame::AddChildFrame(ChildFrame* frame) {
    if (!frame || frame->mdiFrame_ == this) return;
    frame->mdiFrame_ = this;
    children_.emplace_back(frame);
    area_->addSubWindow(frame);
}

void MdiFrame::MDIActivate(ChildFrame* frame) {
    if (!frame || frame->IsDestroyed() || frame->mdiFrame_ != this) return;
    if (frame->isHidden()) frame->show();
    area_->setActiveSubWindow(frame);
    setActiveChild(frame);
}

void MdiFrame::onSubWindowActivated(QMdiSubWindow* window) {
    // A null window means the main window lost the activation (a tool window
    // has it): the child stays the active one.
    auto* frame = qobject_cast<ChildFrame*>(window);
    if (frame && !frame->IsDestroyed() && frame->mdiFrame_ == this) setActiveChild(frame);
}

void MdiFrame::setActiveChild(ChildFrame* frame) {
    if (frame == active_.data()) return;
    QPointer<ChildFrame> old = active_;
    QPointer<ChildFrame> now = frame;
    active_ = frame;
    QPointer<View> oldView = old ? old->GetActiveView() : nullptr;
    QPointer<View> newView = now ? now->GetActiveView() : nullptr;
    if (old && !old->IsDestroyed()) {
        if (oldView) oldView->OnActivateView(false, newView, oldView);
        if (old) old->OnMDIActivate(false);
    }
    if (now && !now->IsDestroyed()) {
        now->OnMDIActivate(true);
        if (newView) newView->OnActivateView(true, newView, oldView);
    }
}

void MdiFrame::childGoing(ChildFrame* frame) {
    children_.erase(std::remove_if(children_.begin(), children_.end(),
                                   [frame](const QPointer<ChildFrame>& c) {
                                       return !c || c.data() == frame;
                                   }),
                    children_.end());
    bool wasActive = active_.data() == frame;
    if (wasActive) active_ = nullptr;
    if (area_->subWindowList().contains(frame)) area_->removeSubWindow(frame);
    if (!wasActive || MDIGetActive()) return;
    // The most recently active of the others takes over.
    const QList<QMdiSubWindow*> history = area_->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        auto* next = qobject_cast<ChildFrame*>(*it);
        if (next && next != frame && !next->IsDestroyed() && next->mdiFrame_ == this &&
            !next->isHidden()) {
            MDIActivate(next);
            return;
        }
    }
}

void MdiFrame::MDICascade() { area_->cascadeSubWindows(); }

void MdiFrame::MDINext() { stepChild(1); }

void MdiFrame::MDIPrev() { stepChild(-1); }

void MdiFrame::stepChild(int step) {
    std::vector<ChildFrame*> frames;
    for (ChildFrame* frame : ChildFrames())
        if (!frame->isHidden()) frames.push_back(frame);
    if (frames.empty()) return;
    auto at = std::find(frames.begin(), frames.end(), MDIGetActive());
    const int count = int(frames.size());
    const int index = at == frames.end() ? 0 : (int(at - frames.begin()) + step + count) % count;
    MDIActivate(frames[size_t(index)]);
}

void MdiFrame::closeActiveChild() {
    if (ChildFrame* frame = MDIGetActive()) frame->close();
}

void MdiFrame::MDITile(bool horizontal) {
    std::vector<ChildFrame*> frames;
    for (ChildFrame* frame : ChildFrames())
        if (!frame->isHidden() && !frame->isMinimized()) frames.push_back(frame);
    if (frames.empty()) return;
    QRect area = area_->viewport()->rect();
    int n = int(frames.size());
    for (int i = 0; i < n; ++i) {
        ChildFrame* frame = frames[i];
        if (frame->isMaximized()) frame->showNormal();
        QRect r;
        if (horizontal) {
            int top = area.height() * i / n, bottom = area.height() * (i + 1) / n;
            r = QRect(0, top, area.width(), bottom - top);
        } else {
            int left = area.width() * i / n, right = area.width() * (i + 1) / n;
            r = QRect(left, 0, right - left, area.height());
        }
        frame->setGeometry(r);
    }
}

void MdiFrame::MDIIconArrange() {
    QRect area = area_->viewport()->rect();
    int x = 0;
    for (ChildFrame* frame : ChildFrames()) {
        if (frame->isHidden() || !frame->isMinimized()) continue;
        QSize size = frame->size();
        frame->move(x, area.height() - size.height());
        x += size.width();
    }
}

void MdiFrame::PostCommand(CommandId id) {
    QMetaObject::invokeMethod(this, [this, id] { ExecuteCommand(id); }, Qt::QueuedConnection);
}

CommandHooks MdiFrame::Hooks() {
    QPointer<MdiFrame> self(this);
    return CommandHooks{
        [self](CommandId id) {
            if (self) self->PostCommand(id);
        },
        [self](QMenu* menu) {
            if (self) self->UpdateMenu(menu);
        },
    };
}

void MdiFrame::LoadMenuBar(const std::vector<MenuItem>& menu) {
    SetWindowMenu(nullptr);
    BuildMenuBar(menuBar(), menu, Hooks());
    AddAccelerators(AcceleratorsOf(menu));
    QMenu* windowMenu = nullptr;
    for (QAction* top : menuBar()->actions()) {
        QMenu* popup = top->menu();
        if (!popup) continue;
        for (CommandId id = ID_WINDOW_NEW; id <= ID_WINDOW_TILE_VERT; ++id)
            if (FindCommandAction(popup, id)) {
                windowMenu = popup;
                break;
            }
    }
    SetWindowMenu(windowMenu);
}

void MdiFrame::AddAccelerators(const std::vector<Accelerator>& accelerators) {
    for (const Accelerator& accelerator : accelerators) {
        if (accelerator.keys.isEmpty()) continue;
        bool taken = std::any_of(shortcuts_.begin(), shortcuts_.end(), [&](QShortcut* s) {
            return s->key() == accelerator.keys;
        });
        if (taken) continue;
        auto* shortcut = new QShortcut(accelerator.keys, this);
        shortcut->setContext(Qt::ApplicationShortcut);
        CommandId id = accelerator.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] { ExecuteCommand(id); });
        shortcuts_.push_back(shortcut);
    }
}

void MdiFrame::ClearAccelerators() {
    for (QShortcut* shortcut : shortcuts_) delete shortcut;
    shortcuts_.clear();
}

void MdiFrame::SetWindowMenu(QMenu* menu) {
    for (const QPointer<QAction>& action : windowListActions_) delete action.data();
    windowListActions_.clear();
    windowMenu_ = menu;
}

QMenu* MdiFrame::WindowMenu() const { return windowMenu_.data(); }

void MdiFrame::fillWindowMenu(QMenu* menu) {
    for (const QPointer<QAction>& action : windowListActions_) delete action.data();
    windowListActions_.clear();
    std::vector<ChildFrame*> frames = ChildFrames();
    if (frames.empty()) return;
    windowListActions_.emplace_back(menu->addSeparator());
    ChildFrame* active = MDIGetActive();
    int number = 1;
    for (ChildFrame* frame : frames) {
        QString title = frame->windowTitle();
        title.replace(u'&', QStringLiteral("&&"));
        QString text = number <= 9 ? QStringLiteral("&%1 %2").arg(number).arg(title)
                                   : QStringLiteral("%1 %2").arg(number).arg(title);
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(frame == active);
        QPointer<ChildFrame> target(frame);
        connect(action, &QAction::triggered, this, [this, target] {
            if (target) MDIActivate(target);
        });
        windowListActions_.emplace_back(action);
        ++number;
    }
}

void MdiFrame::UpdateMenu(QMenu* menu) {
    if (!menu) return;
    if (menu == windowMenu_.data()) fillWindowMenu(menu);
    UpdateActions(menu->actions(), *this);
}

void MdiFrame::OnIdleUpdateCmdUI() {
    const QList<CommandAction*> actions = findChildren<CommandAction*>();
    std::vector<QPointer<CommandAction>> shown;
    for (CommandAction* action : actions) {
        for (QObject* object : action->associatedObjects()) {
            auto* widget = qobject_cast<QWidget*>(object);
            if (widget && !qobject_cast<QMenu*>(widget) && widget->isVisible()) {
                shown.emplace_back(action);
                break;
            }
        }
    }
    for (const QPointer<CommandAction>& action : shown)
        if (action) QueryCommandState(action->id()).ApplyTo(*action);
}

void MdiFrame::RegisterControlBar(CommandId id, QWidget* bar) {
    if (bar) bars_[id] = bar;
    else bars_.erase(id);
}

QWidget* MdiFrame::GetControlBar(CommandId id) const {
    auto it = bars_.find(id);
    return it == bars_.end() ? nullptr : it->second.data();
}

void MdiFrame::toggleControlBar(CommandId id) {
    if (QWidget* bar = GetControlBar(id)) bar->setVisible(bar->isHidden());
}

void MdiFrame::updateControlBar(CmdUI& ui) {
    QWidget* bar = GetControlBar(ui.id());
    ui.Enable(bar != nullptr);
    ui.SetCheck(bar && !bar->isHidden());
}

void MdiFrame::SetMessageText(const QString& text) { statusBar()->showMessage(text); }

void MdiFrame::newWindow() {
    Document* document = GetActiveDocument();
    DocTemplate* docTemplate = document ? document->GetDocTemplate() : nullptr;
    if (!docTemplate) return;
    if (ChildFrame* frame = docTemplate->CreateNewFrame(document))
        docTemplate->InitialUpdateFrame(frame, document, true);
}

bool MdiFrame::OnClose() {
    Application* app = Application::Instance();
    if (app && app->GetMainFrame() == this) {
        if (!app->SaveAllModified()) return false;
        app->CloseAllDocuments();
    }
    return true;
}

void MdiFrame::closeEvent(QCloseEvent* event) {
    if (!OnClose()) {
        event->ignore();
        return;
    }
    event->accept();
    Application* app = Application::Instance();
    if (app && app->GetMainFrame() == this && QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

namespace {
QStringList droppedFiles(const QMimeData* data) {
    QStringList paths;
    if (!data) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile());
    return paths;
}
}  // namespace

// Files are only ever read: a drop is taken as a copy, whatever the source
// proposes, so that no source takes a move as leave to delete the file.
bool MdiFrame::acceptFileDrop(QDropEvent* event) {
    if (!(event->possibleActions() & Qt::CopyAction) || droppedFiles(event->mimeData()).isEmpty()) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void MdiFrame::dragEnterEvent(QDragEnterEvent* event) { acceptFileDrop(event); }

void MdiFrame::dragMoveEvent(QDragMoveEvent* event) { acceptFileDrop(event); }

void MdiFrame::dropEvent(QDropEvent* event) {
    if (acceptFileDrop(event)) OnDropFiles(droppedFiles(event->mimeData()));
}

void MdiFrame::OnDropFiles(const QStringList& paths) {
    raise();
    activateWindow();
    Application* app = Application::Instance();
    if (!app) return;
    for (const QString& path : paths) app->OpenDocumentFile(path);
}

bool MdiFrame::RouteCommand(CommandRequest& request) {
    if (ChildFrame* child = MDIGetActive())
        if (child->RouteCommand(request)) return true;
    if (DispatchOwn(request)) return true;
    Application* app = Application::Instance();
    return app && app->RouteCommand(request);
}

void MdiFrame::DeclareCommands(CommandTable& table) {
    auto whenChildren = [this](CmdUI& ui) { ui.Enable(MDIGetActive() != nullptr); };
    table.On(ID_WINDOW_NEW, [this] { newWindow(); })
        .OnUpdate(ID_WINDOW_NEW, [this](CmdUI& ui) { ui.Enable(GetActiveDocument() != nullptr); })
        .On(ID_WINDOW_CASCADE, [this] { MDICascade(); })
        .OnUpdate(ID_WINDOW_CASCADE, whenChildren)
        .On(ID_WINDOW_TILE_HORZ, [this] { MDITile(true); })
        .OnUpdate(ID_WINDOW_TILE_HORZ, whenChildren)
        .On(ID_WINDOW_TILE_VERT, [this] { MDITile(false); })
        .OnUpdate(ID_WINDOW_TILE_VERT, whenChildren)
        .On(ID_WINDOW_ARRANGE, [this] { MDIIconArrange(); })
        .OnUpdate(ID_WINDOW_ARRANGE, whenChildren)
        .On(ID_NEXT_PANE, [this] { MDINext(); })
        .OnUpdate(ID_NEXT_PANE, whenChildren)
        .On(ID_PREV_PANE, [this] { MDIPrev(); })
        .OnUpdate(ID_PREV_PANE, whenChildren)
        .OnRange(ID_CONTROLBAR_FIRST, ID_CONTROLBAR_LAST, [this](CommandId id) { toggleControlBar(id); })
        .OnUpdateRange(ID_CONTROLBAR_FIRST, ID_CONTROLBAR_LAST,
                       [this](CmdUI& ui) { updateControlBar(ui); });
}

}  // namespace framework
