#include "plugins/vorex32/vrx_clut.h"

#include "plugins/vorex32/vrx_format.h"

size_t VrxEntrySize(uint32_t entryType) { return entryType == VRX_ENTRY_16BIT ? 2 : 4; }

int VrxSwizzle(int i) {
    const int inRun = i & 31;
    if (inRun >= 8 && inRun < 16) return i + 8;
    if (inRun >= 16 && inRun < 24) return i - 8;
    return i;
}

void VrxClutToPalette(const uint8_t* clut, size_t size, uint32_t entryType, int colors, bool swizzled,
                      PaletteEntry* palette) {
    const size_t entrySize = VrxEntrySize(entryType);
    for (int i = 0; i < colors; ++i) {
        const size_t at = size_t(swizzled ? VrxSwizzle(i) : i) * entrySize;
        PaletteEntry& e = palette[i];
        e = PaletteEntry{};
        if (at + entrySize > size) continue;
        const uint8_t* p = clut + at;
        if (entrySize == 4) {
            e = PaletteEntry{p[2], p[1], p[0], p[3]};
        } else {
            const uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8;
            e = PaletteEntry{uint8_t((v >> 10 & 31) << 3), uint8_t((v >> 5 & 31) << 3), uint8_t((v & 31) << 3),
                             uint8_t(v & 0x8000 ? 128 : 0)};
        }
    }
}

void VrxPaletteToClut(const PaletteEntry* palette, int colors, uint32_t entryType, bool swizzled, uint8_t* out) {
    const size_t entrySize = VrxEntrySize(entryType);
    for (int i = 0; i < colors; ++i) {
        const PaletteEntry& e = palette[i];
        uint8_t* p = out + size_t(swizzled ? VrxSwizzle(i) : i) * entrySize;
        if (entrySize == 4) {
            p[0] = e.red;
            p[1] = e.green;
            p[2] = e.blue;
            p[3] = e.alpha;
        } else {
            const uint32_t v = uint32_t(e.red >> 3) | uint32_t(e.green >> 3) << 5 | uint32_t(e.blue >> 3) << 10 |
                               uint32_t(e.alpha & 0x80) << 8;
            p[0] = uint8_t(v);
            p[1] = uint8_t(v >> 8);
        }
    }
}
