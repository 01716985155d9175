// Writing glyph bitmaps into a layer and its 24-bit composite, and the
// composite itself.
//
// Image rows are y from the top here; layer and composite rows are
// bottom-up (row height - 1 - y). The text mask and the selection have the
// selection-mask layout (top row first, (width + 7) / 8 bytes a row).
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/dib_layout.h"
#include "platform/memory.h"
#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit_layer_rgb.h"

// A COLORREF: 0x00BBGGRR.
using ColorRef = uint32_t;

// One glyph's bitmap. Grey: one byte a pixel, levels 0 (nothing) to 64
// (full). Mono: one bit a pixel, most significant bit first. Rows `pitch`
// bytes apart, top row first.
struct GlyphBitmap {
    int width = 0;
    int rows = 0;
    int pitch = 0;
    bool gray = false;
    const uint8_t* bits = nullptr;
};

// Where a render writes: the work layer, the composite copy, the text mask
// and, per pixel, the palette index a full-coverage glyph pixel was given.
struct RenderTarget {
    int width = 0;
    int height = 0;
    uint8_t* layer = nullptr;  // the work layer's pixel rows
    int layerStride = 0;
    RgbBuffer* composite = nullptr;  // may be null (mono text only)
    uint8_t* textMask = nullptr;     // set: a blended glyph pixel
    uint16_t* chosen = nullptr;      // width x height, top-down: index + 1, 0 none
    const uint8_t* selection = nullptr;
    ToolRowSpan span{};  // the tool rectangle (bottom-up rows)
    const PaletteEntry* palette = nullptr;
    int colors = 0;

    bool Inside(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return false;
        const int r = height - 1 - y;
        return r >= span.firstRow && r < span.endRow && x >= span.left && x < span.right &&
               (!selection || MaskBit(selection, x, y, width));
    }
};

// Blends a grey glyph whose box starts at (left, top) into the composite in
// the palette colour of `index`: per channel (old x (64 - v) + colour x v) /
// 64 for every pixel inside the image, the tool rectangle and the selection
// with v > 0; such pixels get their text-mask bit. Full-coverage pixels note
// the index. Only the glyph's box is visited.
void BlendGrayGlyph(RenderTarget& target, const GlyphBitmap& glyph, int left, int top, uint8_t index);

// Every set bit of a mono glyph inside the image, the tool rectangle and the
// selection sets the work layer's pixel to `index`.
void PutMonoGlyph(RenderTarget& target, const GlyphBitmap& glyph, int left, int top, uint8_t index);

// Every pixel inside the tool rectangle with its text-mask and selection
// bits set takes the palette index of the composite's colour there: the
// index a full-coverage pixel noted while the colour is still that entry's,
// else the nearest entry. Other pixels keep the layer's value.
void WriteRgbThroughMasks(RenderTarget& target);

// The palette index nearest to the colour over the image's colour table; 0
// when the image is not a 4- or 8-bit DIB.
int NearestPaletteIndexOfColor(MemHandle image, ColorRef color);

// The visible layers from 0 up to the record's current layer (stopping at a
// null handle) as one 24-bit image, inside the tool rectangle: layer 0
// always (its pixels when visible, else index 0), a higher layer only when
// visible, its index 0 left out when it draws index 0 clear. Null when the
// image is not a 4- or 8-bit DIB or memory runs out.
RgbBuffer* CompositeLayersToRgb(MemHandle image, const MemHandle* layers, const PluginToolRecord* record);

// A new buffer with the same size and bytes; null when memory runs out.
RgbBuffer* CopyRgbBuffer(const RgbBuffer* source);
// Copies the bytes of one buffer into another of the same size.
void CopyRgbPixels(RgbBuffer* target, const RgbBuffer* source);
