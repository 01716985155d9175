// The 4-connected area of one palette index in rows of one byte a pixel,
// found as a bit plane: the grow behind the fill tool and the magic wand.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/dib_layout.h"

namespace dib {

// Palette indices, one byte a pixel, `stride` bytes a row. Image row y is
// stored row height - 1 - y when bottomUp (a layer's order), else row y.
struct IndexRows {
    const uint8_t* pixels = nullptr;
    size_t stride = 0;
    int width = 0;
    int height = 0;
    bool bottomUp = true;
    const uint8_t* Row(int y) const { return pixels + size_t(bottomUp ? height - 1 - y : y) * stride; }
};

// One bit a pixel, rows top-down of `stride` bytes, pixel x being bit
// 7 - x mod 8 of byte x / 8 (the selection-mask layout).
struct BitRows {
    uint8_t* bits = nullptr;
    size_t stride = 0;
};

// What the area may take besides the index: pixels inside `rect` (right and
// bottom exclusive, cut to the picture) and, when `allowed` is given, set in
// it (rows as BitRows, `allowedStride` bytes each).
struct RegionLimits {
    DibRect rect{};
    const uint8_t* allowed = nullptr;
    size_t allowedStride = 0;
};

// Writes into `region` the pixels that hold the index of (seedX, seedY),
// lie within the limits and are reached from the seed through such pixels,
// stepping left, right, up and down. Every bit of the region's first
// (width + 7) / 8 bytes of each of its height rows is written: 1 for the
// area, else 0 (padding bits too). A seed outside the limits gives an empty
// area. The pixels are only read. False when the work memory cannot be had:
// the region is then all 0.
bool GrowIndexRegion(const IndexRows& pixels, int seedX, int seedY, const RegionLimits& limits,
                     const BitRows& region);

}  // namespace dib
