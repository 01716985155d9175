// The order in which an image's rows are stored: top to bottom, or in the four
// interlace passes (rows 0, 8, 16...; 4, 12...; 2, 6...; 1, 3...).
#pragma once

#include <cstdint>

template <class Visit> void GifForEachRow(uint32_t height, bool interlaced, Visit visit) {
    if (!interlaced) {
        for (uint32_t y = 0; y < height; ++y) visit(y);
        return;
    }
    static constexpr uint32_t kStart[4] = {0, 4, 2, 1};
    static constexpr uint32_t kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (uint32_t y = kStart[pass]; y < height; y += kStep[pass]) visit(y);
}
