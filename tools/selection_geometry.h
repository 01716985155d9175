// The geometry of the selection, scale and rotate tools, free of documents
// and widgets: the rubber band of a new selection under its shape
// constraint, the scale tool's handles and the edges they drag, and the
// rotate tool's area and angles. Sizes typed by the user may be as large as
// an int holds: everything is computed in 64 bits and clamped to the image.
#pragma once

#include <cstdint>

#include "tools/draw_rects.h"

namespace tools {

// The selection tool's shapes (the selection-mode palette's index).
enum SelectShape : int { kShapeRect = 0, kShapeEllipse = 1, kShapeFreehand = 2, kShapePolygon = 3 };

// Tool option 19: how the rubber band follows the pointer.
enum SelectConstraint : int { kConstraintFree = 0, kConstraintRatio = 1, kConstraintFixed = 2 };

struct BandRule {
    int shape = kShapeRect;
    int constraint = kConstraintFree;
    int width = 1;   // option 20 (W)
    int height = 1;  // option 21 (H)
    int imageWidth = 1;
    int imageHeight = 1;
};

// The rubber band from `start` to the pointer (right and bottom exclusive,
// ordered, inside the image). Free: the rectangle of the two points. Ratio:
// rectangles take R = min(|dx|, |dy|) scaled by W / M and H / M
// (M = max(W, H)); ellipses take dx x W / M and dy x H / M. Fixed: W x H with
// its top-left at the pointer, which becomes the start (`start` is updated).
DibRect SelectionBand(const BandRule& rule, ImagePoint& start, ImagePoint pointer);

// Which edges of the scale rectangle follow the pointer.
enum ScaleHandleFlags : int {
    kScaleLeft = 0x1000,
    kScaleTop = 0x100,
    kScaleRight = 0x10,
    kScaleBottom = 0x1,
};
inline constexpr int kHandleReach = 2;

// The handle of the selection rectangle `r` under the point: squares of
// 5 x 5 pixels on the corners (top-left, bottom-right, bottom-left,
// top-right in that order), then bands 5 pixels wide along the sides (left,
// right, top, bottom). 0 when none.
int HitTestScaleHandle(const DibRect& r, ImagePoint p);
// The sizing cursor of a handle: 1 top-left and bottom-right, 2 the other
// corners, 3 top and bottom, 4 left and right; 0 for none.
int ScaleHandleCursor(int flags);
// The flags for a scale rectangle (corners inclusive) that may be reversed:
// on a reversed side the handle moves the other edge.
int OrientScaleFlags(int flags, const DibRect& frame);
// The edges named by `flags` take the pointer's x or y.
DibRect DragScaleFrame(DibRect frame, int flags, ImagePoint p);
// Aligns the frame with grid cells of cellWidth x cellHeight (a reversed side
// keeps its direction).
DibRect SnapScaleFrame(DibRect frame, int cellWidth, int cellHeight);
// The cell the scale tool snaps to: none (0 x 0) without snapping, else the
// main or sub cell by the grid test.
void ScaleSnapCell(const GridSnap& grid, int* cellWidth, int* cellHeight);
// Width and height as reported: right - left + 1, or - 1 when reversed.
int ScaleFrameWidth(const DibRect& frame);
int ScaleFrameHeight(const DibRect& frame);

// The rotate tool.
struct RotateCentre {
    int x = 0;
    int y = 0;
};
RotateCentre RotationCentre(const DibRect& selection);
// The square around the centre with half side max(2w/3, 2h/3), clamped to
// the image (inclusive corners).
DibRect RotateArea(const DibRect& selection, int imageWidth, int imageHeight);
bool InRotateArea(const DibRect& area, ImagePoint p);
// The angle of the point about the centre, in whole degrees toward zero
// (clockwise on the screen: y points down).
int PointAngle(RotateCentre c, ImagePoint p);
// The angle of a rotate drag, 0..359: the angle at drag start turned by the
// pointer's turn since the button-down; with `fortyFive` rounded down to a
// multiple of 45.
int DragAngle(int dragStartAngle, int pointerAngle, int startAngle, bool fortyFive);

}  // namespace tools
