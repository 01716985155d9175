// Softening strong colour edges of a 24-bit picture.
#pragma once

#include <cstdint>

#include "imaging/dib_layout.h"

namespace dib {

// The squared colour distance above which two neighbours make an edge.
inline constexpr int kEdgeThreshold = 50000;

// `bgr` is a picture of width x height, 3 bytes (blue, green, red) a pixel,
// rows packed, top row first. For every pixel of `window` (cut to the
// picture; right and bottom exclusive): when any of its 8 neighbours inside
// the picture lies farther than `threshold` from it (squared distance of the
// channels), its result is the average per channel (truncated) of the
// pixels of the 3 x 3 block around it that lie inside the picture; else its
// own colour. `out` receives the window's results, rows packed at window
// width x 3 bytes, top row first.
void SmoothStrongEdges(const uint8_t* bgr, int width, int height, const DibRect& window,
                       int threshold, uint8_t* out);

}  // namespace dib
