#include "framework/child_frame.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMenu>

#include "framework/document.h"
#include "framework/mdi_frame.h"
#include "framework/view.h"

namespace framework {

ChildFrame::ChildFrame() : MessageWindow(this) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    // The window menu's keys (Close is Ctrl+W and Ctrl+F4 here) would clash
    // with the main frame's accelerators and leave both dead; the main frame
    // gives the document window keys itself.
    if (QMenu* menu = systemMenu())
        for (QAction* action : menu->actions()) action->setShortcuts({});
}

ChildFrame::~ChildFrame() {
    ReleaseHandle();
    KillAllTimers();
    destroyed_ = true;
    // The view goes first, while this frame is still whole.
    delete view_;
    detach();
}

Document* ChildFrame::GetActiveDocument() const { return view_ ? view_->GetDocument() : nullptr; }

void ChildFrame::ActivateFrame() {
    if (destroyed_) return;
    if (isHidden()) show();
    if (mdiFrame_) mdiFrame_->MDIActivate(this);
}

void ChildFrame::detach() {
    if (view_) view_->SetDocument(nullptr);
    if (MdiFrame* main = mdiFrame_) {
        mdiFrame_ = nullptr;
        main->childGoing(this);
    }
}

void ChildFrame::Destroy() {
    if (destroyed_) return;
    destroyed_ = true;
    OnDestroyFrame();
    ReleaseHandle();
    KillAllTimers();
    if (View* view = view_) {
        view->ReleaseHandle();
        view->KillAllTimers();
    }
    detach();
    hide();
    deleteLater();
}

bool ChildFrame::OnCreate(const CreateContext&) { return true; }

bool ChildFrame::OnCreateClient(View* view, const CreateContext&) {
    setWidget(view);
    return true;
}

void ChildFrame::OnClose() {
    Document* document = GetActiveDocument();
    if (document && !document->CanCloseFrame(this)) return;
    if (document && document->AutoDelete()) {
        bool otherFrame = false;
        for (View* view : document->GetViews())
            if (view->GetParentFrame() != this) otherFrame = true;
        if (!otherFrame) {
            document->OnCloseDocument();
            if (!destroyed_) Destroy();  // a document that keeps this frame
            return;
        }
    }
    Destroy();
}

void ChildFrame::OnUpdateFrameTitle() {
    Document* document = GetActiveDocument();
    QString title = document ? document->GetTitle() : QString();
    if (windowIndex_ > 0) title += QStringLiteral(":%1").arg(windowIndex_);
    setWindowTitle(title);
}

void ChildFrame::OnMDIActivate(bool) {}

bool ChildFrame::RouteCommand(CommandRequest& request) {
    if (View* view = view_) {
        if (view->RouteCommand(request)) return true;
    }
    return DispatchOwn(request);
}

void ChildFrame::closeEvent(QCloseEvent* event) {
    // The frame takes itself down (Destroy) when it agrees to close.
    event->ignore();
    if (!destroyed_) OnClose();
}

}  // namespace framework
