#include "imaging/dib_access.h"

#include <cstring>

#include "imaging/dib_geometry.h"

namespace {

int Saturate(int64_t v) { return v > INT32_MAX ? INT32_MAX : int(v); }

// Entries 16 to 255 (as far as the table reaches) are all zero.
bool UpperEntriesZero(const dib::LockedDib& d) {
    const dib::DibGeometry& g = d.geo();
    if (g.entries <= 16) return true;
    const uint8_t* t = d.data() + g.headerSize;
    size_t from = 16 * size_t(g.entrySize);
    size_t to = size_t(g.entries < 256 ? g.entries : 256) * size_t(g.entrySize);
    for (size_t i = from; i < to; ++i)
        if (t[i] != 0) return false;
    return true;
}

}  // namespace

uint8_t* GetDibBitsPtr(void* header) {
    if (!header) return nullptr;
    dib::HeaderFields f = dib::ReadHeaderFields(header);
    int64_t table = dib::HeaderEntries(f) * (f.core ? 3 : 4);
    return static_cast<uint8_t*>(header) + f.size + table;
}

const uint8_t* GetDibBitsPtr(const void* header) {
    return GetDibBitsPtr(const_cast<void*>(header));
}

int GetDibWidth(const void* header) { return header ? dib::ReadHeaderFields(header).width : 0; }

int GetDibHeight(const void* header) { return header ? dib::ReadHeaderFields(header).height : 0; }

int GetDibColorTableBytes(const void* header) {
    if (!header) return 0;
    dib::HeaderFields f = dib::ReadHeaderFields(header);
    return Saturate(dib::HeaderEntries(f) * (f.core ? 3 : 4));
}

int GetDibColorCount(const void* header, int flag) {
    if (!header) return 0;
    dib::HeaderFields f = dib::ReadHeaderFields(header);
    return flag ? f.bitCount : Saturate(dib::HeaderEntries(f));
}

bool IsDibIndexed(MemHandle image) {
    dib::LockedDib d(image);
    return d && (d.geo().bitCount == 4 || d.geo().bitCount == 8);
}

int GetDibFormatCode(MemHandle image) {
    dib::LockedDib d(image);
    if (!d) return 0;
    switch (d.geo().bitCount) {
    case 1: return 5;
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 0;
    }
}

int GetDibPaletteEntry(MemHandle image, int index, uint8_t* red, uint8_t* green, uint8_t* blue,
                       uint8_t* alpha) {
    dib::LockedDib d(image);
    if (!d || index < 0) return 0;
    const dib::DibGeometry& g = d.geo();
    if (size_t(index) * size_t(g.entrySize) >= g.tableBytes) return 0;
    const uint8_t* e = d.data() + g.headerSize + size_t(index) * size_t(g.entrySize);
    if (blue) *blue = e[0];
    if (green) *green = e[1];
    if (red) *red = e[2];
    if (alpha) *alpha = g.core ? 0 : e[3];
    return 1;
}

int SetDibPaletteEntry(MemHandle image, int index, uint8_t red, uint8_t green, uint8_t blue,
                       uint8_t alpha) {
    dib::LockedDib d(image);
    if (!d || index < 0) return 0;
    const dib::DibGeometry& g = d.geo();
    if (size_t(index) * size_t(g.entrySize) >= g.tableBytes) return 0;
    uint8_t* e = d.data() + g.headerSize + size_t(index) * size_t(g.entrySize);
    e[0] = blue;
    e[1] = green;
    e[2] = red;
    if (!g.core) e[3] = alpha;
    return 1;
}

bool IsSixteenColorDib(MemHandle image) {
    dib::LockedDib d(image);
    if (!d || (d.geo().bitCount != 4 && d.geo().bitCount != 8)) return false;
    return UpperEntriesZero(d);
}

bool UsesOnly16Colors(MemHandle image) {
    dib::LockedDib d(image);
    if (!d) return false;
    const dib::DibGeometry& g = d.geo();
    if (g.bitCount == 4) return UpperEntriesZero(d) && g.HoldsRows(g.PaddedRow());
    if (g.bitCount != 8 || !UpperEntriesZero(d)) return false;
    size_t stride = g.PaddedRow();
    if (!g.HoldsRows(stride)) return false;
    for (int y = 0; y < g.height; ++y) {
        const uint8_t* row = d.Row(y, stride);
        for (int x = 0; x < g.width; ++x)
            if (row[x] > 15) return false;
    }
    return true;
}
