// Turning and scaling the floating selection: pure pixel and bit work on
// locked blocks.
//
// The floating selection is a rectangle of W x H pixels (the source
// rectangle); its pixels are a layer buffer of that size and its mask a
// block of mask bytes of that rectangle. It is put into a destination
// rectangle of the image: the source is scaled by the destination's size
// over its own, times `scale`, and turned by `angle` degrees (clockwise on
// the screen, y pointing down) about the centres of the two rectangles.
// Every destination pixel is mapped back by the inverse transform from its
// centre and takes the source pixel the mapped point falls in (nearest
// pixel, no blending); at multiples of 90 degrees and at whole scale
// factors this is exact.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "document/selection_mask.h"
#include "imaging/dib_layout.h"

namespace document {

// Mask bits of a rectangle: local pixel (x, y) is bit firstBit + x of row y
// (rows of rowBytes bytes). Outside width x height, or outside the block,
// bits read clear.
struct MaskRectBits {
    const uint8_t* data = nullptr;
    size_t size = 0;
    int rowBytes = 0;
    int firstBit = 0;
    int width = 0;
    int height = 0;
    bool Get(int x, int y) const {
        if (!data || x < 0 || y < 0 || x >= width || y >= height || rowBytes <= 0) return false;
        const int64_t bit = int64_t(firstBit) + x;
        if (bit < 0 || bit / 8 >= rowBytes) return false;
        const size_t at = size_t(y) * size_t(rowBytes) + size_t(bit / 8);
        if (at >= size) return false;
        return (data[at] >> (7 - (bit & 7))) & 1;
    }
};

// Pixel rows of a layer buffer, addressed top-down: pixel (x, y) is byte x of
// memory row rows - 1 - y.
struct LayerPixels {
    uint8_t* data = nullptr;  // first byte after the header
    size_t rowBytes = 0;
    int rows = 0;             // memory rows
    int width = 0;            // pixels usable in a row
    bool Inside(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < width && y < rows; }
    uint8_t& At(int x, int y) const { return data[size_t(rows - 1 - y) * rowBytes + size_t(x)]; }
};

struct FloatGeometry {
    DibRect source{};       // the floating rectangle (ordered before use)
    DibRect destination{};  // where it goes, in image pixels
    double angle = 0.0;     // degrees
    double scale = 1.0;
};

// The four corners of the destination rectangle, scaled by `scale` and
// turned by the angle about its centre, rounded to the nearest pixel:
// top-left, top-right, bottom-right, bottom-left.
using FloatFrame = std::array<std::array<int32_t, 2>, 4>;
FloatFrame TransformedFrame(const FloatGeometry& g);

// Sets the destination mask bit (image pixels) of every destination pixel
// whose source point falls on a set bit of `source`.
void TransformMaskBits(const FloatGeometry& g, const MaskRectBits& source,
                       const MaskBits& destination);

// Writes into `destination` (an image-size layer) the source pixel of every
// destination pixel whose source point lies in the floating rectangle and,
// with a mask, on a set bit of it.
void TransformPixels(const FloatGeometry& g, const LayerPixels& source, const MaskRectBits* mask,
                     const LayerPixels& destination);

// The nearest-pixel scaling of image-size layers: for each offset (u, v) of
// the destination rectangle, where the selection bit of the destination
// pixel is set, it takes the source pixel at
// (srcL + u x sw / dw + ox, srcT + v x sh / dh + oy); a source point outside
// the source leaves the pixel as it was.
void ScaleLayerPixels(const DibRect& sourceRect, const DibRect& destinationRect,
                      const LayerPixels& source, const LayerPixels& destination,
                      const MaskBits& selection, int ox, int oy);

}  // namespace document
