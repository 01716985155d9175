// Resampling by area averaging: one place for its weights and sums.
//
// Old and new pixels of one axis are laid on a common integer axis: old
// pixel i spans [i x new, (i + 1) x new) and new pixel c spans
// [c x old, (c + 1) x old). Every old pixel that overlaps a new one
// contributes its blue, green and red with the length of the overlap as
// weight (pixels fully inside weigh old / new in new-pixel units); a new
// pixel's colour is the sum of weight x channel over both axes divided by
// the sum of the weights, truncated. The sums are exact integers.
#pragma once

#include <cstdint>
#include <functional>

#include "imaging/dib_layout.h"

namespace dib {

// Fills `bgr` with old row y (0 = top) as old-width blue, green, red triples.
using BgrRowSource = std::function<void(int y, uint8_t* bgr)>;
// Receives new row y (0 = top) of the window: its window-width triples.
using BgrRowSink = std::function<void(int y, const uint8_t* bgr)>;

// Resamples an oldWidth x oldHeight picture to newWidth x newHeight. Only the
// new pixels inside `window` (new coordinates, right and bottom exclusive,
// cut to the new size) are made; `sink` gets each window row once, top row
// first. Nothing happens when a size is not positive or the window is empty.
// Work memory comes from the heap: std::bad_alloc when it cannot be had
// (nothing has reached the sink for the rows not yet made).
void AreaResample(int oldWidth, int oldHeight, int newWidth, int newHeight, const DibRect& window,
                  const BgrRowSource& source, const BgrRowSink& sink);

}  // namespace dib
