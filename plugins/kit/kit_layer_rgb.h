// The plug-ins' 24-bit work image and the way between it and a layer.
//
// The tool rectangle is the record's left, top, right, bottom (y from the
// top, right and bottom exclusive); all four zero means the whole image.
// Bottom-up row r lies inside when height - bottom <= r < height - top.
// Masks have the selection-mask layout: 1 bit per pixel, most significant
// bit first, rows of (width + 7) / 8 bytes, row 0 the top image row.
#pragma once

#include <cstdint>

#include "imaging/dib_layout.h"
#include "platform/memory.h"
#include "plugin_api/plugin_api.h"

// A 24-bit work image on the ordinary heap: blue, green, red per pixel, rows
// bottom-up like the layer they came from (row r is the layer's row r).
// Pixels outside the rectangle that filled it are undefined.
struct RgbBuffer {
    uint8_t* data;   // owned
    int32_t stride;  // ((width x 24 + 31) / 8) rounded down to a multiple of 4
    int32_t width;
    int32_t height;
};

// The record's rectangle cut to a width x height image, as bottom-up rows
// firstRow .. endRow - 1 and columns left .. right - 1.
struct ToolRowSpan {
    int firstRow, endRow, left, right;
    bool empty() const { return firstRow >= endRow || left >= right; }
};
ToolRowSpan ToolRowSpanOf(const PluginToolRecord* record, int width, int height);

// Bit x of top-down row `topRow` of a mask of an image `width` pixels wide.
inline bool MaskBit(const uint8_t* mask, int x, int topRow, int width) {
    size_t row = size_t(width + 7) / 8;
    return (mask[size_t(topRow) * row + size_t(x) / 8] >> (7 - x % 8)) & 1;
}

// The current layer: the record's edit layer, reached through its
// null-terminated table of at most 100 layers; null when it is not there.
MemHandle ToolCurrentLayer(const PluginToolRecord* record);

// The pixel rows (bottom-up, dib::LayerRowBytes apart) of a locked layer
// block when it holds a width x height layer; else null.
uint8_t* LayerRows(const MemLockGuard& layer, int width, int height);

// A new work image; null when it cannot be had or a size is not positive.
RgbBuffer* NewRgbBuffer(int width, int height);
// Frees the pixels and the record (null is ignored).
void FreeRgbBuffer(RgbBuffer* buffer);

// The current layer (the record's edit layer, reached through the record's
// null-terminated layer table) as a work image: every pixel inside the
// rectangle becomes its colour in the image's colour table, each byte
// inverted with `invert`. Null when the image is not a 4- or 8-bit DIB,
// the current layer is missing or does not hold the image's size, or memory
// runs out.
RgbBuffer* LayerToRgb(MemHandle image, const MemHandle* layers, const PluginToolRecord* record,
                      bool invert);
RgbBuffer* LayerToRgb(MemHandle image, const MemHandle* layers, const PluginToolRecord* record);

// Writes the work image back: each pixel inside the rectangle whose
// selection bit is set and whose protect bit is clear becomes the nearest
// colour of the image's table (NearestPaletteIndex); other pixels stay.
// A null mask counts as all set (selection) or all clear (protect). False
// when the image is not a 4- or 8-bit DIB or the layer or the work image do
// not hold the image's size.
bool RgbToLayer(MemHandle image, MemHandle layer, const RgbBuffer* work, const uint8_t* protectMask,
                const uint8_t* selectionMask, const PluginToolRecord* record);

// The first entry that equals blue, green, red exactly; else the entry with
// the least sum of squared differences, the lower index winning ties; 0 for
// count 0.
int NearestPaletteIndex(const PaletteEntry* palette, int count, uint8_t blue, uint8_t green,
                        uint8_t red);
