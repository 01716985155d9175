#include "plugins/kit/kit_palette_search.h"

#include <algorithm>
#include <new>

PaletteSearch::PaletteSearch(const PaletteEntry* table, int count) {
    for (int i = 0; i < count; ++i) sorted_.push_back({table[i].blue, table[i].green, table[i].red, i});
    std::stable_sort(sorted_.begin(), sorted_.end(), [](const Entry& a, const Entry& b) { return a.g < b.g; });
    size_t k = 0;
    for (int g = 0; g < 256; ++g) {
        while (k < sorted_.size() && sorted_[k].g < g) ++k;
        start_[size_t(g)] = int(k);
    }
    // Without the memory for the answers every pixel is searched.
    keys_.reset(new (std::nothrow) uint32_t[kSlots]);
    values_.reset(new (std::nothrow) uint8_t[kSlots]);
    if (keys_ && values_) std::fill_n(keys_.get(), kSlots, kEmpty);
    else keys_.reset();
}

uint8_t PaletteSearch::Find(uint8_t blue, uint8_t green, uint8_t red) {
    if (!keys_) return Search(blue, green, red);
    uint32_t key = uint32_t(blue) << 16 | uint32_t(green) << 8 | red;
    size_t slot = (key * 2654435761u) >> (32 - kSlotBits);
    if (keys_[slot] == key) return values_[slot];
    uint8_t index = Search(blue, green, red);
    keys_[slot] = key;
    values_[slot] = index;
    return index;
}

uint8_t PaletteSearch::Search(int blue, int green, int red) const {
    int best = kFar, bestIndex = -1;
    auto consider = [&](const Entry& e) {
        int db = e.b - blue, dg = e.g - green, dr = e.r - red;
        int d = db * db + dg * dg + dr * dr;
        if (d < best || (d == best && bestIndex >= 0 && e.index < bestIndex)) {
            best = d;
            bestIndex = e.index;
        }
    };
    const int n = int(sorted_.size());
    const int first = start_[size_t(green)];
    for (int i = first; i < n; ++i) {
        int dg = sorted_[size_t(i)].g - green;
        if (dg * dg > best) break;
        consider(sorted_[size_t(i)]);
    }
    for (int i = first - 1; i >= 0; --i) {
        int dg = green - sorted_[size_t(i)].g;
        if (dg * dg > best) break;
        consider(sorted_[size_t(i)]);
    }
    return uint8_t(bestIndex < 0 ? 0 : bestIndex);
}
