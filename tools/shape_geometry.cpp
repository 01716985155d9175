#include "tools/shape_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tools {

namespace {

int64_t Sign(int64_t v) { return (v > 0) - (v < 0); }

// The box of two corner pixels in any order.
ShapeBox Spanned(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1, std::max(y0, y1) + 1};
}

}  // namespace

ShapeBox DragBox(ImagePoint start, ImagePoint pointer, const DragRule& rule, int imageWidth, int imageHeight) {
    const int64_t sx = start.x, sy = start.y;
    const int64_t dx = int64_t(pointer.x) - sx, dy = int64_t(pointer.y) - sy;
    const int64_t w = std::max<int64_t>(rule.width, 1), h = std::max<int64_t>(rule.height, 1);
    switch (rule.constraint) {
    case kShapeFixed: return {pointer.x, pointer.y, pointer.x + w, pointer.y + h};
    case kShapeProportional: {
        const int64_t r = std::min(std::abs(dx), std::abs(dy)), m = std::max(w, h);
        const int64_t ex = std::clamp<int64_t>(sx + Sign(dx) * (r * w / m), 0, std::max(imageWidth - 1, 0));
        const int64_t ey = std::clamp<int64_t>(sy + Sign(dy) * (r * h / m), 0, std::max(imageHeight - 1, 0));
        return Spanned(sx, sy, ex, ey);
    }
    default: break;
    }
    if (!rule.square) return Spanned(sx, sy, pointer.x, pointer.y);
    if (dx < dy) return Spanned(sx, sy, pointer.x, sy + Sign(dy) * std::abs(dx));
    return Spanned(sx, sy, sx + Sign(dx) * std::abs(dy), pointer.y);
}

int PenBefore(int thickness) { return thickness <= 1 ? 0 : thickness / 2 + thickness % 2; }
int PenAfter(int thickness) { return thickness <= 1 ? 0 : thickness / 2 - 1; }

ShapeBox StrokeBox(const ShapeBox& d, int thickness, int position) {
    const int64_t t = std::max(thickness, 1);
    switch (position) {
    case kOutlineInside: return d;
    case kOutlineOutside: return {d.left - t, d.top - t, d.right + t, d.bottom + t};
    default: {
        const int64_t before = PenBefore(thickness), after = PenAfter(thickness);
        return {d.left - before, d.top - before, d.right + after, d.bottom + after};
    }
    }
}

ShapeBox PenPathBox(const ShapeBox& stroke, int thickness) {
    const ShapeBox path{stroke.left + PenBefore(thickness), stroke.top + PenBefore(thickness),
                        stroke.right - PenAfter(thickness), stroke.bottom - PenAfter(thickness)};
    return path.Empty() ? ShapeBox{} : path;
}

ShapeBox CircleBox(ImagePoint c, int64_t r) { return {c.x - r, c.y - r, c.x + r + 1, c.y + r + 1}; }

int64_t CircleRadius(ImagePoint c, ImagePoint p) {
    const int64_t dx = int64_t(p.x) - c.x, dy = int64_t(p.y) - c.y;
    const int64_t d2 = dx * dx + dy * dy;
    int64_t r = int64_t(std::sqrt(double(d2)));
    while (r > 0 && r * r > d2) --r;
    while ((r + 1) * (r + 1) <= d2) ++r;
    return r;
}

ShapeBox ClipBox(const ShapeBox& b, int imageWidth, int imageHeight, int margin) {
    if (b.Empty()) return {};
    const ShapeBox c{std::max<int64_t>(b.left, -int64_t(margin)), std::max<int64_t>(b.top, -int64_t(margin)),
                     std::min<int64_t>(b.right, int64_t(imageWidth) + margin),
                     std::min<int64_t>(b.bottom, int64_t(imageHeight) + margin)};
    return c.Empty() ? ShapeBox{} : c;
}

DibRect DirtyRect(const ShapeBox& box, int imageWidth, int imageHeight) {
    const ShapeBox c = ClipBox(box, imageWidth, imageHeight, 0);
    if (c.Empty()) return {0, 0, -1, -1};
    return {int(c.left), int(c.top), int(c.right - 1), int(c.bottom - 1)};
}

}  // namespace tools
