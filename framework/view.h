// A view: the widget that shows a document inside a child frame.
// Commands reach the view first; what it does not take goes on to its
// document.
#pragma once

#include <cstdint>

#include <QWidget>

#include "framework/command.h"
#include "framework/window_handle.h"
#include "framework/window_timer.h"

namespace framework {

class ChildFrame;
class Document;

class View : public QWidget, public CommandTarget, public MessageWindow, public TimerOwner {
    Q_OBJECT
public:
    explicit View(QWidget* parent = nullptr);
    ~View() override;

    Document* GetDocument() const { return document_; }
    ChildFrame* GetParentFrame() const { return frame_; }

    // Called once the frame, view and document are made and the document is
    // new or opened; the default calls OnUpdate(nullptr, 0, nullptr).
    virtual void OnInitialUpdate();
    // The document changed (Document::UpdateAllViews); the default repaints.
    virtual void OnUpdate(View* sender, intptr_t hint, void* hintObject);
    // The view's frame became active or inactive; the default takes the
    // focus on activation.
    virtual void OnActivateView(bool activate, View* activated, View* deactivated);

    bool RouteCommand(CommandRequest& request) override;

    // Attaches the view to a document (detaching it from any other); null
    // detaches. Detaching the last view of an auto-delete document closes it.
    void SetDocument(Document* document);

private:
    friend class ChildFrame;
    friend class DocTemplate;
    friend class Document;
    Document* document_ = nullptr;
    ChildFrame* frame_ = nullptr;
};

}  // namespace framework
