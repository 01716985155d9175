#include "plugins/kit/kit_dib.h"

#include "imaging/dib_paint.h"

namespace {

bool IsInfoHeader(const void* dib) { return static_cast<const DibInfoHeader*>(dib)->size == DIB_INFO_HEADER_SIZE; }

int ColorsForBits(int bits) {
    switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

}  // namespace

int DibNumColors(const void* dib, bool wantBits) {
    int bits;
    if (IsInfoHeader(dib)) {
        const auto* info = static_cast<const DibInfoHeader*>(dib);
        if (!wantBits && info->clrUsed != 0) return int(info->clrUsed);
        bits = info->bitCount;
    } else {
        bits = static_cast<const DibCoreHeader*>(dib)->bitCount;
    }
    return wantBits ? bits : ColorsForBits(bits);
}

int DibWidth(const void* dib) {
    return IsInfoHeader(dib) ? static_cast<const DibInfoHeader*>(dib)->width
                             : static_cast<const DibCoreHeader*>(dib)->width;
}

int DibHeight(const void* dib) {
    return IsInfoHeader(dib) ? static_cast<const DibInfoHeader*>(dib)->height
                             : static_cast<const DibCoreHeader*>(dib)->height;
}

int DibPaletteSize(const void* dib) { return DibNumColors(dib, false) * (IsInfoHeader(dib) ? 4 : 3); }

const uint8_t* FindDibBits(const void* dib) {
    const auto* bytes = static_cast<const uint8_t*>(dib);
    return bytes + static_cast<const DibInfoHeader*>(dib)->size + DibPaletteSize(dib);
}

uint8_t* FindDibBits(void* dib) { return const_cast<uint8_t*>(FindDibBits(static_cast<const void*>(dib))); }

int PaintDib(QPainter* painter, const QRect& destination, MemHandle dib, const DibRect& source,
             const LogicalPalette* palette) {
    if (!dib) return 0;
    return PaintDibToDc(painter, destination, dib, source, palette);
}

int CreateDibPalette(MemHandle dib, LogicalPalette* palette) {
    if (!dib) return 0;
    return CreatePaletteFromDib(dib, palette);
}

PaletteDibInfo::PaletteDibInfo(MemHandle dib) {
    MemLockGuard lock(dib);
    if (!lock || lock.size() < DIB_INFO_HEADER_SIZE) return;
    const auto* info = lock.as<DibInfoHeader>();
    m_bitCount = info->bitCount;
    m_colors = ColorsForBits(info->bitCount);
    m_width = info->width;
    m_height = info->height;
    m_stride = int(((int64_t(info->width) * info->bitCount + 31) / 8) & ~int64_t(3));
    m_pColorTable = reinterpret_cast<const PaletteEntry*>(lock.get() + DIB_INFO_HEADER_SIZE);
    m_pBits = lock.get() + DIB_INFO_HEADER_SIZE + size_t(m_colors) * 4;
}

PaletteDibInfo::~PaletteDibInfo() = default;
