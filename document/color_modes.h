// The colour modes of an image: which palette rows may be edited, the first
// current colour and how many entries a new image fills.
//
// Mode 0 is the 256-colour mode; every other mode is a 16-colour mode (mode 1
// the one the rest of the program tests for): a nonzero mode means "16
// colours" wherever a count of entries is chosen.
#pragma once

#include <array>
#include <cstdint>

namespace document {

struct ColorModeInfo {
    // Bit r set: palette entries 16r to 16r + 15 cannot be edited.
    uint16_t paletteLock;
    // The document's current colour index when the mode is chosen.
    int firstColor;
    // Entries a new image of this mode takes from its palette source.
    int entriesFilled;
};

inline constexpr int kColorModeCount = 8;

inline constexpr std::array<ColorModeInfo, kColorModeCount> kColorModes = {{
    {0x0000, 0, 256},
    {0xFFFE, 0, 16},
    {0xFFF3, 32, 16},
    {0xFFCF, 64, 16},
    {0xFF3F, 96, 16},
    {0xFCFF, 128, 16},
    {0xF3FF, 160, 16},
    {0xCFFF, 192, 16},
}};

// The row of a mode; a mode outside 0..7 gets the row of mode 0.
inline const ColorModeInfo& GetColorModeInfo(int mode) {
    return kColorModes[(mode >= 0 && mode < kColorModeCount) ? size_t(mode) : 0];
}

}  // namespace document
