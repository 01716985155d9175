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

namespace {

bool SameEntry(const RgbaEntry& a, const PaletteEntry& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

}  // namespace

std::array<uint8_t, 256> PasteColorTable(const std::array<RgbaEntry, 256>& from,
                                         const PaletteEntry* to, int count) {
    std::array<uint8_t, 256> table{};
    count = std::clamp(count, 0, int(from.size()));
    const auto kept = [&](size_t i) { return int(i) < count && SameEntry(from[i], to[i]); };
    bool same = true;
    for (size_t i = 0; i < from.size() && same; ++i) {
        const RgbaEntry& c = from[i];
        same = kept(i) || (int(i) >= count && !c.red && !c.green && !c.blue && !c.alpha);
    }
    for (size_t i = 0; i < from.size(); ++i) {
        if (same || kept(i)) {
            table[i] = uint8_t(i);
            continue;
        }
        const RgbaEntry& c = from[i];
        const PaletteEntry* equal =
            std::find_if(to, to + count, [&](const PaletteEntry& e) { return SameEntry(c, e); });
        const int index =
            equal != to + count ? int(equal - to) : dib::NearestColorIndex(to, count, c.blue, c.green, c.red);
        table[i] = uint8_t(std::max(index, 0));
    }
    return table;
}

}  // namespace view
