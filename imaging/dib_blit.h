// Rectangle copies between packed DIBs and layer buffers.
//
// Coordinates are image pixels with y counted from the top; rows are stored
// bottom-up. Clipping, in this order: the width is cut to destination
// width - x and to source width - source x, the height likewise; a negative
// destination x moves the source x right by the same amount and shortens the
// width (likewise y); a negative source x moves the destination x right and
// shortens the width (likewise y); nothing happens when width or height is
// not positive. Rows are copied from the rectangle's bottom row upwards.
//
// Pixel formats: 8-bit rows are padded to 4 bytes; 16-, 24- and 32-bit rows
// are width x bytes. With a destination layer the layer's rows are written,
// addressed with the destination image's width and height; with
// `sourceIsLayer` the source is a layer buffer sized by its header rectangle.
// Destination and source must have the same bytes per pixel (layers count as
// 8-bit); 1- and 4-bit images and blocks too small for their header are
// refused. Each function returns true when it copied a rectangle.
//
// Index tables are 256 bytes, nonzero meaning yes; a null table allows every
// index. They apply to 8-bit pixels only.
#pragma once

#include <cstdint>

#include "platform/memory.h"

// A 1-bit mask: rows of `rowBytes` bytes, the top row first, the most
// significant bit first (the selection-mask layout). The bit of a pixel
// (x, y) is bit firstBit + x of row firstRow + y. Bits outside the block or
// outside a row count as clear.
struct DibMask {
    MemHandle bits = nullptr;
    int rowBytes = 0;   // right - left of the mask's byte rectangle
    int firstRow = 0;
    int firstBit = 0;
};

// With a mask (addressed by source coordinates), a pixel is written only
// where its bit is set.
bool BlitDibRect(MemHandle destination, MemHandle source, int x, int y, int width, int height,
                 int sourceX, int sourceY, MemHandle destinationLayer = nullptr,
                 bool sourceIsLayer = false, const DibMask* mask = nullptr);

// With a mask: a pixel is written only where its bit is set, its source index
// is enabled and the destination index is writable. Without a mask: with the
// map-tool mode on only enabled source indices are written, otherwise whole
// rows are copied.
bool BlitDibRectEx(MemHandle destination, MemHandle source, int x, int y, int width, int height,
                   int sourceX, int sourceY, const uint8_t* writableDestination,
                   const uint8_t* enabledSource, MemHandle destinationLayer = nullptr,
                   bool sourceIsLayer = false, const DibMask* mask = nullptr);

// A pixel is written only where its source index is enabled and the
// destination index is writable.
bool BlitDibRectGuarded(MemHandle destination, MemHandle source, int x, int y, int width,
                        int height, int sourceX, int sourceY, const uint8_t* writableDestination,
                        const uint8_t* enabledSource, MemHandle destinationLayer = nullptr,
                        bool sourceIsLayer = false);

// The map-tool mode of BlitDibRectEx (set from the MapTool setting; off at start).
void SetBlitMapToolMode(bool on);
bool BlitMapToolMode();
