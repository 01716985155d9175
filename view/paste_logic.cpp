#include "view/paste_logic.h"

#include <algorithm>

#include "imaging/palette_match.h"

namespace view {

int SnapPasteCoordinate(int v, bool mainSnap, int mainCell, bool subSnap, int subCell) {
    if (v <= 0 || (!mainSnap && !subSnap)) return v;
    int back = v;
    if (mainSnap) back = std::min(back, v % std::max(1, mainCell));
    if (subSnap) back = std::min(back, v % std::max(1, subCell));
    return v - back;
}

std::array<uint8_t, 256> PasteColorTable(const std::array<RgbaEntry, 256>& from,
                                         const PaletteEntry* to, int count) {
    std::array<uint8_t, 256> table{};
    for (size_t i = 0; i < from.size(); ++i) {
        const RgbaEntry& c = from[i];
        int nearest = dib::NearestColorIndex(to, count, c.blue, c.green, c.red);
        table[i] = uint8_t(std::max(nearest, 0));
    }
    return table;
}

}  // namespace view
