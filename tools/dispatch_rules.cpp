#include "tools/dispatch_rules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "tools/tool_dispatch.h"

namespace tools {

namespace {

int FloorDiv(int a, int b) {
    int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

ImagePoint ClientToImage(int clientX, int clientY, int scrollX, int scrollY, int zoom,
                         const GridSnap& grid, bool snap) {
    zoom = std::max(zoom, 1);
    ImagePoint p{FloorDiv(clientX + scrollX, zoom), FloorDiv(clientY + scrollY, zoom)};
    return snap ? SnapPointBack(p, grid) : p;
}

ImagePoint ConstrainShift(int tool, ImagePoint origin, ImagePoint p) {
    int dx = std::abs(origin.x - p.x), dy = std::abs(origin.y - p.y);
    if (tool == kPenTool) {
        if (dx < dy)
            p.x = origin.x;
        else
            p.y = origin.y;
        return p;
    }
    if (tool != kLineTool) return p;
    int half = static_cast<int>(std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy)) / 2;
    if (dx < half || dy < half) {
        if (dx < dy)
            p.x = origin.x;
        else
            p.y = origin.y;
        return p;
    }
    int len = std::max(dx, dy);
    return {origin.x - Sign(origin.x - p.x) * len, origin.y - Sign(origin.y - p.y) * len};
}

DibRect VisibleImageArea(int scrollX, int scrollY, int clientWidth, int clientHeight, int zoom) {
    zoom = std::max(zoom, 1);
    return {scrollX / zoom, scrollY / zoom, (scrollX + clientWidth) / zoom, (scrollY + clientHeight) / zoom};
}

ImagePoint AutoScrollStep(ImagePoint p, const DibRect& v, int zoom) {
    auto axis = [zoom](int c, int lo, int hi) {
        if (c < lo) return zoom * (c - lo);
        if (c >= hi) return zoom * (c - (hi - 1));
        return 0;
    };
    return {axis(p.x, v.left, v.right), axis(p.y, v.top, v.bottom)};
}

KeyDownPlan PlanKeyDown(int tool, KeyKind key, bool shiftHeld, bool ctrlHeld, bool layerStep,
                        bool selectionMoveDrag) {
    KeyDownPlan plan;
    plan.toTool = (tool == kSelectTool && !selectionMoveDrag) || tool == kScaleTool || tool == kRotateTool;
    bool chord = (key == KeyKind::kShift && ctrlHeld) || (key == KeyKind::kControl && shiftHeld);
    plan.layerStepOn = chord && !layerStep;
    plan.spaceKey = key == KeyKind::kSpace && tool != kTextTool;
    bool stepping = layerStep || plan.layerStepOn;
    if (stepping && key == KeyKind::kPageUp) plan.layerMove = 1;
    if (stepping && key == KeyKind::kPageDown) plan.layerMove = -1;
    return plan;
}

KeyUpPlan PlanKeyUp(KeyKind key, bool spaceKey, bool layerStep) {
    KeyUpPlan plan;
    plan.restoreCursor = spaceKey;
    plan.layerStepOff = layerStep && (key == KeyKind::kShift || key == KeyKind::kControl);
    return plan;
}

int CursorResource(int index) {
    static constexpr std::array<int, 27> kIds{110, 111, 112, 113, 114, 115, 116, 118, 119,
                                              144, 179, 180, 181, 182, 183, 184, 207, 249,
                                              250, 251, 252, 253, 254, 271, 272, 273, 274};
    if (index < 5 || index >= kCursorCount) return 0;
    return kIds[index - 5];
}

int RotateCursorIndex(int degrees) {
    degrees %= 360;
    if (degrees < 0) degrees += 360;
    static constexpr std::array<int, 8> kBySector{4, 2, 3, 1, 4, 2, 3, 1};
    if (degrees <= 22 || degrees > 337) return 4;
    return kBySector[(degrees - 23) / 45 + 1];
}

int CursorIndexFor(const CursorQuery& q, int current) {
    if (q.capture) return 0;
    if (q.guideEditing) return kMoveCursor;
    if (!q.overImage) return current;
    switch (q.tool) {
    case kSelectTool: return q.insideFloating ? kMoveCursor : 28 + std::clamp(q.selectionMode, 0, 3);
    case kWandTool: return q.insideFloating ? kMoveCursor : 24;
    case kHandTool: return kHandCursor;
    case kPenTool: return 5;
    case kLineTool: return 6;
    case kFillTool: return 13;
    case kRectOutlineTool: return 9;
    case kEllipseOutlineTool:
    case kCircleTool: return 10;
    case kZoomTool: return 23;
    case kFilledRectTool: return 11;
    case kFilledEllipseTool:
    case kFilledCircleTool: return 12;
    case kTextTool: return 27;
    case kScaleTool: return q.scaleHandle >= 1 && q.scaleHandle <= 4 ? q.scaleHandle : 0;
    case kRotateTool: return RotateCursorIndex(q.rotateAngle);
    case kMapRectTool:
    case kMapCircleTool:
    case kMapPointTool:
    case kMapPolyTool:
    case kMapMoveTool:
    case kMapDeleteTool: return 18;
    case kMapUrlTool: return 21;
    default: return current;
    }
}

}  // namespace tools
