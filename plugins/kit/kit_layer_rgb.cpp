#include "plugins/kit/kit_layer_rgb.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "imaging/dib_geometry.h"
#include "imaging/palette_match.h"
#include "plugins/kit/kit_dib.h"
#include "plugins/kit/kit_palette_search.h"

namespace {

// The indexed image's geometry and 256-entry colour table; false when the
// image is not a whole 4- or 8-bit DIB.
bool ReadIndexedImage(MemHandle image, dib::DibGeometry* geo, PaletteEntry table[256]) {
    dib::LockedDib dib(image);
    if (!dib || (dib.geo().bitCount != 4 && dib.geo().bitCount != 8)) return false;
    *geo = dib.geo();
    dib::ReadColorTable(dib.data(), dib.geo(), table);
    return true;
}

}  // namespace

ToolRowSpan ToolRowSpanOf(const PluginToolRecord* record, int width, int height) {
    DibRect r = record ? record->rect : DibRect{};
    if (r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0) r = {0, 0, width, height};
    dib::ClippedRect c = dib::ClipToImage(r, width, height);
    if (c.empty()) return {0, 0, 0, 0};
    return {height - c.bottom, height - c.top, c.left, c.right};
}

MemHandle ToolCurrentLayer(const PluginToolRecord* record) {
    if (!record || !record->layers || record->editLayer < 0 || record->editLayer >= 100) return nullptr;
    for (int i = 0; i <= record->editLayer; ++i)
        if (!record->layers[i]) return nullptr;
    return record->layers[record->editLayer];
}

uint8_t* LayerRows(const MemLockGuard& layer, int width, int height) {
    dib::LayerGeometry g;
    if (!layer || !dib::ReadLayerGeometry(layer.get(), layer.size(), &g)) return nullptr;
    if (g.width != width || g.height != height) return nullptr;
    return layer.get() + LAYER_HEADER_SIZE;
}

RgbBuffer* NewRgbBuffer(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto* buffer = new (std::nothrow) RgbBuffer{nullptr, int32_t(((int64_t(width) * 24 + 31) / 8) & ~int64_t(3)), width, height};
    if (!buffer) return nullptr;
    buffer->data = new (std::nothrow) uint8_t[size_t(buffer->stride) * size_t(height)];
    if (!buffer->data) {
        delete buffer;
        return nullptr;
    }
    return buffer;
}

void FreeRgbBuffer(RgbBuffer* buffer) {
    if (!buffer) return;
    delete[] buffer->data;
    delete buffer;
}

RgbBuffer* LayerToRgb(MemHandle image, const MemHandle* layers, const PluginToolRecord* record, bool invert) {
    dib::DibGeometry geo;
    PaletteEntry table[256];
    if (!record || !layers || !ReadIndexedImage(image, &geo, table)) return nullptr;
    MemHandle current = nullptr;
    for (int i = 0; i <= record->editLayer && i < 100 && layers[i]; ++i)
        if (i == record->editLayer) current = layers[i];
    MemLockGuard layer(current);
    const uint8_t* rows = LayerRows(layer, geo.width, geo.height);
    if (!rows) return nullptr;
    RgbBuffer* buffer = NewRgbBuffer(geo.width, geo.height);
    if (!buffer) return nullptr;
    uint8_t flip = invert ? 0xff : 0;
    size_t layerRow = dib::LayerRowBytes(geo.width);
    ToolRowSpan span = ToolRowSpanOf(record, geo.width, geo.height);
    for (int r = span.firstRow; r < span.endRow; ++r) {
        const uint8_t* in = rows + size_t(r) * layerRow;
        uint8_t* out = buffer->data + size_t(r) * size_t(buffer->stride);
        for (int x = span.left; x < span.right; ++x) {
            const PaletteEntry& e = table[in[x]];
            out[3 * x] = e.blue ^ flip;
            out[3 * x + 1] = e.green ^ flip;
            out[3 * x + 2] = e.red ^ flip;
        }
    }
    return buffer;
}

RgbBuffer* LayerToRgb(MemHandle image, const MemHandle* layers, const PluginToolRecord* record) {
    return LayerToRgb(image, layers, record, false);
}

bool RgbToLayer(MemHandle image, MemHandle layer, const RgbBuffer* work, const uint8_t* protectMask,
                const uint8_t* selectionMask, const PluginToolRecord* record) {
    dib::DibGeometry geo;
    PaletteEntry table[256];
    if (!work || !ReadIndexedImage(image, &geo, table)) return false;
    if (work->width != geo.width || work->height != geo.height) return false;
    MemLockGuard lock(layer);
    uint8_t* rows = LayerRows(lock, geo.width, geo.height);
    if (!rows) return false;
    int count;
    {
        MemLockGuard header(image);
        count = DibNumColors(header.get(), false);
    }
    if (count > 256) count = 256;
    PaletteSearch search(table, count);
    size_t layerRow = dib::LayerRowBytes(geo.width);
    ToolRowSpan span = ToolRowSpanOf(record, geo.width, geo.height);
    for (int r = span.firstRow; r < span.endRow; ++r) {
        int topRow = geo.height - 1 - r;
        uint8_t* out = rows + size_t(r) * layerRow;
        const uint8_t* in = work->data + size_t(r) * size_t(work->stride);
        for (int x = span.left; x < span.right; ++x) {
            if (selectionMask && !MaskBit(selectionMask, x, topRow, geo.width)) continue;
            if (protectMask && MaskBit(protectMask, x, topRow, geo.width)) continue;
            out[x] = search.Find(in[3 * x], in[3 * x + 1], in[3 * x + 2]);
        }
    }
    return true;
}

int NearestPaletteIndex(const PaletteEntry* palette, int count, uint8_t blue, uint8_t green, uint8_t red) {
    return std::max(dib::NearestColorIndex(palette, count, blue, green, red), 0);
}
