#include "imaging/dib_scale.h"

#include <cstring>
#include <new>  // std::bad_alloc

#include "imaging/area_resample.h"
#include "imaging/dib_geometry.h"

MemHandle ScaleDibToRgb24(MemHandle image, int newWidth, int newHeight) {
    if (newWidth <= 0 || newHeight <= 0) return nullptr;
    MemHandle result;
    bool failed = false;
    {
        dib::LockedDib src(image);
        if (!src) return nullptr;
        const dib::DibGeometry& g = src.geo();
        if (g.bitCount != 8 && g.bitCount != 24) return nullptr;
        size_t srcStride = g.DisplayRow();
        if (!g.HoldsRows(srcStride)) return nullptr;
        size_t dstStride = dib::PaddedRowBytes(newWidth, 24);
        uint64_t size = DIB_INFO_HEADER_SIZE + uint64_t(dstStride) * uint64_t(newHeight);
        if (size > SIZE_MAX) return nullptr;
        result = MemAlloc(size_t(size));
        MemLockGuard out(result);
        if (!out) return nullptr;
        auto* info = out.as<DibInfoHeader>();
        info->size = DIB_INFO_HEADER_SIZE;
        info->width = newWidth;
        info->height = newHeight;
        info->planes = 1;
        info->bitCount = 24;
        uint8_t* bits = out.get() + DIB_INFO_HEADER_SIZE;
        PaletteEntry table[256];
        dib::ReadColorTable(src.data(), g, table);
        try {
            // Rows from the top: row y is memory row height - 1 - y.
            dib::AreaResample(
                g.width, g.height, newWidth, newHeight, {0, 0, newWidth, newHeight},
                [&](int y, uint8_t* bgr) {
                    dib::ReadRowBgr(src.Row(g.height - 1 - y, srcStride), g.bitCount, 0, g.width,
                                    table, bgr);
                },
                [&](int y, const uint8_t* bgr) {
                    std::memcpy(bits + size_t(newHeight - 1 - y) * dstStride, bgr,
                                size_t(newWidth) * 3);
                });
        } catch (const std::bad_alloc&) {
            failed = true;
        }
    }
    if (failed) {
        MemFree(result);
        return nullptr;
    }
    MemFree(image);
    return result;
}
