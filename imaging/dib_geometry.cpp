#include "imaging/dib_geometry.h"

#include <algorithm>
#include <cstring>

namespace dib {

size_t DibGeometry::LibraryRow() const {
    if (bitCount == 16 || bitCount == 24) return size_t(width) * size_t(bitCount / 8);
    return PaddedRow();
}

size_t DibGeometry::DisplayRow() const {
    size_t padded = PaddedRow();
    if ((bitCount == 16 || bitCount == 24) && !HoldsRows(padded)) {
        size_t unpadded = size_t(width) * size_t(bitCount / 8);
        if (HoldsRows(unpadded)) return unpadded;
    }
    return padded;
}

bool DibGeometry::HoldsRows(size_t rowBytes) const {
    if (bitsOffset > blockSize) return false;
    size_t room = blockSize - bitsOffset;
    if (height <= 0) return false;
    return rowBytes <= room / size_t(height);
}

HeaderFields ReadHeaderFields(const void* header) {
    HeaderFields f;
    const auto* b = static_cast<const uint8_t*>(header);
    std::memcpy(&f.size, b, 4);
    if (f.size == DIB_CORE_HEADER_SIZE) {
        DibCoreHeader h;
        std::memcpy(&h, b, sizeof h);
        f.core = true;
        f.width = h.width;
        f.height = h.height;
        f.bitCount = h.bitCount;
    } else {
        DibInfoHeader h;
        std::memcpy(&h, b, sizeof h);
        f.width = h.width;
        f.height = h.height;
        f.bitCount = h.bitCount;
        f.clrUsed = h.clrUsed;
    }
    return f;
}

int64_t HeaderEntries(const HeaderFields& f) {
    if (!f.core && f.clrUsed != 0) return int64_t(f.clrUsed);
    switch (f.bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

bool ReadDibGeometry(const void* p, size_t size, DibGeometry* out) {
    if (!p || size < 4) return false;
    uint32_t headerSize;
    std::memcpy(&headerSize, p, 4);
    if (headerSize == DIB_CORE_HEADER_SIZE) {
        if (size < DIB_CORE_HEADER_SIZE) return false;
    } else if (headerSize < DIB_INFO_HEADER_SIZE || size < headerSize) {
        return false;
    }
    HeaderFields f = ReadHeaderFields(p);
    if (!f.core && f.clrUsed != 0 && (f.clrUsed > size / 4 || f.clrUsed > uint32_t(INT32_MAX)))
        return false;
    switch (f.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
    }
    if (f.width <= 0 || f.height <= 0) return false;
    DibGeometry g;
    g.blockSize = size;
    g.headerSize = headerSize;
    g.core = f.core;
    g.width = f.width;
    g.height = f.height;
    g.bitCount = f.bitCount;
    g.entrySize = f.core ? 3 : 4;
    g.entries = int(HeaderEntries(f));
    g.tableBytes = size_t(g.entries) * size_t(g.entrySize);
    g.bitsOffset = size_t(headerSize) + g.tableBytes;
    if (g.bitsOffset > size) return false;
    *out = g;
    return true;
}

void ReadColorTable(const uint8_t* block, const DibGeometry& g, PaletteEntry out[256]) {
    std::memset(out, 0, 256 * sizeof(PaletteEntry));
    const uint8_t* t = block + g.headerSize;
    int n = std::min(g.entries, 256);
    if (g.core) {
        for (int i = 0; i < n; ++i) {
            out[i].blue = t[i * 3];
            out[i].green = t[i * 3 + 1];
            out[i].red = t[i * 3 + 2];
        }
    } else {
        std::memcpy(out, t, size_t(n) * 4);
    }
}

LockedDib::LockedDib(MemHandle h) : lock_(h) {
    if (lock_) ok_ = ReadDibGeometry(lock_.get(), lock_.size(), &geo_);
}

bool LayerFits(size_t size, int64_t width, int64_t height) {
    if (width <= 0 || height <= 0 || size < LAYER_HEADER_SIZE) return false;
    size_t room = size - LAYER_HEADER_SIZE;
    size_t row = LayerRowBytes(width);
    return uint64_t(height) <= room / row;
}

bool ReadLayerGeometry(const void* p, size_t size, LayerGeometry* out) {
    if (!p || size < LAYER_HEADER_SIZE) return false;
    LayerHeader h;
    std::memcpy(&h, p, sizeof h);
    int64_t w = int64_t(h.right) - h.left;
    int64_t hh = int64_t(h.bottom) - h.top;
    if (w > INT32_MAX || hh > INT32_MAX || !LayerFits(size, w, hh)) return false;
    out->width = int(w);
    out->height = int(hh);
    out->rowBytes = LayerRowBytes(w);
    return true;
}

void ReadRowIndices(const uint8_t* row, int bits, int x0, int n, uint8_t* out) {
    switch (bits) {
    case 8:
        std::memcpy(out, row + x0, size_t(n));
        break;
    case 4:
        for (int i = 0; i < n; ++i) {
            int x = x0 + i;
            uint8_t v = row[x >> 1];
            out[i] = (x & 1) ? (v & 0x0f) : (v >> 4);
        }
        break;
    case 1:
        for (int i = 0; i < n; ++i) {
            int x = x0 + i;
            out[i] = (row[x >> 3] >> (7 - (x & 7))) & 1;
        }
        break;
    default:
        std::memset(out, 0, size_t(n));
        break;
    }
}

void ReadRowBgr(const uint8_t* row, int bits, int x0, int n, const PaletteEntry* table, uint8_t* out) {
    switch (bits) {
    case 24:
        std::memcpy(out, row + size_t(x0) * 3, size_t(n) * 3);
        return;
    case 32: {
        const uint8_t* s = row + size_t(x0) * 4;
        for (int i = 0; i < n; ++i, s += 4, out += 3) {
            out[0] = s[0];
            out[1] = s[1];
            out[2] = s[2];
        }
        return;
    }
    case 16: {
        const uint8_t* s = row + size_t(x0) * 2;
        for (int i = 0; i < n; ++i, s += 2, out += 3) {
            unsigned v = unsigned(s[0]) | (unsigned(s[1]) << 8);
            unsigned b5 = v & 31, g5 = (v >> 5) & 31, r5 = (v >> 10) & 31;
            out[0] = uint8_t((b5 << 3) | (b5 >> 2));
            out[1] = uint8_t((g5 << 3) | (g5 >> 2));
            out[2] = uint8_t((r5 << 3) | (r5 >> 2));
        }
        return;
    }
    default: {
        uint8_t idx[256];
        for (int done = 0; done < n;) {
            int chunk = std::min(n - done, 256);
            ReadRowIndices(row, bits, x0 + done, chunk, idx);
            for (int i = 0; i < chunk; ++i, out += 3) {
                const PaletteEntry& e = table[idx[i]];
                out[0] = e.blue;
                out[1] = e.green;
                out[2] = e.red;
            }
            done += chunk;
        }
        return;
    }
    }
}

bool ClipRect(int64_t& x, int64_t& y, int64_t& w, int64_t& h, int64_t limitW, int64_t limitH) {
    if (x < 0) { w += x; x = 0; }
    if (y < 0) { h += y; y = 0; }
    if (x + w > limitW) w = limitW - x;
    if (y + h > limitH) h = limitH - y;
    return w > 0 && h > 0;
}

ClippedRect ClipToImage(const DibRect& r, int width, int height) {
    ClippedRect c;
    c.left = std::max<int>(r.left, 0);
    c.top = std::max<int>(r.top, 0);
    c.right = std::min<int>(r.right, width);
    c.bottom = std::min<int>(r.bottom, height);
    return c;
}

MemHandle NewInfoDib(int width, int height, int bits, uint64_t blockSize) {
    if (blockSize > SIZE_MAX) return nullptr;
    MemHandle h = MemAlloc(size_t(blockSize));
    MemLockGuard lock(h);
    if (!lock) return nullptr;
    auto* info = lock.as<DibInfoHeader>();
    info->size = DIB_INFO_HEADER_SIZE;
    info->width = width;
    info->height = height;
    info->planes = 1;
    info->bitCount = uint16_t(bits);
    return h;
}

}  // namespace dib
