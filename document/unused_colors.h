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
    int removed = 0;
};

// `used`: nonzero where the index occurs in a layer; bit r of `lockedRows`:
// palette row r (entries 16 r .. 16 r + 15) is locked.
UnusedColorPlan PlanUnusedColorRemoval(const std::array<RgbaEntry, 256>& table,
                                       const std::array<uint8_t, 256>& used, uint16_t lockedRows);

// Removes the unused entries of the document's palette as one undo step
// "消除未使用色", remapping the pixels of every layer, and marks the document
// modified. False, with nothing changed and no step, when that would change
// neither the palette nor a pixel, or the step cannot be opened.
bool RemoveUnusedColors(CPelmarkDoc& doc);

}  // namespace document
