#include "view/view_tool_canvas.h"

#include "document/pelmark_doc.h"
#include "tools/drag_state.h"
#include "tools/pen_tool.h"
#include "view/pelmark_view.h"

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

}  // namespace view
