#include "imaging/palette_match.h"

namespace dib {

int NearestColorIndex(const PaletteEntry* palette, int count, uint8_t blue, uint8_t green,
                      uint8_t red) {
    int best = -1;
    int bestDistance = 3 * 255 * 255;
    for (int i = 0; i < count; ++i) {
        const PaletteEntry& e = palette[i];
        int db = int(e.blue) - blue, dg = int(e.green) - green, dr = int(e.red) - red;
        int d = db * db + dg * dg + dr * dr;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
            if (d == 0) break;
        }
    }
    return best;
}

NearestColorCache::NearestColorCache(const PaletteEntry* palette, int count)
    : palette_(palette), count_(count) {}

int NearestColorCache::Find(uint8_t blue, uint8_t green, uint8_t red) {
    uint32_t colour = uint32_t(red) << 16 | uint32_t(green) << 8 | blue;
    Slot& slot = slots_[(colour * 2654435761u) >> 20];
    uint32_t key = colour | 1u << 24;
    if (slot.key != key) {
        slot.key = key;
        slot.index = int16_t(NearestColorIndex(palette_, count_, blue, green, red));
    }
    return slot.index;
}

}  // namespace dib
