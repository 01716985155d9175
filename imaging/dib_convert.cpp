#include "imaging/dib_convert.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "imaging/dib_access.h"
#include "imaging/dib_blit.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "imaging/dib_row_copy.h"

MemHandle ExpandDib4To8(MemHandle image, bool* inputKept) {
    if (inputKept) *inputKept = false;
    if (!image) return nullptr;
    MemHandle result = nullptr;
    {
        dib::LockedDib d(image);
        bool convertible = false;
        if (d) {
            const dib::DibGeometry& g = d.geo();
            if (g.bitCount > 8) return image;
            if (g.bitCount == 8 && g.entries == 256) return image;
            convertible = (g.bitCount == 4 || g.bitCount == 8) && g.HoldsRows(g.PaddedRow());
        }
        if (convertible) {
            const dib::DibGeometry& g = d.geo();
            result = CreateDib8(g.width, g.height, 0);
            MemLockGuard out(result);
            if (!out) {
                if (inputKept) *inputKept = true;
                return nullptr;
            }
            PaletteEntry table[256];
            dib::ReadColorTable(d.data(), g, table);
            int keep = std::min(g.entries, g.bitCount == 4 ? 16 : 256);
            std::memcpy(out.get() + DIB_INFO_HEADER_SIZE, table, size_t(keep) * 4);
            size_t srcStride = g.PaddedRow(), dstStride = dib::LayerRowBytes(g.width);
            uint8_t* dst = out.get() + 1064;
            for (int y = 0; y < g.height; ++y) {
                const uint8_t* s = d.Row(y, srcStride);
                uint8_t* t = dst + size_t(y) * dstStride;
                if (g.bitCount == 8) {
                    std::memcpy(t, s, size_t(g.width));
                } else {
                    for (int x = 0; x < g.width; ++x)
                        t[x] = (x & 1) ? (s[x >> 1] & 0x0f) : (s[x >> 1] >> 4);
                }
            }
        }
    }
    MemFree(image);
    return result;
}

MemHandle PackDibTo4Bit(MemHandle image) {
    if (!UsesOnly16Colors(image)) return image;
    dib::LockedDib d(image);
    if (!d || d.geo().bitCount != 8) return image;
    const dib::DibGeometry& g = d.geo();
    size_t dstStride = ((size_t(g.width) + 7) & ~size_t(7)) / 2;
    uint64_t size = uint64_t(dstStride) * uint64_t(g.height) + 104;
    if (size > SIZE_MAX) return image;
    MemHandle packed = MemAlloc(size_t(size));
    MemLockGuard out(packed);
    if (!out) return image;
    auto* info = out.as<DibInfoHeader>();
    info->size = DIB_INFO_HEADER_SIZE;
    info->width = g.width;
    info->height = g.height;
    info->planes = 1;
    info->bitCount = 4;
    PaletteEntry table[256];
    dib::ReadColorTable(d.data(), g, table);
    std::memcpy(out.get() + DIB_INFO_HEADER_SIZE, table, 16 * 4);
    size_t srcStride = g.PaddedRow();
    uint8_t* dst = out.get() + 104;
    for (int y = 0; y < g.height; ++y) {
        const uint8_t* s = d.Row(y, srcStride);
        uint8_t* t = dst + size_t(y) * dstStride;
        for (int x = 0; x < g.width; ++x) t[x >> 1] |= (x & 1) ? s[x] : uint8_t(s[x] << 4);
    }
    return packed;
}

MemHandle ConvertAcquiredImage(MemHandle picture, int width, int height) {
    if (!picture) return nullptr;
    const int format = GetDibFormatCode(picture);
    MemHandle converted = CreateDib8(width, height, format == 5 ? 0 : format);
    if (!converted) return nullptr;
    if (IsDibIndexed(picture)) {
        for (int i = 0; i < 256; ++i) {
            uint8_t red = 0, green = 0, blue = 0, alpha = 0;
            if (GetDibPaletteEntry(picture, i, &red, &green, &blue, &alpha))
                SetDibPaletteEntry(converted, i, red, green, blue, alpha);
        }
    }
    // Row by row with each block's own row length: a scan's padded 24-bit
    // rows would shear through a copy that reads them unpadded.
    CopyDibRowsTopLeft(converted, picture);
    MemFree(picture);
    return converted;
}
