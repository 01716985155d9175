#include "plugins/floodkit/bit_plane.h"

#include <cstring>

namespace {

int ColorsOf(int bits) {
    switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

bool KnownDepth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32; }

}  // namespace

size_t BitPlane::StrideOf(int width, int bitsPerPixel) {
    if (width <= 0 || !KnownDepth(bitsPerPixel)) return 0;
    if (bitsPerPixel == 1) return (size_t(width) + 7) / 8;
    return ((size_t(width) * size_t(bitsPerPixel) + 31) / 32) * 4;
}

BitPlane::BitPlane(int width, int height, int bitsPerPixel, uint8_t* data, const PaletteEntry* palette)
    : m_nColors(ColorsOf(bitsPerPixel)),
      m_nStride(int(StrideOf(width, bitsPerPixel))),
      m_nHeight(height > 0 ? height : 0),
      m_nWidth(width > 0 ? width : 0),
      m_nBits(KnownDepth(bitsPerPixel) ? bitsPerPixel : 0),
      m_pPalette(palette) {
    if (m_nBits == 0 || m_nWidth == 0 || m_nHeight == 0) return;
    if (data) {
        m_pData = data;
        return;
    }
    m_hOwn = MemAlloc(size_t(m_nStride) * size_t(m_nHeight));  // zero-filled
    m_pData = m_hOwn ? static_cast<uint8_t*>(MemLock(m_hOwn)) : nullptr;
    m_bOwnsData = m_pData != nullptr;
}

BitPlane::~BitPlane() {
    if (m_hOwn) {
        if (m_bOwnsData) MemUnlock(m_hOwn);
        MemFree(m_hOwn);
    }
}

int BitPlane::GetPixel(int x, int y) const {
    if (!m_pData || !Inside(x, y)) return -1;
    const uint8_t* row = Row(y);
    switch (m_nBits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? row[x >> 1] & 0x0f : row[x >> 1] >> 4;
    case 8: return row[x];
    default: return -1;
    }
}

bool BitPlane::SetPixel(int x, int y, int value) {
    if (!m_pData || !Inside(x, y)) return false;
    uint8_t* row = Row(y);
    switch (m_nBits) {
    case 1: {
        if (value != 0 && value != 1) return false;
        const uint8_t bit = uint8_t(0x80 >> (x & 7));
        row[x >> 3] = value ? uint8_t(row[x >> 3] | bit) : uint8_t(row[x >> 3] & ~bit);
        return true;
    }
    case 4: {
        if (value < 0 || value > 15) return false;
        uint8_t& b = row[x >> 1];
        b = (x & 1) ? uint8_t((b & 0xf0) | value) : uint8_t((b & 0x0f) | (value << 4));
        return true;
    }
    case 8:
        if (value < 0 || value > 255) return false;
        row[x] = uint8_t(value);
        return true;
    default: return false;
    }
}

bool BitPlane::GetColor(int x, int y, PaletteEntry* out) const {
    if (!m_pData || !Inside(x, y) || !out) return false;
    if (m_nBits == 4 || m_nBits == 8) return PaletteColor(GetPixel(x, y), out);
    if (m_nBits == 24 || m_nBits == 32) {
        const uint8_t* p = Row(y) + size_t(x) * size_t(m_nBits / 8);
        *out = {p[0], p[1], p[2], 0};
        return true;
    }
    return false;
}

void BitPlane::Clear() {
    if (m_pData) std::memset(m_pData, 0, size_t(m_nStride) * size_t(m_nHeight));
}

bool BitPlane::PaletteColor(int index, PaletteEntry* out) const {
    const int count = m_nBits == 4 ? 16 : 256;
    if (!m_pPalette || !out || index < 0 || index >= count) return false;
    *out = m_pPalette[index];
    return true;
}
