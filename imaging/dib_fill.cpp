#include "imaging/dib_fill.h"

#include <cstring>

#include "imaging/dib_surface.h"

namespace {

// The surface to change: the layer (with the image's geometry) or the image.
struct Target {
    dib::LockedDib image;
    MemLockGuard layer;
    dib::Surface surface;
    bool ok = false;
    Target(MemHandle img, MemHandle lay) : image(img), layer(lay) {
        if (!image) return;
        ok = lay ? dib::LayerSurfaceForImage(layer, image.geo(), &surface)
                 : dib::ImageSurface(image, &surface);
    }
};

void SetSubBytePixel(uint8_t* row, int bits, int64_t x, unsigned v) {
    if (bits == 4) {
        uint8_t& b = row[x >> 1];
        b = (x & 1) ? uint8_t((b & 0xf0) | (v & 0x0f)) : uint8_t((b & 0x0f) | ((v & 0x0f) << 4));
    } else {
        uint8_t& b = row[x >> 3];
        uint8_t m = uint8_t(0x80 >> (x & 7));
        b = (v & 1) ? uint8_t(b | m) : uint8_t(b & ~m);
    }
}

void FillRows(const dib::Surface& s, int64_t x, int64_t y, int64_t w, int64_t h, uint32_t value) {
    int bpp = s.BytesPerPixel();
    uint8_t pattern[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                          uint8_t(value >> 24)};
    for (int64_t v = h - 1; v >= 0; --v) {
        uint8_t* row = s.RowFromTop(y + v);
        if (bpp == 1) {
            std::memset(row + x, pattern[0], size_t(w));
        } else if (bpp > 1) {
            uint8_t* p = row + size_t(x) * size_t(bpp);
            for (int64_t u = 0; u < w; ++u, p += bpp) std::memcpy(p, pattern, size_t(bpp));
        } else {
            for (int64_t u = 0; u < w; ++u) SetSubBytePixel(row, s.bitCount, x + u, value);
        }
    }
}

}  // namespace

bool FillDibRect(MemHandle image, int x, int y, int width, int height, uint32_t value,
                 MemHandle layer) {
    Target t(image, layer);
    if (!t.ok) return false;
    int64_t x0 = x, y0 = y, w = width, h = height;
    if (!dib::ClipRect(x0, y0, w, h, t.surface.width, t.surface.height)) return false;
    FillRows(t.surface, x0, y0, w, h, value);
    return true;
}

bool FillDibRectMasked(MemHandle image, int x, int y, int width, int height, uint32_t value,
                       MemHandle layer, const DibMask& mask) {
    Target t(image, layer);
    if (!t.ok) return false;
    int64_t x0 = x, y0 = y, w = width, h = height;
    if (!dib::ClipRect(x0, y0, w, h, t.surface.width, t.surface.height)) return false;
    const dib::Surface& s = t.surface;
    if (s.bitCount > 8) {
        FillRows(s, x0, y0, w, h, value);
        return true;
    }
    MemLockGuard maskLock(mask.bits);
    if (!maskLock) return false;
    dib::MaskReader bits(mask, maskLock);
    for (int64_t v = h - 1; v >= 0; --v) {
        uint8_t* row = s.RowFromTop(y0 + v);
        for (int64_t u = 0; u < w; ++u) {
            if (!bits.Bit(x0 + u, y0 + v)) continue;
            if (s.bitCount == 8)
                row[x0 + u] = 0;
            else
                SetSubBytePixel(row, s.bitCount, x0 + u, 0);
        }
    }
    return true;
}

bool RemapDibRect(MemHandle image, const uint8_t* map, int left, int top, int right, int bottom,
                  MemHandle layer) {
    if (!map) return false;
    Target t(image, layer);
    if (!t.ok || t.surface.bitCount != 8) return false;
    dib::ClippedRect r = dib::ClipToImage(DibRect{left, top, right, bottom}, t.surface.width,
                                          t.surface.height);
    if (r.empty()) return false;
    for (int y = r.top; y < r.bottom; ++y) {
        uint8_t* p = t.surface.RowFromTop(y);
        for (int x = r.left; x < r.right; ++x) p[x] = map[p[x]];
    }
    return true;
}
