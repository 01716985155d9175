// One colour as palette files and the program's palette tables keep it:
// red, green, blue, alpha, one byte each.
#pragma once

#include <cstdint>

struct RgbaEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 0;
};
static_assert(sizeof(RgbaEntry) == 4, "four bytes per entry");
