#include "framework/view.h"

#include "framework/child_frame.h"
#include "framework/document.h"

namespace framework {

View::View(QWidget* parent) : QWidget(parent), MessageWindow(this) {
    setFocusPolicy(Qt::StrongFocus);
}

View::~View() {
    ReleaseHandle();
    KillAllTimers();
    if (frame_ && frame_->view_ == this) frame_->view_ = nullptr;
    frame_ = nullptr;
    SetDocument(nullptr);
}

void View::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void View::OnUpdate(View*, intptr_t, void*) { update(); }

void View::OnActivateView(bool activate, View*, View*) {
    if (activate) setFocus(Qt::OtherFocusReason);
}

bool View::RouteCommand(CommandRequest& request) {
    if (DispatchOwn(request)) return true;
    // Nothing of this view is touched after its document's handler ran: the
    // handler may have closed the view.
    Document* document = document_;
    return document && document->RouteCommand(request);
}

void View::SetDocument(Document* document) {
    if (document == document_) return;
    if (Document* old = document_) old->RemoveView(this);
    if (document) document->AddView(this);
}

}  // namespace framework
