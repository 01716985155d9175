// NearestPaletteIndex for many pixels of one table. The entries are sorted
// by green and searched outward from the pixel's green until the green
// difference alone passes the best distance; answers are remembered per
// colour. Gives exactly NearestPaletteIndex's answer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/dib_layout.h"

class PaletteSearch {
public:
    // `table` must outlive nothing: its entries are copied.
    PaletteSearch(const PaletteEntry* table, int count);

    uint8_t Find(uint8_t blue, uint8_t green, uint8_t red);

private:
    struct Entry {
        int b, g, r, index;
    };
    static constexpr int kSlotBits = 18;
    static constexpr size_t kSlots = size_t(1) << kSlotBits;
    static constexpr uint32_t kEmpty = 0xffffffffu;  // no colour has this key
    // Only distances below this count (as in NearestColorIndex).
    static constexpr int kFar = 3 * 255 * 255;

    uint8_t Search(int blue, int green, int red) const;

    std::vector<Entry> sorted_;
    std::array<int, 256> start_{};
    std::unique_ptr<uint32_t[]> keys_;
    std::unique_ptr<uint8_t[]> values_;
};
