// A drawing tool's canvas over one canvas view: the view's document, zoom,
// pixel access and repaints, its standing outlines for rubber bands and
// control polygons, its drag scrolling and the program's drag bits. The
// settings, the palette bar and the refreshes come from the main frame.
#pragma once

#include "tools/frame_tool_canvas.h"

class CPelmarkView;

namespace view {

class ViewToolCanvas : public tools::FrameToolCanvas {
public:
    explicit ViewToolCanvas(CPelmarkView& view) : view_(view) {}

    CPelmarkDoc* Document() override;
    int Zoom() const override;
    tools::PixelAccess* BeginPixelAccess() override;
    void EndPixelAccess() override;
    void InvalidateDirty(DibRect r, int penId, bool updateNow) override;
    void ToggleRubberBand(const std::vector<tools::ImagePoint>& points) override;
    void AutoScrollCheck(tools::ImagePoint p) override;
    tools::ImagePoint AutoScroll(tools::ImagePoint p) override;
    bool ReleaseOutsideView(tools::ImagePoint p) override;
    int DragBits() override;
    void ClearRightDrag() override;
    void ToggleFrameRect(const DibRect& r) override;
    void ToggleEllipseBand(const DibRect& r) override;
    void ReportToolSize(int width, int height) override;
    bool ShiftHeld() override;
    void RefreshAfterShape() override;

private:
    CPelmarkView& view_;
};

}  // namespace view
