#include "imaging/palette_match.h"

#include <algorithm>

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
    : palette_(palette), count_(count) {
    if (count <= 0 || count > 256) return;
    byGreen_.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        byGreen_.push_back({palette[i].green, palette[i].blue, palette[i].red, i});
    std::stable_sort(byGreen_.begin(), byGreen_.end(),
                     [](const Entry& a, const Entry& b) { return a.green < b.green; });
}

// The answer of NearestColorIndex: the least (distance, index) below the bound.
int NearestColorCache::Search(int blue, int green, int red) const {
    int best = -1;
    int bestDistance = 3 * 255 * 255;
    auto consider = [&](const Entry& e) {
        int db = e.blue - blue, dg = e.green - green, dr = e.red - red;
        int d = db * db + dg * dg + dr * dr;
        if (d < bestDistance || (d == bestDistance && best >= 0 && e.index < best)) {
            bestDistance = d;
            best = e.index;
        }
    };
    const Entry* begin = byGreen_.data();
    const Entry* end = begin + byGreen_.size();
    const Entry* up = std::lower_bound(begin, end, green,
                                       [](const Entry& e, int g) { return e.green < g; });
    const Entry* down = up;
    // An entry whose green alone is farther than the best cannot win, nor
    // can any beyond it; one exactly as far may still win on its index.
    for (; up != end; ++up) {
        int dg = up->green - green;
        if (dg * dg > bestDistance) break;
        consider(*up);
    }
    while (down != begin) {
        --down;
        int dg = green - down->green;
        if (dg * dg > bestDistance) break;
        consider(*down);
    }
    return best;
}

int NearestColorCache::Find(uint8_t blue, uint8_t green, uint8_t red) {
    uint32_t colour = uint32_t(red) << 16 | uint32_t(green) << 8 | blue;
    Slot& slot = slots_[(colour * 2654435761u) >> 20];
    uint32_t key = colour | 1u << 24;
    if (slot.key != key) {
        slot.key = key;
        slot.index = int16_t(byGreen_.empty() ? NearestColorIndex(palette_, count_, blue, green, red)
                                              : Search(blue, green, red));
    }
    return slot.index;
}

}  // namespace dib
