// Pixel writes of the drawing core: the single pixel, horizontal runs, pen
// stamps and lines of stamps. Every write goes into the current layer (or
// the composite of a document without layers) and recomposes exactly the
// written pixels of the composite. Writes outside the image are clipped; an
// invisible or missing current layer makes every write a no-op.
#pragma once

#include "tools/draw_target.h"

namespace tools {

// One pixel, through the tone mask unless the write flag is set.
void WritePixel(const DrawTarget& target, int x, int y);

// `count` pixels from (x, y) rightwards. Without layers each pixel becomes
// ResolveDrawColor(old, colour) while the pattern is not 0, else the colour;
// with layers the current layer takes the colour, through the tone mask
// unless the write flag is set.
void FillSpan(const DrawTarget& target, int x, int y, int count);

// One stamp at an image point. A fixed pen asks the sink to repaint its box
// (the point inflated by the pen's margin) when `repaint` is set.
void StampPen(const DrawTarget& target, const PenStamp& stamp, int x, int y, bool repaint);

// The square or round custom stamp of `size` at (x, y).
void StampPenShape(const DrawTarget& target, int x, int y, int size, bool round);

// A width x height rectangle centred on pixel (x, y) turned by `angle`.
void StampTurnedRect(const DrawTarget& target, int x, int y, int width, int height, double angle);

// Stamps along the Bresenham line from (x0, y0) to (x1, y1), both ends
// included; after each stamp the next `skip` points are left out (0: every
// point is stamped).
void StampPenLine(const DrawTarget& target, const PenStamp& stamp, int x0, int y0, int x1, int y1,
                  bool repaint, int skip = 0);

}  // namespace tools
