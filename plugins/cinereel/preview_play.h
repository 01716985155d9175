// The preview's frame rules, free of widgets and shared with the GIF
// writer: the play order of the non-empty frames, the placement of a frame
// inside the largest one by the base position, and the copy of a frame's
// pixels out of layer 0 clipped to the image.
#pragma once

#include <cstdint>
#include <vector>

#include "plugins/cinereel/sheet_frame.h"

namespace cinereel {

struct PlayOrder {
    std::vector<int> frames;  // indices of the non-empty frames, in order
    int width = 0;            // largest width and height among them
    int height = 0;
};
PlayOrder Recount(const SheetFrame* frames);

struct Offset {
    int x = 0, y = 0;
    bool operator==(const Offset&) const = default;
};
// Offset of a w x h frame inside the largest W x H by base position 0..8
// (any other value: the top left).
Offset PlaceFrame(int basePos, int W, int H, int w, int h);

// Copies frame `f` of layer 0 (rows bottom-up, `stride` apart, image
// `imageW` x `imageH`) into `dst` (rows top-down, dstW x dstH, `dstStride`
// apart) at (ox, oy). Only pixels inside the image and inside dst are
// written; the caller fills dst beforehand.
void CopyFrame(const uint8_t* bits, int stride, int imageW, int imageH, const SheetFrame& f, uint8_t* dst,
               int dstStride, int dstW, int dstH, int ox, int oy);

}  // namespace cinereel
