#include "imaging/mono_expand.h"

#include <algorithm>
#include <cstring>

#include "imaging/dib_geometry.h"

void ExpandMonoRows(uint8_t* destination, const uint8_t* source, int width, int height) {
    if (!destination || !source || width <= 0 || height <= 0) return;
    size_t srcStride = dib::PaddedRowBytes(width, 1), dstStride = dib::LayerRowBytes(width);
    for (int y = 0; y < height; ++y) {
        const uint8_t* s = source + size_t(y) * srcStride;
        uint8_t* d = destination + size_t(y) * dstStride;
        for (int x = 0; x < width; ++x) d[x] = (s[x >> 3] >> (7 - (x & 7))) & 1;
    }
}

MemHandle ExpandMonoDib(MemHandle image) {
    MemHandle result;
    {
        dib::LockedDib d(image);
        if (!d || d.geo().bitCount != 1) return image;
        const dib::DibGeometry& g = d.geo();
        if (!g.HoldsRows(g.PaddedRow())) return image;
        size_t stride = dib::LayerRowBytes(g.width);
        uint64_t size = 1064 + uint64_t(stride) * uint64_t(g.height);
        if (size > SIZE_MAX) return image;
        result = MemAlloc(size_t(size));
        MemLockGuard out(result);
        if (!out) return image;
        auto* info = out.as<DibInfoHeader>();
        if (!g.core) std::memcpy(info, d.data(), DIB_INFO_HEADER_SIZE);
        info->size = DIB_INFO_HEADER_SIZE;
        info->width = g.width;
        info->height = g.height;
        info->planes = 1;
        info->bitCount = 8;
        info->compression = 0;
        info->sizeImage = 0;
        info->clrUsed = 0;
        info->clrImportant = 0;
        PaletteEntry table[256];
        dib::ReadColorTable(d.data(), g, table);
        std::memset(table + 2, 0, 254 * sizeof(PaletteEntry));
        std::memcpy(out.get() + DIB_INFO_HEADER_SIZE, table, sizeof table);
        ExpandMonoRows(out.get() + 1064, d.bits(), g.width, g.height);
    }
    MemFree(image);
    return result;
}
