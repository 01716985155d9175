// The child window (QMdiSubWindow) that holds one view inside the main frame.
// Commands reach its view (and through it the document) first, then the
// frame itself.
#pragma once

#include <QMdiSubWindow>

#include "framework/command.h"
#include "framework/window_handle.h"
#include "framework/window_timer.h"

namespace framework {

class DocTemplate;
class Document;
class MdiFrame;
class View;

// What a new frame is made for.
struct CreateContext {
    Document* document = nullptr;
    DocTemplate* docTemplate = nullptr;
};

class ChildFrame : public QMdiSubWindow, public CommandTarget, public MessageWindow,
                   public TimerOwner {
    Q_OBJECT
public:
    ChildFrame();
    ~ChildFrame() override;

    View* GetActiveView() const { return view_; }
    Document* GetActiveDocument() const;
    MdiFrame* GetMDIFrame() const { return mdiFrame_; }

    // Shows the frame and makes it the main frame's active child.
    void ActivateFrame();
    // Takes the frame down now: the view leaves its document (an auto-delete
    // document without views closes), the frame leaves the main frame and is
    // deleted from the event loop.
    void Destroy();
    bool IsDestroyed() const { return destroyed_; }

    // Creation steps, called by the document template: OnCreate first (false
    // cancels the frame), then OnCreateClient with the new view, whose
    // default makes the view the frame's widget. An override that builds a
    // container (rulers around the view) must place the view in it.
    virtual bool OnCreate(const CreateContext& context);
    virtual bool OnCreateClient(View* view, const CreateContext& context);

    // A close request (close button, close()). The default: when this frame
    // is the last one of its document, the document decides (CanCloseFrame)
    // and closes with it; otherwise the frame goes.
    virtual void OnClose();
    // Sets the window title from the document's title.
    virtual void OnUpdateFrameTitle();
    // The frame became the active child or stopped being it.
    virtual void OnMDIActivate(bool active);

    // Number shown after the title when several frames show one document
    // (0: none).
    int WindowIndex() const { return windowIndex_; }

    bool RouteCommand(CommandRequest& request) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    // The frame is being taken down (Destroy); its view still shows its
    // document. A frame deleted without Destroy does its own part in its
    // destructor.
    virtual void OnDestroyFrame() {}

private:
    friend class DocTemplate;
    friend class Document;
    friend class MdiFrame;
    friend class View;
    void detach();

    View* view_ = nullptr;
    MdiFrame* mdiFrame_ = nullptr;
    int windowIndex_ = 0;
    bool destroyed_ = false;
};

}  // namespace framework
