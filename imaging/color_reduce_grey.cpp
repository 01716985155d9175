// Grey levels of an indexed image through its palette.
#include <cstring>

#include "imaging/color_reduce.h"

extern "C" void ConvertToGreyLevels(uint8_t* pixels, int32_t width, int32_t height, PaletteEntry* entries,
                                    int32_t twoLevels, int32_t paletteLater) {
    if (!pixels || !entries || width <= 0 || height <= 0) return;
    auto* palette = reinterpret_cast<uint8_t*>(entries);
    uint8_t level[256];
    for (int i = 0; i < 256; ++i) {
        const uint8_t* entry = palette + i * 4;
        int y = (76 * entry[2] + 149 * entry[1] + 29 * entry[0]) / 254;
        level[i] = twoLevels ? uint8_t(y > 128 ? 1 : 0) : uint8_t(y);
    }
    const size_t row = (size_t(width) + 3) & ~size_t(3);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* p = pixels + size_t(y) * row;
        for (int32_t x = 0; x < width; ++x) p[x] = level[p[x]];
    }
    if (paletteLater) return;
    for (int i = 0; i < 256; ++i) {
        uint8_t v = twoLevels ? uint8_t(i == 1 ? 255 : 0) : uint8_t(i);
        std::memset(palette + i * 4, v, 3);
    }
}
