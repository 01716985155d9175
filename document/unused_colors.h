// Removing the palette entries the image does not use.
//
// An entry counts as used when its index occurs in some layer; of several
// used entries with the same red, green, blue and alpha only the first counts,
// and the pixels of the others move to it. Entries of locked palette rows
// always stay. The entries that stay close up from index 0 in their order;
// the freed entries at the end become 0, 0, 0, 0.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/rgba_entry.h"

class CPelmarkDoc;

namespace document {

struct UnusedColorPlan {
    std::array<RgbaEntry, 256> table{};  // the palette afterwards
    std::array<uint8_t, 256> map{};      // old pixel index -> new one
    std::array<uint8_t, 256> stays{};    // 1 for the old entries that stay
    int removed = 0;
};

using ColorFlagTable = std::array<uint8_t, 256>;

// `used`: nonzero where the index occurs in a layer; bit r of `lockedRows`:
// palette row r (entries 16 r .. 16 r + 15) is locked. `keep`, when given:
// nonzero entries the user keeps; they stay where an unused entry would go,
// and a later copy of a used entry keeps its own pixels.
UnusedColorPlan PlanUnusedColorRemoval(const std::array<RgbaEntry, 256>& table,
                                       const ColorFlagTable& used, uint16_t lockedRows,
                                       const ColorFlagTable* keep = nullptr);

// The entries the removal would take out of the document's palette: those
// no layer uses and the later copies of a used entry, locked rows never.
ColorFlagTable OfferedUnusedColors(const CPelmarkDoc& doc);

// Removes the unused entries of the document's palette (but those `keep`
// marks) as one undo step "消除未使用色", remapping the pixels of every
// layer, and marks the document modified. False, with nothing changed and
// no step, when that would change neither the palette nor a pixel, or the
// step cannot be opened.
bool RemoveUnusedColors(CPelmarkDoc& doc, const ColorFlagTable* keep = nullptr);

}  // namespace document
