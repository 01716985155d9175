// The magic wand's region: the 4-connected pixels of one palette index in
// an image-size layer, grown into a selection mask, and the edge points of
// a selection for its outline. Pure bit and byte work on locked blocks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/selection_mask.h"

namespace document {

// An image-size layer's pixels: rows bottom-up, `stride` bytes a row.
struct WandLayer {
    const uint8_t* pixels = nullptr;
    size_t stride = 0;
    int width = 0;
    int height = 0;
    const uint8_t* Row(int y) const { return pixels + size_t(height - 1 - y) * stride; }
};

// Writes into `mask` (every bit of its rows) the 4-connected region of
// pixels holding exactly the index at (x, y). The layer is only read.
// Nothing for a point outside. False when the work memory could not be had:
// the mask is all clear then.
bool GrowWandRegion(const MaskBits& mask, const WandLayer& layer, int x, int y);

// Into `edges` (not cleared here): for every row, the first pixel of each
// run of selected pixels and the first unselected pixel after it; then the
// same down every column.
void MarkRegionEdges(const MaskBits& selection, const MaskBits& edges);

// Makes the next grows fail as if their memory were refused (tests).
void SetWandMemoryRefusedForTest(bool refused);

}  // namespace document
