// Filling and remapping rectangles of packed DIBs and layer buffers.
//
// Coordinates are image pixels, y from the top; rectangles are clipped to the
// image. With a layer the layer's rows are changed, addressed with the
// image's width and height (8-bit indices). Rows follow the library rule:
// indexed rows padded to 4 bytes, 16- and 24-bit rows width x bytes. Each
// function returns true when it changed a rectangle; a null image or a block
// too small for its header changes nothing.
#pragma once

#include <cstdint>

#include "imaging/dib_blit.h"
#include "platform/memory.h"

// 8-bit pixels (and layers) take the low byte of the value, 4- and 1-bit
// pixels its low 4 bits or low bit; 16, 24 and 32 bits per pixel take the
// value's low bytes, low byte first.
bool FillDibRect(MemHandle image, int x, int y, int width, int height, uint32_t value,
                 MemHandle layer = nullptr);

// Indexed images and layers: every pixel of the rectangle whose mask bit is
// set becomes 0 (the mask is addressed by image coordinates). 16 to 32 bits
// per pixel: the rectangle is filled with the value, the mask is not read.
bool FillDibRectMasked(MemHandle image, int x, int y, int width, int height, uint32_t value,
                       MemHandle layer, const DibMask& mask);

// Every 8-bit pixel with left <= x < right and top <= y < bottom becomes
// map[pixel] (256 entries). Other bit counts are left alone.
bool RemapDibRect(MemHandle image, const uint8_t* map, int left, int top, int right, int bottom,
                  MemHandle layer = nullptr);
