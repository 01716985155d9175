// The rules the canvas view follows between the mouse and the tools, free of
// widgets: client points to image pixels, the Shift constraints of the pen
// and the line, the autoscroll step, the keys, and the cursor of each tool.
#pragma once

#include "tools/draw_rects.h"

namespace tools {

// Client point (less the centring offsets) to image pixels: the scroll
// position added, divided by the zoom, then moved back to the previous grid
// line when `snap` is set.
ImagePoint ClientToImage(int clientX, int clientY, int scrollX, int scrollY, int zoom,
                         const GridSnap& grid, bool snap);

// Pen: the stroke stays vertical or horizontal through `origin`. Line: it
// snaps to the nearer axis when it is close to one, else it goes to 45
// degrees with the longer side's length. Other tools: `p` unchanged.
ImagePoint ConstrainShift(int tool, ImagePoint origin, ImagePoint p);

// The image pixels the client area shows: left/top = scroll / zoom,
// right/bottom (exclusive) = (scroll + client size) / zoom.
DibRect VisibleImageArea(int scrollX, int scrollY, int clientWidth, int clientHeight, int zoom);
inline bool InArea(const DibRect& a, ImagePoint p) {
    return p.x >= a.left && p.x < a.right && p.y >= a.top && p.y < a.bottom;
}
// Autoscroll step of a dragged point outside `visible`: per axis zoom times
// the distance beyond the last visible pixel (negative to the left and top),
// 0 on an axis where the point is inside.
ImagePoint AutoScrollStep(ImagePoint p, const DibRect& visible, int zoom);

// Keys as the view sees them.
enum class KeyKind { kOther, kShift, kControl, kSpace, kPageUp, kPageDown };
struct KeyDownPlan {
    bool toTool = false;          // the tool's key handler gets the key first
    bool layerStepOn = false;     // switch the layer-step mode on and recompose
    bool spaceKey = false;        // set the Space-key flag, show the hand
    int layerMove = 0;            // +1 current layer up, -1 down
};
// `selectionMoveDrag` is DragState bit 4; `layerStep` the document's mode.
KeyDownPlan PlanKeyDown(int tool, KeyKind key, bool shiftHeld, bool ctrlHeld, bool layerStep,
                        bool selectionMoveDrag);
struct KeyUpPlan {
    bool restoreCursor = false;  // the Space-key flag is dropped
    bool layerStepOff = false;   // the mode ends and all visible layers compose again
};
KeyUpPlan PlanKeyUp(KeyKind key, bool spaceKey, bool layerStep);

// The cursor table: 0 the arrow, 1..4 the sizing arrows (diagonal \, diagonal
// /, vertical, horizontal), 5..31 the program's cursors by resource number.
inline constexpr int kCursorCount = 32;
inline constexpr int kHandCursor = 14;
inline constexpr int kMoveCursor = 8;
// The program cursor's resource number of a table index; 0 for 0..4.
int CursorResource(int index);
// Rotate-tool cursor of an angle in degrees around the rotation centre.
int RotateCursorIndex(int degrees);

struct CursorQuery {
    int tool = 0;
    bool capture = false;
    bool overImage = false;
    bool insideFloating = false;
    int selectionMode = 0;  // 0..3
    int scaleHandle = 0;    // 1..4 over a corner handle of the scale tool
    int rotateAngle = 0;    // degrees, for the rotate tool
    bool guideEditing = false;
};
// The cursor index after a mouse move, from the current one.
int CursorIndexFor(const CursorQuery& q, int current);

}  // namespace tools
