#include "imaging/dib_create.h"

#include <algorithm>
#include <cstring>

#include "imaging/dib_geometry.h"

MemHandle CreateDib8(int width, int height, int bytesPerPixel) {
    if (width <= 0 || height <= 0 || bytesPerPixel < 0 || bytesPerPixel > 4) return nullptr;
    if (bytesPerPixel == 1) bytesPerPixel = 0;  // an 8-bit image always carries its table
    uint64_t pixels = bytesPerPixel == 0
                          ? uint64_t(dib::LayerRowBytes(width)) * uint64_t(height)
                          : uint64_t(width) * uint64_t(height) * uint64_t(bytesPerPixel);
    uint64_t size = pixels + (bytesPerPixel == 0 ? 1064 : 40);
    return dib::NewInfoDib(width, height, bytesPerPixel == 0 ? 8 : 8 * bytesPerPixel, size);
}

MemHandle DuplicateGlobal(MemHandle source, MemHandle sizeFrom) {
    size_t sourceSize = MemSize(source);
    if (sourceSize == 0) return nullptr;
    size_t size = sizeFrom ? MemSize(sizeFrom) : sourceSize;
    if (size == 0) return nullptr;
    MemHandle copy = MemAlloc(size);
    if (!copy) return nullptr;
    MemLockGuard to(copy), from(source);
    if (!to || !from) {
        MemFree(copy);
        return nullptr;
    }
    std::memcpy(to.get(), from.get(), std::min(size, sourceSize));
    return copy;
}

void CopyGlobalContents(MemHandle destination, MemHandle source) {
    if (destination == source) return;
    MemLockGuard to(destination), from(source);
    if (!to || !from) return;
    std::memcpy(to.get(), from.get(), std::min(to.size(), from.size()));
}

MemHandle CopyDibColorTable(MemHandle image) {
    dib::LockedDib d(image);
    if (!d) return nullptr;
    int count = d.geo().bitCount == 4 ? 16 : 256;
    MemHandle table = MemAlloc(size_t(count) * 4);
    MemLockGuard out(table);
    if (!out) return nullptr;
    PaletteEntry entries[256];
    dib::ReadColorTable(d.data(), d.geo(), entries);
    std::memcpy(out.get(), entries, size_t(count) * 4);
    return table;
}

void StoreDibColorTable(MemHandle image, MemHandle table) {
    dib::LockedDib d(image);
    MemLockGuard in(table);
    if (!d || !in) return;
    const dib::DibGeometry& g = d.geo();
    int count = g.bitCount == 4 ? 16 : 256;
    count = std::min({count, g.entries, int(std::min<size_t>(in.size() / 4, 256))});
    uint8_t* t = d.data() + g.headerSize;
    const uint8_t* s = in.get();
    for (int i = 0; i < count; ++i) {
        std::memcpy(t + size_t(i) * size_t(g.entrySize), s + size_t(i) * 4, size_t(g.entrySize));
    }
}

namespace {

MemHandle CropLayer(const dib::DibGeometry& g, MemHandle layer, const dib::ClippedRect& r) {
    MemLockGuard src(layer);
    if (!src || !dib::LayerFits(src.size(), g.width, g.height)) return nullptr;
    int w = r.width(), h = r.height();
    int w4 = int(dib::LayerRowBytes(w));
    MemHandle out = MemAlloc(LAYER_HEADER_SIZE + size_t(w4) * size_t(h));
    MemLockGuard dst(out);
    if (!dst) return nullptr;
    auto* head = dst.as<LayerHeader>();
    head->right = w4;
    head->bottom = h;
    size_t srcStride = dib::LayerRowBytes(g.width);
    const uint8_t* srcBits = src.get() + LAYER_HEADER_SIZE;
    uint8_t* dstBits = dst.get() + LAYER_HEADER_SIZE;
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = srcBits + size_t(g.height - 1 - (r.top + y)) * srcStride + r.left;
        uint8_t* d = dstBits + size_t(h - 1 - y) * size_t(w4);
        std::memcpy(d, s, size_t(w));
    }
    return out;
}

MemHandle CropImage(const dib::LockedDib& d, const dib::ClippedRect& r) {
    const dib::DibGeometry& g = d.geo();
    size_t srcStride = g.LibraryRow();
    if (!g.HoldsRows(srcStride)) return nullptr;
    int w = r.width(), h = r.height();
    dib::DibGeometry out = g;
    out.core = false;
    out.headerSize = DIB_INFO_HEADER_SIZE;
    out.entrySize = 4;
    out.width = w;
    out.height = h;
    out.tableBytes = size_t(g.entries) * 4;
    out.bitsOffset = DIB_INFO_HEADER_SIZE + out.tableBytes;
    size_t dstStride = out.LibraryRow();
    MemHandle result = MemAlloc(out.bitsOffset + dstStride * size_t(h));
    MemLockGuard lock(result);
    if (!lock) return nullptr;
    auto* info = lock.as<DibInfoHeader>();
    if (g.core) {
        info->planes = 1;
        info->bitCount = uint16_t(g.bitCount);
    } else {
        std::memcpy(info, d.data(), DIB_INFO_HEADER_SIZE);
    }
    info->size = DIB_INFO_HEADER_SIZE;
    info->width = w;
    info->height = h;
    info->sizeImage = 0;
    // Colour table, four-byte entries.
    uint8_t* table = lock.get() + DIB_INFO_HEADER_SIZE;
    const uint8_t* srcTable = d.data() + g.headerSize;
    if (g.core) {
        for (int i = 0; i < g.entries; ++i) std::memcpy(table + i * 4, srcTable + i * 3, 3);
    } else {
        std::memcpy(table, srcTable, out.tableBytes);
    }
    uint8_t* dstBits = lock.get() + out.bitsOffset;
    int bpp = g.BytesPerPixel();
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = d.Row(g.height - 1 - (r.top + y), srcStride);
        uint8_t* t = dstBits + size_t(h - 1 - y) * dstStride;
        if (bpp > 0) {
            std::memcpy(t, s + size_t(r.left) * size_t(bpp), size_t(w) * size_t(bpp));
        } else {
            // 1 and 4 bits: repack from the rectangle's first pixel.
            for (int x = 0; x < w; ++x) {
                uint8_t v;
                dib::ReadRowIndices(s, g.bitCount, r.left + x, 1, &v);
                if (g.bitCount == 4)
                    t[x >> 1] |= (x & 1) ? v : uint8_t(v << 4);
                else
                    t[x >> 3] |= uint8_t(v << (7 - (x & 7)));
            }
        }
    }
    return result;
}

}  // namespace

MemHandle CropDibRect(MemHandle image, DibRect* rect, MemHandle layer) {
    if (!rect) return nullptr;
    dib::LockedDib d(image);
    if (!d) return nullptr;
    dib::ClippedRect r = dib::ClipToImage(*rect, d.geo().width, d.geo().height);
    rect->left = r.left;
    rect->top = r.top;
    rect->right = std::max(r.right, r.left);
    rect->bottom = std::max(r.bottom, r.top);
    if (r.empty()) return nullptr;
    return layer ? CropLayer(d.geo(), layer, r) : CropImage(d, r);
}
