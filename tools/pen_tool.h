// Geometry of the pen tool's strokes: the rectangle a stroke segment
// repaints, and whether a release lies outside the part of the image the
// view shows.
#pragma once

#include "imaging/dib_layout.h"
#include "tools/draw_rects.h"
#include "tools/pen_stamps.h"

namespace tools {

// How far a pen segment's repaint rectangle reaches beyond its points
// before the dirty-rectangle helper adds the pen's margin: the custom size
// for the custom pens, else 0.
int PenDirtyRadius(int penId, const CustomPenTable& pens = CustomPens());

// The rectangle of points a and b inflated by PenDirtyRadius (right and
// bottom inclusive, ready for SnapRectToGrid).
DibRect PenSegmentRect(ImagePoint a, ImagePoint b, int penId, const CustomPenTable& pens = CustomPens());

// True when image point p lies outside the visible part of a view scrolled
// to (scrollX, scrollY) with a client area of clientWidth x clientHeight at
// `zoom`.
bool OutsideVisibleImage(ImagePoint p, int scrollX, int scrollY, int clientWidth, int clientHeight, int zoom);

}  // namespace tools
