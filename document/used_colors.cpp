#include "document/used_colors.h"

#include <algorithm>

#include "document/pelmark_doc.h"
#include "imaging/dib_geometry.h"
#include "imaging/dib_layout.h"

namespace document {

UsedColors ScanLayerColors(const CPelmarkDoc& doc) {
    UsedColors result;
    if (doc.m_nWidth <= 0 || doc.m_nHeight <= 0) return result;
    std::array<uint8_t, 256>& used = result.flags;
    // Only the pixels of each row count: the padding at a row's end is no
    // colour of the picture.
    const size_t rowBytes = dib::LayerRowBytes(doc.m_nWidth);
    const size_t width = size_t(doc.m_nWidth);
    const size_t n = rowBytes * size_t(doc.m_nHeight);
    // Once every index is seen the rest cannot change anything.
    bool all = false;
    for (MemHandle layer : doc.m_hLayers) {
        if (all) break;
        MemLockGuard lock(layer);
        if (!lock || lock.size() < LAYER_HEADER_SIZE + n) continue;
        const uint8_t* p = lock.get() + LAYER_HEADER_SIZE;
        for (int y = 0; y < doc.m_nHeight && !all; ++y) {
            const uint8_t* row = p + size_t(y) * rowBytes;
            for (size_t x = 0; x < width; ++x) used[row[x]] = 1;
            if ((y & 63) == 63) all = std::find(used.begin(), used.end(), uint8_t(0)) == used.end();
        }
    }
    result.count = int(std::count(used.begin(), used.end(), uint8_t(1)));
    return result;
}

const UsedColors& UsedColorCache::Of(const CPelmarkDoc* doc) {
    if (!doc) {
        doc_ = nullptr;
        colors_ = {};
        return colors_;
    }
    if (doc != doc_ || doc->ContentGeneration() != generation_) {
        colors_ = ScanLayerColors(*doc);
        doc_ = doc;
        generation_ = doc->ContentGeneration();
        ++scans_;
    }
    return colors_;
}

}  // namespace document
