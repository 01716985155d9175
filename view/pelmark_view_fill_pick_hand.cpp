// The canvas view's fill tool, colour pick and hand tool.
#include "document/pelmark_doc.h"
#include "tools/hand_scroll.h"
#include "tools/pen_line_tools.h"
#include "view/pelmark_view.h"
#include "view/view_fill_pick_hand.h"
#include "view/view_host.h"
#include "view/view_tool_canvas.h"

namespace {

// Program-wide, as the fill's probe and the hand's grab are.
bool g_fillBlocked = false;
tools::HandGrab g_handGrab;

}  // namespace

bool CPelmarkView::FillBlocked() { return g_fillBlocked; }

void CPelmarkView::OnFillDown(int, int) {
    // The dispatcher ran the work-memory probe before this button-down;
    // the plug-in takes the seed from the program's click point and the
    // host fills the tone and the feather width into its record.
    g_fillBlocked = false;
    CPelmarkDoc* doc = GetDocument();
    if (!doc || doc->m_bBusy) return;
    view::ViewHost* host = view::ViewHost::Installed();
    if (!host) return;
    host->RunFillPlugin();
    host->LayersChanged(doc);
}

void CPelmarkView::PickColorAt(int x, int y) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || !tools::TakesColorPick(doc->m_nToolId)) return;
    tools::PickColorAt(*m_pToolCanvas, {x, y});
}

void CPelmarkView::OnHandToolDown(int x, int y) {
    const QPoint s = ScrollPosition();
    g_handGrab = tools::BeginHandGrab(s.x(), s.y(), m_nZoom, {x, y});
}

void CPelmarkView::OnHandToolMove(int x, int y) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return;
    const QPoint s = ScrollPosition();
    const QRect client = ClientRect();
    const tools::ImagePoint to =
        tools::HandScrollTarget(g_handGrab, s.x(), s.y(), m_nZoom, {x, y}, doc->m_nWidth * m_nZoom,
                                doc->m_nHeight * m_nZoom, client.width(), client.height());
    // The scroll bars tell the rulers and the position palette.
    ScrollTo(to.x, to.y);
}

void CPelmarkView::OnHandToolUp(int x, int y) {
    OnHandToolMove(x, y);
    if (view::ViewHost* host = view::ViewHost::Installed()) host->FollowPosition(GetDocument());
}

namespace view {

void FillPickHandTools::Fill::OnDown(tools::ImagePoint p) { view_.OnFillDown(p.x, p.y); }
void FillPickHandTools::Fill::OnDownRefused() { g_fillBlocked = true; }
void FillPickHandTools::Pick::OnDown(tools::ImagePoint p) { view_.PickColorAt(p.x, p.y); }
void FillPickHandTools::Hand::OnDown(tools::ImagePoint p) { view_.OnHandToolDown(p.x, p.y); }
void FillPickHandTools::Hand::OnMove(tools::ImagePoint p) { view_.OnHandToolMove(p.x, p.y); }
void FillPickHandTools::Hand::OnUp(tools::ImagePoint p) { view_.OnHandToolUp(p.x, p.y); }

}  // namespace view
