// The selection (551), scale (569) and rotate (570) tools of one canvas
// view: their entries in the view's tool table, the program-wide state of
// their drags, and the outline a drag shows (the rubber band, the lasso
// being built, the moving selection). The work itself is the view's
// (CPelmarkView::OnSelectToolDown and its neighbours).
#pragma once

#include <memory>
#include <vector>

#include "imaging/dib_layout.h"
#include "tools/draw_rects.h"
#include "tools/tool_dispatch.h"
#include "view/canvas_raster.h"
#include "view/pelmark_view.h"

namespace view {

// One drag of the three tools at a time, for the whole program.
struct SelectionDragState {
    tools::ImagePoint start;
    tools::ImagePoint last;
    // Set when the work-memory probe refused the button-down, until the next.
    bool selectBlocked = false;
    bool scaleBlocked = false;
    bool rotateBlocked = false;
    bool wandBlocked = false;
    // The selection tool's move drag: the rectangle as lifted at the
    // button-down, the rectangle now, and whether it moved at all.
    DibRect moveFrom{};
    DibRect moveRect{};
    bool moved = false;
    bool wasModified = false;
    // The scale tool's edges that follow the pointer (0: no scale drag).
    int handleFlags = 0;
    // The rotate tool: the pointer's angle at the button-down.
    bool rotating = false;
    bool rotated = false;
    int startAngle = 0;
};
SelectionDragState& ProgramSelectionDrag();

// The outline a drag shows over the view, in image pixels.
struct DragOutline {
    enum Kind { kNone, kFrame, kRectLine, kEllipse, kPolyline };
    Kind kind = kNone;
    DibRect rect{};
    std::vector<ScreenPoint> points;
};

class SelectionTools {
public:
    explicit SelectionTools(CPelmarkView& view);
    ~SelectionTools();
    // Sets the handlers of tools 551, 569 and 570.
    void Register(tools::ToolTable& table);

    // Shows `outline` in place of the one shown (kNone: none).
    void ShowOutline(DragOutline outline);
    const DragOutline& Outline() const { return shown_; }
    // The outline of a selection of the current mode around `r`, or of the
    // lasso points.
    DragOutline ModeOutline(const DibRect& r) const;

    // The view changed its zoom and dropped its outlines: the drag's outline
    // is shown again, and a turned selection drawn again for the rotate tool.
    void ZoomChanged();
    // While the rotate tool shows a turned selection: the turned frame
    // through its four corners, drawn into a paint; true when it was.
    bool DrawRotationFrame(CPelmarkView::OverlayCanvas& canvas);

private:
    void Toggle(const DragOutline& outline);

    CPelmarkView& view_;
    DragOutline shown_;
    class SelectHandler;
    class ScaleHandler;
    class RotateHandler;
    std::unique_ptr<SelectHandler> select_;
    std::unique_ptr<ScaleHandler> scale_;
    std::unique_ptr<RotateHandler> rotate_;
};

// WM_TOOLRECT_STATUS to the main frame: kind 1 a width and height, kind 2
// an angle in degrees, kind 3 a cleared position.
void ReportToolSize(int width, int height);
void ReportToolAngle(int degrees);
// Clears the position pane.
void ClearToolPosition();

}  // namespace view
