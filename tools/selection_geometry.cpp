#include "tools/selection_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tools {

namespace {

int Clamp64(int64_t v, int low, int high) { return int(std::clamp<int64_t>(v, low, high)); }

int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

// v mod cell in 0..cell - 1.
int Mod(int v, int cell) {
    int m = v % cell;
    return m < 0 ? m + cell : m;
}

DibRect Clamped(int64_t left, int64_t top, int64_t right, int64_t bottom, const BandRule& rule) {
    DibRect r{Clamp64(left, 0, rule.imageWidth), Clamp64(top, 0, rule.imageHeight),
              Clamp64(right, 0, rule.imageWidth), Clamp64(bottom, 0, rule.imageHeight)};
    return OrderRect(r);
}

}  // namespace

DibRect SelectionBand(const BandRule& rule, ImagePoint& start, ImagePoint pointer) {
    const int64_t w = std::max(rule.width, 0), h = std::max(rule.height, 0);
    const int64_t m = std::max<int64_t>({w, h, 1});
    const int64_t dx = int64_t(pointer.x) - start.x, dy = int64_t(pointer.y) - start.y;
    switch (rule.constraint) {
    case kConstraintRatio: {
        if (rule.shape == kShapeEllipse)
            return Clamped(start.x, start.y, start.x + w * dx / m, start.y + h * dy / m, rule);
        const int64_t reach = std::min(std::llabs(dx), std::llabs(dy));
        return Clamped(start.x, start.y, start.x + Sign(int(dx)) * reach * w / m,
                       start.y + Sign(int(dy)) * reach * h / m, rule);
    }
    case kConstraintFixed:
        start = pointer;
        return Clamped(pointer.x, pointer.y, pointer.x + w, pointer.y + h, rule);
    default: {
        DibRect r = OrderRect({start.x, start.y, pointer.x, pointer.y});
        return Clamped(r.left, r.top, int64_t(r.right) + 1, int64_t(r.bottom) + 1, rule);
    }
    }
}

int HitTestScaleHandle(const DibRect& r, ImagePoint p) {
    auto near = [](int a, int b) { return std::abs(int64_t(a) - b) <= kHandleReach; };
    struct Corner {
        int x, y, flags;
    };
    const Corner corners[] = {{r.left, r.top, kScaleLeft | kScaleTop},
                              {r.right, r.bottom, kScaleRight | kScaleBottom},
                              {r.left, r.bottom, kScaleLeft | kScaleBottom},
                              {r.right, r.top, kScaleRight | kScaleTop}};
    for (const Corner& c : corners)
        if (near(p.x, c.x) && near(p.y, c.y)) return c.flags;
    const bool alongY = p.y >= r.top && p.y <= r.bottom;
    const bool alongX = p.x >= r.left && p.x <= r.right;
    if (alongY && near(p.x, r.left)) return kScaleLeft;
    if (alongY && near(p.x, r.right)) return kScaleRight;
    if (alongX && near(p.y, r.top)) return kScaleTop;
    if (alongX && near(p.y, r.bottom)) return kScaleBottom;
    return 0;
}

int ScaleHandleCursor(int flags) {
    switch (flags) {
    case kScaleLeft | kScaleTop:
    case kScaleRight | kScaleBottom: return 1;
    case kScaleLeft | kScaleBottom:
    case kScaleRight | kScaleTop: return 2;
    case kScaleTop:
    case kScaleBottom: return 3;
    case kScaleLeft:
    case kScaleRight: return 4;
    default: return 0;
    }
}

int OrientScaleFlags(int flags, const DibRect& frame) {
    // A reversed side swaps its two edges; a handle without either keeps
    // what it has.
    auto swap = [&flags](int a, int b) {
        const int had = flags & (a | b);
        if (had == a || had == b) flags ^= a | b;
    };
    if (frame.right < frame.left) swap(kScaleLeft, kScaleRight);
    if (frame.bottom < frame.top) swap(kScaleTop, kScaleBottom);
    return flags;
}

DibRect DragScaleFrame(DibRect frame, int flags, ImagePoint p) {
    if (flags & kScaleLeft) frame.left = p.x;
    if (flags & kScaleRight) frame.right = p.x;
    if (flags & kScaleTop) frame.top = p.y;
    if (flags & kScaleBottom) frame.bottom = p.y;
    return frame;
}

DibRect SnapScaleFrame(DibRect frame, int cellWidth, int cellHeight) {
    auto align = [](int& low, int& high, int cell) {
        if (cell <= 0) return;
        if (high < low) {
            low = low + cell - Mod(low, cell) - 1;
            high = high - Mod(high, cell);
        } else {
            low = low - Mod(low, cell);
            high = high + cell - Mod(high, cell) - 1;
        }
    };
    align(frame.left, frame.right, cellWidth);
    align(frame.top, frame.bottom, cellHeight);
    return frame;
}

void ScaleSnapCell(const GridSnap& grid, int* cellWidth, int* cellHeight) {
    DibRect unused{};
    *cellWidth = *cellHeight = 0;
    if (!(grid.flags & 3)) return;
    const bool sub = GridSnapActive(unused, grid) == 1;
    *cellWidth = sub ? grid.subWidth : grid.mainWidth;
    *cellHeight = sub ? grid.subHeight : grid.mainHeight;
}

int ScaleFrameWidth(const DibRect& frame) {
    return frame.right - frame.left + (frame.right < frame.left ? -1 : 1);
}

int ScaleFrameHeight(const DibRect& frame) {
    return frame.bottom - frame.top + (frame.bottom < frame.top ? -1 : 1);
}

RotateCentre RotationCentre(const DibRect& s) {
    return {s.left + (s.right - s.left) / 2, s.top + (s.bottom - s.top) / 2};
}

DibRect RotateArea(const DibRect& s, int imageWidth, int imageHeight) {
    const int64_t w = int64_t(s.right) - s.left, h = int64_t(s.bottom) - s.top;
    const int64_t d = std::max(2 * w / 3, 2 * h / 3);
    const RotateCentre c = RotationCentre(s);
    const int maxX = std::max(imageWidth - 1, 0), maxY = std::max(imageHeight - 1, 0);
    return {Clamp64(c.x - d, 0, maxX), Clamp64(c.y - d, 0, maxY), Clamp64(c.x + d, 0, maxX),
            Clamp64(c.y + d, 0, maxY)};
}

bool InRotateArea(const DibRect& a, ImagePoint p) {
    return p.x >= a.left && p.x <= a.right && p.y >= a.top && p.y <= a.bottom;
}

int PointAngle(RotateCentre c, ImagePoint p) {
    return int(std::atan2(double(p.y - c.y), double(p.x - c.x)) * 57.29577950560105);
}

int DragAngle(int dragStartAngle, int pointerAngle, int startAngle, bool fortyFive) {
    int64_t a = int64_t(dragStartAngle) + pointerAngle - startAngle + 360;
    a = ((a % 360) + 360) % 360;
    if (fortyFive) a -= a % 45;
    return int(a);
}

}  // namespace tools
