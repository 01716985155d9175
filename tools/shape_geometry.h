// Geometry of the rectangle, ellipse and circle tools, free of documents:
// the box a drag spans under the three size constraints, the box a stroke
// of a given thickness covers for each outline position, and the repaint
// area. Boxes are image pixels in 64 bits (a typed width or height may be
// near 2^31), right and bottom exclusive.
#pragma once

#include <cstdint>

#include "tools/draw_rects.h"

namespace tools {

struct ShapeBox {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;
    int64_t Width() const { return right - left; }
    int64_t Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const ShapeBox&) const = default;
};

// The size constraints of tool settings 6 and 9.
enum ShapeConstraint : int {
    kShapeFree = 0,          // the pixels from the start to the pointer
    kShapeProportional = 1,  // proportional to width x height
    kShapeFixed = 2,         // width x height with its top-left at the pointer
};

struct DragRule {
    int constraint = kShapeFree;
    int64_t width = 1;   // settings 7 and 10 (at least 1)
    int64_t height = 1;  // settings 8 and 11 (at least 1)
    // Shift on the rectangle outline's free drag: the box becomes a square,
    // its side taken from the x drag when (P.x - S.x) < (P.y - S.y), compared
    // as signed numbers, else from the y drag.
    bool square = false;
};

// The box of a drag from `start` to `pointer` in an image of
// imageWidth x imageHeight. Free: both points and the pixels between.
// Proportional: R = min(|dx|, |dy|), the end corner start + (sign(dx) R W / M,
// sign(dy) R H / M) with M = max(W, H), clamped to the image. Fixed: W x H
// pixels from the pointer. An unknown constraint counts as free.
ShapeBox DragBox(ImagePoint start, ImagePoint pointer, const DragRule& rule, int imageWidth, int imageHeight);

// The square pen of `thickness` (1..100) stamped at x covers x - Before ..
// x + After (pen_stamps.h: an odd size takes its extra pixel on the left and
// top); Before + After + 1 = thickness.
int PenBefore(int thickness);
int PenAfter(int thickness);

// Tool setting 12: where the stroke lies against the dragged box.
enum OutlinePosition : int { kOutlineInside = 0, kOutlineCentre = 1, kOutlineOutside = 2 };

// The box the stroke of `thickness` covers around dragged box `drag`:
// inside, the drag box itself (the stroke is its outer ring); outside, the
// drag box grown by the thickness (the ring around it); centre (and any
// other value), the drag box as the pen stamped on its border pixels covers
// it.
ShapeBox StrokeBox(const ShapeBox& drag, int thickness, int position);

// The box whose one-pixel outline, stamped with the pen of `thickness`,
// covers `stroke` (StrokeBox's result) exactly; empty when the stroke is
// narrower or lower than the pen.
ShapeBox PenPathBox(const ShapeBox& stroke, int thickness);

// The circle of radius r about `centre`: 2r + 1 pixels a side.
ShapeBox CircleBox(ImagePoint centre, int64_t radius);
// The integer part of the distance between two points.
int64_t CircleRadius(ImagePoint centre, ImagePoint pointer);

// `box` cut to the image grown by `margin` on every side (empty stays
// empty); then small enough for int.
ShapeBox ClipBox(const ShapeBox& box, int imageWidth, int imageHeight, int margin);
// The repaint rectangle of a drawn box (corners inclusive), within the image.
DibRect DirtyRect(const ShapeBox& box, int imageWidth, int imageHeight);

}  // namespace tools
