// Rectangle and point helpers of the drawing tools: dirty rectangles grown
// to the grid and the pen, ordering and clamping, grid snapping, and the
// client rectangles a repaint of image pixels covers.
//
// Rectangles are image pixels, y from the top. "Ordered" means left <= right
// and top <= bottom after swapping.
#pragma once

#include "imaging/dib_layout.h"

namespace tools {

// The snapping state of a view: flag bit 0 snaps to the main grid, bit 1 to
// the sub grid; cells in image pixels (a cell that is not positive never
// snaps).
struct GridSnap {
    int flags = 0;
    int mainWidth = 16;
    int mainHeight = 16;
    int subWidth = 8;
    int subHeight = 8;
};

DibRect OrderRect(DibRect r);

// The area to repaint after drawing `r` with `penId`: ordered; with any
// snap flag right and bottom grow to the last pixel of their grid cell; then
// right and bottom + 1, inflated by the pen's repaint margin and clamped to
// 0..width and 0..height.
DibRect SnapRectToGrid(DibRect r, const GridSnap& grid, int penId, int width, int height);
// The same without growing to the grid.
DibRect SnapRectToGridAlt(DibRect r, int penId, int width, int height);
// Ordered, right and bottom + 1, left and top at least 0, right and bottom at
// most width and height.
DibRect NormalizeImageRect(DibRect r, int width, int height);
// Ordered, right and bottom grown to the last pixel of their grid cell, then
// clamped to 0..width - 1 and 0..height - 1.
DibRect SnapRectEndToGridClamped(DibRect r, const GridSnap& grid, int width, int height);
// Ordered and clamped to 0..width and 0..height.
DibRect ClampRectToImage(DibRect r, int width, int height);
// Ordered, right and bottom + 1.
DibRect MakeRectInclusive(DibRect r);
// Ordered, grown to the last pixel of the grid cell, right and bottom + 1.
DibRect SnapRectEndToGrid(DibRect r, const GridSnap& grid);
// Orders left and right of `r`. 0 without snap flags; else 1 when main-grid
// snapping is off or sub-grid snapping is on with a sub cell narrower than
// the main cell; else 0.
int GridSnapActive(DibRect& r, const GridSnap& grid);

// Which coordinates SnapPoint moves.
enum SnapAxes { kSnapBoth = 0, kSnapX = 1, kSnapY = 2 };
struct ImagePoint {
    int x = 0;
    int y = 0;
    bool operator==(const ImagePoint&) const = default;
};
// Moves x and/or y to the nearest line of an active grid (a tie moves back).
ImagePoint SnapPoint(ImagePoint p, const GridSnap& grid, int axes = kSnapBoth);
// Moves x and y back to the previous line of an active grid (the line itself
// when the point lies on one): what a click snaps to.
ImagePoint SnapPointBack(ImagePoint p, const GridSnap& grid);

// The client rectangles that show image rectangle `r`: r times the zoom
// moved by minus the scroll position and, when the view is centred, the
// same moved by the centring offsets as well.
struct ClientRepaint {
    DibRect rects[2];
    int count = 0;
};
ClientRepaint ImageToClientRect(DibRect r, int zoom, int scrollX, int scrollY, int centreX,
                                int centreY);

}  // namespace tools
