#include "imaging/dib_blit.h"

#include <atomic>
#include <cstring>

#include "imaging/dib_surface.h"

namespace {

std::atomic<bool> mapToolMode{false};

enum class Rule {
    Rows,     // whole rows
    Mask,     // mask bit only
    Enabled,  // enabled source index only
    Guarded,  // enabled source and writable destination
    MaskGuarded,
};

bool Allowed(const uint8_t* table, uint8_t index) { return !table || table[index] != 0; }

bool Blit(MemHandle dst, MemHandle src, int64_t x, int64_t y, int64_t w, int64_t h, int64_t sx,
          int64_t sy, MemHandle dstLayer, bool srcIsLayer, const DibMask* mask, Rule rule,
          const uint8_t* writable, const uint8_t* enabled) {
    dib::LockedDib dstImage(dst);
    if (!dstImage) return false;
    MemLockGuard dstLayerLock(dstLayer);
    dib::Surface to;
    if (dstLayer ? !dib::LayerSurfaceForImage(dstLayerLock, dstImage.geo(), &to)
                 : !dib::ImageSurface(dstImage, &to))
        return false;

    dib::Surface from;
    MemLockGuard srcLayerLock(srcIsLayer ? src : nullptr);
    dib::LockedDib srcImage(srcIsLayer ? nullptr : src);
    if (srcIsLayer ? !dib::LayerSurface(srcLayerLock, &from) : !dib::ImageSurface(srcImage, &from))
        return false;

    int bpp = to.BytesPerPixel();
    if (bpp == 0 || bpp != from.BytesPerPixel()) return false;

    // Clipping, in the documented order.
    if (w > to.width - x) w = to.width - x;
    if (w > from.width - sx) w = from.width - sx;
    if (h > to.height - y) h = to.height - y;
    if (h > from.height - sy) h = from.height - sy;
    if (x < 0) { sx -= x; w += x; x = 0; }
    if (y < 0) { sy -= y; h += y; y = 0; }
    if (sx < 0) { x -= sx; w += sx; sx = 0; }
    if (sy < 0) { y -= sy; h += sy; sy = 0; }
    if (w <= 0 || h <= 0) return false;
    if (x + w > to.width || y + h > to.height || sx + w > from.width || sy + h > from.height)
        return false;  // cannot happen after the cuts above; kept as a guard

    MemLockGuard maskLock(mask ? mask->bits : nullptr);
    bool useMask = rule == Rule::Mask || rule == Rule::MaskGuarded;
    if (useMask && !maskLock) return false;
    dib::MaskReader bits(mask ? *mask : DibMask{}, maskLock);
    // Index tables have no meaning for direct colours.
    if (bpp != 1) {
        if (rule == Rule::Enabled || rule == Rule::Guarded) rule = Rule::Rows;
        if (rule == Rule::MaskGuarded) rule = Rule::Mask;
    }

    size_t bytes = size_t(w) * size_t(bpp);
    for (int64_t v = h - 1; v >= 0; --v) {
        uint8_t* d = to.RowFromTop(y + v) + size_t(x) * size_t(bpp);
        const uint8_t* s = from.RowFromTop(sy + v) + size_t(sx) * size_t(bpp);
        switch (rule) {
        case Rule::Rows:
            std::memmove(d, s, bytes);
            break;
        case Rule::Mask:
            for (int64_t u = 0; u < w; ++u)
                if (bits.Bit(sx + u, sy + v))
                    std::memcpy(d + u * bpp, s + u * bpp, size_t(bpp));
            break;
        case Rule::Enabled:
            for (int64_t u = 0; u < w; ++u)
                if (Allowed(enabled, s[u])) d[u] = s[u];
            break;
        case Rule::Guarded:
            for (int64_t u = 0; u < w; ++u)
                if (Allowed(enabled, s[u]) && Allowed(writable, d[u])) d[u] = s[u];
            break;
        case Rule::MaskGuarded:
            for (int64_t u = 0; u < w; ++u)
                if (bits.Bit(sx + u, sy + v) && Allowed(enabled, s[u]) && Allowed(writable, d[u]))
                    d[u] = s[u];
            break;
        }
    }
    return true;
}

}  // namespace

bool BlitDibRect(MemHandle destination, MemHandle source, int x, int y, int width, int height,
                 int sourceX, int sourceY, MemHandle destinationLayer, bool sourceIsLayer,
                 const DibMask* mask) {
    return Blit(destination, source, x, y, width, height, sourceX, sourceY, destinationLayer,
                sourceIsLayer, mask, mask ? Rule::Mask : Rule::Rows, nullptr, nullptr);
}

bool BlitDibRectEx(MemHandle destination, MemHandle source, int x, int y, int width, int height,
                   int sourceX, int sourceY, const uint8_t* writableDestination,
                   const uint8_t* enabledSource, MemHandle destinationLayer, bool sourceIsLayer,
                   const DibMask* mask) {
    Rule rule = mask ? Rule::MaskGuarded : (mapToolMode ? Rule::Enabled : Rule::Rows);
    return Blit(destination, source, x, y, width, height, sourceX, sourceY, destinationLayer,
                sourceIsLayer, mask, rule, writableDestination, enabledSource);
}

bool BlitDibRectGuarded(MemHandle destination, MemHandle source, int x, int y, int width,
                        int height, int sourceX, int sourceY, const uint8_t* writableDestination,
                        const uint8_t* enabledSource, MemHandle destinationLayer,
                        bool sourceIsLayer) {
    return Blit(destination, source, x, y, width, height, sourceX, sourceY, destinationLayer,
                sourceIsLayer, nullptr, Rule::Guarded, writableDestination, enabledSource);
}

void SetBlitMapToolMode(bool on) { mapToolMode = on; }

bool BlitMapToolMode() { return mapToolMode; }
