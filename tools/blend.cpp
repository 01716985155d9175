#include "tools/blend.h"

#include <algorithm>
#include <cstdlib>

#include "tools/tone.h"

namespace tools {

namespace {

int Mix(int oldValue, int drawValue, int weight) {
    return std::clamp(oldValue + (drawValue - oldValue) * weight / ToneWeights[0], 0, 255);
}

}  // namespace

int ResolveDrawColor(const PaletteEntry* palette, int entries, int pattern, int oldIndex,
                     int drawIndex) {
    if (pattern == 0 || !palette || entries <= 0) return drawIndex;
    int weight = ToneWeights[size_t(std::clamp(pattern, 0, kToneLevels - 1))];
    const PaletteEntry& o = palette[oldIndex & 255];
    const PaletteEntry& d = palette[drawIndex & 255];
    int blue = Mix(o.blue, d.blue, weight);
    int green = Mix(o.green, d.green, weight);
    int red = Mix(o.red, d.red, weight);
    // Every channel is within 0..255, so t = 260 matches any entry.
    for (int t = 5;; t += 5) {
        for (int i = 0; i < entries; ++i) {
            const PaletteEntry& e = palette[i];
            if (std::abs(e.blue - blue) < t && std::abs(e.green - green) < t &&
                std::abs(e.red - red) < t)
                return i;
        }
    }
}

}  // namespace tools
