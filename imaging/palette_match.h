// Matching a colour to the nearest entry of a colour table.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/dib_layout.h"

namespace dib {

// The index among the first `count` entries with the least squared distance
// (blue, green and red differences squared and summed) to the colour. Only
// distances strictly below 3 x 255 x 255 count and the lower index wins a
// tie; -1 when no entry is that near (or count is not positive).
int NearestColorIndex(const PaletteEntry* palette, int count, uint8_t blue, uint8_t green,
                      uint8_t red);

// NearestColorIndex for one table, remembering recent answers. A new colour
// is searched among the entries ordered by green, outwards from its own
// green, until the green difference alone is farther than the best so far.
class NearestColorCache {
public:
    NearestColorCache(const PaletteEntry* palette, int count);
    int Find(uint8_t blue, uint8_t green, uint8_t red);

private:
    struct Slot {
        uint32_t key = 0;  // colour | 1 << 24 once filled
        int16_t index = -1;
    };
    struct Entry {
        int green, blue, red, index;
    };
    int Search(int blue, int green, int red) const;

    const PaletteEntry* palette_;
    int count_;
    std::vector<Entry> byGreen_;  // empty when the table is too long to order
    std::array<Slot, 4096> slots_{};
};

}  // namespace dib
