#include "view/view_tool_canvas.h"

#include "document/document_host.h"
#include "document/pelmark_doc.h"
#include "platform/window.h"
#include "plugin_api/plugin_messages.h"
#include "tools/drag_state.h"
#include "tools/pen_tool.h"
#include "view/pelmark_view.h"
#include "view/view_host.h"

namespace view {

CPelmarkDoc* ViewToolCanvas::Document() { return view_.GetDocument(); }

int ViewToolCanvas::Zoom() const { return view_.Zoom(); }

tools::PixelAccess* ViewToolCanvas::BeginPixelAccess() {
    if (!view_.BeginPixelAccess()) return nullptr;
    return &view_.PixelAccessState();
}

void ViewToolCanvas::EndPixelAccess() { view_.EndPixelAccess(); }

void ViewToolCanvas::InvalidateDirty(DibRect r, int penId, bool updateNow) {
    const CPelmarkDoc* doc = view_.GetDocument();
    if (!doc) return;
    view_.RepaintImageRect(tools::SnapRectToGrid(r, view_.Snap(), penId, doc->m_nWidth, doc->m_nHeight), updateNow);
}

void ViewToolCanvas::ToggleRubberBand(const std::vector<tools::ImagePoint>& points) {
    // The tools keep their points in zoomed pixels; the view's outlines take
    // image pixels and zoom them again.
    const int zoom = view_.Zoom() > 0 ? view_.Zoom() : 1;
    std::vector<ScreenPoint> image;
    image.reserve(points.size());
    for (const tools::ImagePoint& p : points) image.push_back({p.x / zoom, p.y / zoom});
    view_.XorPolyline(image);
}

void ViewToolCanvas::AutoScrollCheck(tools::ImagePoint p) { view_.AutoScrollCheck(p); }

tools::ImagePoint ViewToolCanvas::AutoScroll(tools::ImagePoint p) { return view_.AutoScroll(p); }

bool ViewToolCanvas::ReleaseOutsideView(tools::ImagePoint p) {
    // Only a view whose image is larger than its window (a scroll bar shown)
    // hides part of the image.
    if (!view_.HasScrollBar(false) && !view_.HasScrollBar(true)) return false;
    const QRect client = view_.ClientRect();
    const QPoint scroll = view_.ScrollPosition();
    return tools::OutsideVisibleImage(p, scroll.x(), scroll.y(), client.width(), client.height(), view_.Zoom());
}

int ViewToolCanvas::DragBits() { return tools::ProgramDragState().bits; }

void ViewToolCanvas::ClearRightDrag() { tools::ProgramDragState().bits &= ~tools::kRightDrag; }

void ViewToolCanvas::ToggleFrameRect(const DibRect& r) { view_.XorFrameRect(r); }

void ViewToolCanvas::ToggleEllipseBand(const DibRect& r) {
    view_.XorEllipseRubberBand(r.left, r.top, r.right - 1, r.bottom - 1);
}

void ViewToolCanvas::ReportToolSize(int width, int height) {
    ViewHost* host = ViewHost::Installed();
    if (!host || !host->FrameWindow()) return;
    int values[4] = {width, height, 0, 0};
    WinSendMessage(host->FrameWindow(), WM_TOOLRECT_STATUS, WinWParam(TOOLRECT_SIZE),
                   reinterpret_cast<WinLParam>(values));
}

bool ViewToolCanvas::ShiftHeld() { return tools::ProgramDragState().shiftHeld != 0; }

void ViewToolCanvas::RefreshAfterShape() {
    CPelmarkDoc* doc = Document();
    if (doc) doc->UpdateAllViews(nullptr);
    // The active view recomposes the whole image and repaints.
    ViewHost* host = ViewHost::Installed();
    framework::View* active = host ? host->ActiveView() : &view_;
    if (auto* canvas = dynamic_cast<CPelmarkView*>(active))
        canvas->RefreshAfterEdit(1);
    else if (active)
        active->update();
    document::DocumentHost& frame = document::Host();
    frame.LayersChanged(doc);
    frame.PositionChanged(doc);
    frame.ImageDrawn(doc);
}

}  // namespace view
