#include "plugins/scribeon/glyph_writers.h"

#include <algorithm>
#include <cstring>

#include "imaging/dib_geometry.h"

namespace {

uint8_t* CompositePixel(RgbBuffer* rgb, int x, int y) {
    return rgb->data + size_t(rgb->height - 1 - y) * size_t(rgb->stride) + size_t(x) * 3;
}

// The glyph's box cut to the image: columns x0..x1 - 1, rows y0..y1 - 1 of
// the image.
struct Box {
    int x0, y0, x1, y1;
};
Box ClipBox(const RenderTarget& t, const GlyphBitmap& g, int left, int top) {
    return {std::max(left, 0), std::max(top, 0), std::min(left + g.width, t.width), std::min(top + g.rows, t.height)};
}

}  // namespace

void BlendGrayGlyph(RenderTarget& t, const GlyphBitmap& g, int left, int top, uint8_t index) {
    if (!g.bits || !t.composite || !t.textMask || !t.palette || index >= t.colors) return;
    const PaletteEntry c = t.palette[index];
    const Box b = ClipBox(t, g, left, top);
    const size_t maskRow = size_t(t.width + 7) / 8;
    for (int y = b.y0; y < b.y1; ++y) {
        const uint8_t* src = g.bits + size_t(y - top) * size_t(g.pitch);
        for (int x = b.x0; x < b.x1; ++x) {
            const int v = std::min<int>(src[x - left], 64);
            if (v <= 0 || !t.Inside(x, y)) continue;
            uint8_t* p = CompositePixel(t.composite, x, y);
            p[0] = uint8_t((p[0] * (64 - v) + c.blue * v) / 64);
            p[1] = uint8_t((p[1] * (64 - v) + c.green * v) / 64);
            p[2] = uint8_t((p[2] * (64 - v) + c.red * v) / 64);
            t.textMask[size_t(y) * maskRow + size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
            if (v == 64 && t.chosen) t.chosen[size_t(y) * size_t(t.width) + size_t(x)] = uint16_t(index + 1);
        }
    }
}

void PutMonoGlyph(RenderTarget& t, const GlyphBitmap& g, int left, int top, uint8_t index) {
    if (!g.bits || !t.layer) return;
    const Box b = ClipBox(t, g, left, top);
    for (int y = b.y0; y < b.y1; ++y) {
        const uint8_t* src = g.bits + size_t(y - top) * size_t(g.pitch);
        uint8_t* row = t.layer + size_t(t.height - 1 - y) * size_t(t.layerStride);
        for (int x = b.x0; x < b.x1; ++x) {
            const int gx = x - left;
            if (((src[gx / 8] >> (7 - gx % 8)) & 1) && t.Inside(x, y)) row[x] = index;
        }
    }
}

void WriteRgbThroughMasks(RenderTarget& t) {
    if (!t.layer || !t.composite || !t.textMask || !t.palette || t.colors <= 0) return;
    const size_t maskRow = size_t(t.width + 7) / 8;
    uint32_t lastKey = 0xffffffffu;
    uint8_t lastIndex = 0;
    for (int r = t.span.firstRow; r < t.span.endRow; ++r) {
        const int y = t.height - 1 - r;
        const uint8_t* mask = t.textMask + size_t(y) * maskRow;
        uint8_t* row = t.layer + size_t(r) * size_t(t.layerStride);
        for (int x = t.span.left; x < t.span.right; ++x) {
            if (!mask[x / 8]) {
                x |= 7;  // nothing in this byte
                continue;
            }
            if (!((mask[x / 8] >> (7 - x % 8)) & 1)) continue;
            if (t.selection && !MaskBit(t.selection, x, y, t.width)) continue;
            const uint8_t* p = CompositePixel(t.composite, x, y);
            if (t.chosen) {
                const int chosen = t.chosen[size_t(y) * size_t(t.width) + size_t(x)] - 1;
                if (chosen >= 0 && chosen < t.colors) {
                    const PaletteEntry& e = t.palette[chosen];
                    if (e.blue == p[0] && e.green == p[1] && e.red == p[2]) {
                        row[x] = uint8_t(chosen);
                        continue;
                    }
                }
            }
            const uint32_t key = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
            if (key != lastKey) {
                lastKey = key;
                lastIndex = uint8_t(NearestPaletteIndex(t.palette, t.colors, p[0], p[1], p[2]));
            }
            row[x] = lastIndex;
        }
    }
}

int NearestPaletteIndexOfColor(MemHandle image, ColorRef color) {
    dib::LockedDib dib(image);
    if (!dib || (dib.geo().bitCount != 4 && dib.geo().bitCount != 8)) return 0;
    PaletteEntry table[256];
    dib::ReadColorTable(dib.data(), dib.geo(), table);
    const int count = dib.geo().bitCount == 4 ? 16 : 256;
    return NearestPaletteIndex(table, count, uint8_t(color >> 16), uint8_t(color >> 8), uint8_t(color));
}

RgbBuffer* CompositeLayersToRgb(MemHandle image, const MemHandle* layers, const PluginToolRecord* record) {
    if (!layers || !record) return nullptr;
    dib::LockedDib dib(image);
    if (!dib || (dib.geo().bitCount != 4 && dib.geo().bitCount != 8)) return nullptr;
    PaletteEntry table[256];
    dib::ReadColorTable(dib.data(), dib.geo(), table);
    const int width = dib.geo().width, height = dib.geo().height;
    RgbBuffer* out = NewRgbBuffer(width, height);
    if (!out) return nullptr;
    const ToolRowSpan span = ToolRowSpanOf(record, width, height);
    for (int i = 0; i <= record->editLayer && i < 100 && layers[i]; ++i) {
        MemLockGuard layer(layers[i]);
        dib::LayerGeometry g;
        if (!layer || !dib::ReadLayerGeometry(layer.get(), layer.size(), &g) || g.width != width ||
            g.height != height)
            continue;
        const auto* header = layer.as<LayerHeader>();
        const bool visible = header->visible != 0;
        if (i > 0 && !visible) continue;
        const bool skipZero = i > 0 && header->drawMode == LAYER_DRAW_INDEX0_CLEAR;
        const uint8_t* pixels = layer.get() + LAYER_HEADER_SIZE;
        for (int r = span.firstRow; r < span.endRow; ++r) {
            const uint8_t* src = pixels + size_t(r) * g.rowBytes;
            uint8_t* dst = out->data + size_t(r) * size_t(out->stride);
            for (int x = span.left; x < span.right; ++x) {
                const uint8_t index = visible ? src[x] : 0;
                if (skipZero && index == 0) continue;
                dst[3 * x] = table[index].blue;
                dst[3 * x + 1] = table[index].green;
                dst[3 * x + 2] = table[index].red;
            }
        }
    }
    return out;
}

RgbBuffer* CopyRgbBuffer(const RgbBuffer* source) {
    if (!source) return nullptr;
    RgbBuffer* copy = NewRgbBuffer(source->width, source->height);
    if (copy) CopyRgbPixels(copy, source);
    return copy;
}

void CopyRgbPixels(RgbBuffer* target, const RgbBuffer* source) {
    if (!target || !source || target->stride != source->stride || target->height != source->height) return;
    std::memcpy(target->data, source->data, size_t(source->stride) * size_t(source->height));
}
