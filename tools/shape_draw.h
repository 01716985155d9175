// The rasterisers of the rectangle, ellipse and circle tools over the
// drawing core: every pixel through FillSpan (runs) or WritePixel (the
// one-pixel pen), so the current layer takes the current colour and tone and
// the composite is recomposed where it changed. Boxes are right and bottom
// exclusive (shape_geometry.h). Only rows of the image are walked and runs
// are cut to it, so a box of any size costs no more than the image.
#pragma once

#include "tools/draw_target.h"
#include "tools/shape_geometry.h"

namespace tools {

// The stroke of the square pen of `thickness` stamped along the four edges
// of PenPathBox(stroke): the ring of `stroke` that is `thickness` pixels
// wide (all of it when it is narrower or lower). Each pixel is written once;
// the one-pixel pen writes as the pen does.
void DrawRectOutline(const DrawTarget& target, const ShapeBox& stroke, int thickness);

// The box filled with one run per row; with `withOutline` its one-pixel
// border is written first, as the pen writes it.
void FillRectWithOutline(const DrawTarget& target, const ShapeBox& box, bool withOutline);

// The ellipse of a box: the pixels whose centres lie in the ellipse that
// touches the box's four sides (document::EllipseRowExtent), every row of the
// box keeping at least its middle pixel(s) and the middle row(s) reaching
// both sides, so that the shape covers exactly the box's columns and rows, is
// symmetric, and has one run per row. Row `row` (0 = top) as offsets from
// the box's left; false outside the box.
bool ShapeEllipseRow(int64_t width, int64_t height, int64_t row, int64_t* first, int64_t* last);

// The ellipse's outline: its pixels with a horizontal or vertical
// neighbour outside it, each stamped with the square pen of `thickness`.
// The stroke covers StrokeBox(box), where `box` = the box of the path; pass
// the path box (PenPathBox of the stroke box).
void DrawEllipse(const DrawTarget& target, const ShapeBox& path, int thickness);

// The ellipse of the box filled, one run per row. Its one-pixel outline lies
// inside the runs and is not written again.
void DrawFilledEllipse(const DrawTarget& target, const ShapeBox& box);

}  // namespace tools
