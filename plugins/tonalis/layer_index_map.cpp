#include "plugins/tonalis/layer_index_map.h"

#include <algorithm>

#include "imaging/dib_geometry.h"
#include "plugins/kit/kit_dib.h"

bool ReadImageColors(MemHandle image, ImageColors* out) {
    dib::LockedDib dib(image);
    if (!dib || (dib.geo().bitCount != 4 && dib.geo().bitCount != 8)) return false;
    out->width = dib.geo().width;
    out->height = dib.geo().height;
    out->count = std::clamp(DibNumColors(dib.data(), false), 0, 256);
    dib::ReadColorTable(dib.data(), dib.geo(), out->table);
    return true;
}

bool LayerHoldsImage(MemHandle layer, int width, int height) {
    MemLockGuard lock(layer);
    return LayerRows(lock, width, height) != nullptr;
}

bool MapLayerIndexes(MemHandle source, MemHandle target, int width, int height, const uint8_t table[256],
                     const uint8_t* protectMask, const uint8_t* selectionMask, const PluginToolRecord* record) {
    MemLockGuard in(source);
    const uint8_t* from = LayerRows(in, width, height);
    if (!from) return false;
    MemLockGuard outLock(target == source ? nullptr : target);
    uint8_t* to = target == source ? in.get() + LAYER_HEADER_SIZE : LayerRows(outLock, width, height);
    if (!to) return false;
    const size_t layerRow = dib::LayerRowBytes(width);
    const size_t maskRow = size_t(width + 7) / 8;
    const ToolRowSpan span = ToolRowSpanOf(record, width, height);
    for (int r = span.firstRow; r < span.endRow; ++r) {
        const size_t topRow = size_t(height - 1 - r);
        const uint8_t* select = selectionMask ? selectionMask + topRow * maskRow : nullptr;
        const uint8_t* protect = protectMask ? protectMask + topRow * maskRow : nullptr;
        const uint8_t* src = from + size_t(r) * layerRow;
        uint8_t* dst = to + size_t(r) * layerRow;
        for (int x = span.left; x < span.right; ++x) {
            const uint8_t bit = uint8_t(0x80 >> (x % 8));
            if (select && !(select[x / 8] & bit)) continue;
            if (protect && (protect[x / 8] & bit)) continue;
            dst[x] = table[src[x]];
        }
    }
    return true;
}
