// The child frame around one canvas view: the view with two optional
// rulers, the horizontal one above it and the vertical one on its left.
//
// The frame counts itself in its document's child-frame count from its
// creation until it goes (whichever way it goes). Before a resize, a
// maximise or a restore reaches the view, the view centres the image
// (command 1028). A close request first closes the tool plug-in windows
// that work on the frame's document: its tool plug-in (only when this is
// the document's last frame), the hex tool and the animation maker (for
// any frame); when one was closed the frame stays and a second request
// closes it.
#pragma once

#include <QFont>
#include <QPointer>

#include "framework/child_frame.h"

class CPelmarkDoc;
class CPelmarkView;
class CRulerCtrl;
class QGridLayout;

class CChildFrame : public framework::ChildFrame {
    Q_OBJECT
public:
    // The ruler strips (in place of the dialog bars 300 and 301 with their
    // control 1089).
    static constexpr int kHorzRulerBarId = 300;
    static constexpr int kVertRulerBarId = 301;
    static constexpr int kRulerControlId = 1089;

    CChildFrame();
    ~CChildFrame() override;

    // Creation: the pending fit becomes 2, the context's document counts
    // the frame, the rulers setting is copied and the rulers are made ("内存
    // 不足。" when they cannot be; the frame is made anyway).
    bool OnCreate(const framework::CreateContext& context) override;
    // The view goes into the frame's client beside the rulers and its
    // viewport changes reach UpdateRulers.
    bool OnCreateClient(framework::View* view, const framework::CreateContext& context) override;
    void OnClose() override;
    // The title, and a frame at least as wide as its title bar needs for it
    // (within the main window's free area).
    void OnUpdateFrameTitle() override;

    // With the rulers setting on: makes the two rulers (kept when they
    // exist) at the view's zoom and scroll position; false when they could
    // not be made. With it off: nothing, and true.
    bool CreateRulers();
    // With the rulers setting off: removes the rulers. With it on: nothing.
    void DestroyRulers();
    // The rulers follow the view's zoom and scroll positions; a ruler whose
    // zoom or position changed repaints at once.
    void UpdateRulers(int zoom, int scrollX, int scrollY);

    // The ruler of a bar id (null while it does not exist).
    CRulerCtrl* Ruler(int barId) const;
    // The rulers setting copied at creation.
    bool RulersAtCreation() const { return m_bRulers != 0; }
    // The room the rulers take beside the view: width of the vertical one,
    // height of the horizontal one (0 for one not shown).
    QSize RulerStrips() const;
    // The frame width the title bar needs to show the whole title.
    int TitleBarWidth() const;
    // The document the frame was made for, while its view shows it.
    CPelmarkDoc* FrameDocument() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void OnDestroyFrame() override;

private:
    CPelmarkView* canvas() const;
    // The view centres the image before its frame's size changes reach it.
    void centreImage();
    void leaveDocument();
    void placeRuler(CRulerCtrl* ruler);

    // 8-point ruler font (kept for the rulers; their numbers use the font of
    // their strips).
    QFont m_RulerFont;
    int m_bRulers = 0;
    QPointer<CRulerCtrl> m_pHorzRuler;
    QPointer<CRulerCtrl> m_pVertRuler;
    CPelmarkDoc* m_pDocument = nullptr;
    bool m_bCounted = false;
    bool m_bClientMade = false;
    QWidget* m_pClient = nullptr;
    QGridLayout* m_pLayout = nullptr;
};
