// What a drawing tool asks of the view that runs it: the document, the
// zoom, the tool settings, drawing operations, repaints, rubber bands, drag
// scrolling and the refreshes of the program's windows. The view gives its
// own; tests give one over a bare document. The work-memory probe of a
// button-down is the view's (see ToolHandler::OnDownRefused).
#pragma once

#include <vector>

#include "imaging/dib_layout.h"
#include "tools/draw_rects.h"

class CPelmarkDoc;

namespace tools {

class PixelAccess;

class ToolCanvas {
public:
    virtual ~ToolCanvas() = default;

    virtual CPelmarkDoc* Document() = 0;
    virtual int Zoom() const = 0;
    // The tool setting of `index` (the document host's ToolSetting).
    virtual int ToolOption(int index) = 0;

    // Opens a drawing operation on the document with the view's tone; null
    // when there is nothing to draw on. Every Begin is followed by an End.
    virtual PixelAccess* BeginPixelAccess() = 0;
    virtual void EndPixelAccess() = 0;
    // Repaints image rectangle `r` (corners inclusive) grown by the view's
    // dirty-rectangle rule for pen `penId`; `updateNow` paints at once.
    virtual void InvalidateDirty(DibRect r, int penId, bool updateNow) = 0;

    // Inverts the polyline through `points` (image point x zoom) over the
    // canvas; the same polyline inverted again is gone.
    virtual void ToggleRubberBand(const std::vector<ImagePoint>& points) = 0;

    // Drag scrolling: armed at a button-down, then each move's point comes
    // back corrected by the distance scrolled.
    virtual void AutoScrollCheck(ImagePoint p) = 0;
    virtual ImagePoint AutoScroll(ImagePoint p) = 0;
    // True when a release at `p` lies outside the part of the image a
    // scrolled (not centred) view shows.
    virtual bool ReleaseOutsideView(ImagePoint p) = 0;

    // The bits of the current mouse drag: 1 left tool drag, 2 right drag,
    // 4 Shift-click.
    virtual int DragBits() = 0;
    virtual void ClearRightDrag() = 0;

    // The palette bar shows the document's current colour again.
    virtual void PaletteBarChanged() = 0;
    // After a pen stroke: every view of the document, the layer palette and
    // the tool plug-in windows.
    virtual void RefreshAfterStroke() = 0;
    // After a line or a curve: every view, the active view, the layer
    // palette, the position palette and the tool plug-in windows.
    virtual void RefreshAfterLine() = 0;

    // ---- The shape tools' bands, size report and refresh. The defaults
    // show nothing and refresh as after a line. ----
    // Invert the frame / the ellipse of image box `r` (right and bottom
    // exclusive) over the canvas; the same shape inverted again is gone.
    virtual void ToggleFrameRect(const DibRect&) {}
    virtual void ToggleEllipseBand(const DibRect&) {}
    // The status bar's size pane shows width x height.
    virtual void ReportToolSize(int, int) {}
    // Shift was held at the move or release being handled.
    virtual bool ShiftHeld() { return false; }
    // After a shape: every view, the active view recomposed, the layer
    // palette, the position palette and the tool plug-in windows.
    virtual void RefreshAfterShape() { RefreshAfterLine(); }
};

}  // namespace tools
