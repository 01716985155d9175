// The arithmetic of a paste: where the block lands when snapping is on and
// how the pasted indices map onto the target palette.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/dib_layout.h"
#include "imaging/rgba_entry.h"

namespace view {

// `v` moved back by the smaller of v mod mainCell (while `mainSnap`) and
// v mod subCell (while `subSnap`); unchanged without snapping. Cells below 1
// count as 1.
int SnapPasteCoordinate(int v, bool mainSnap, int mainCell, bool subSnap, int subCell);

// For each index i of `from`, its index in the first `count` entries of `to`.
// A table that is `to` itself (the first `count` entries equal in red, green,
// blue and alpha, and nothing beyond them) keeps every index. Otherwise an
// index whose own entry is equal keeps it; then the first equal entry (alpha
// too) is taken, else the nearest colour (squared red, green and blue
// differences summed; the first index wins a tie; nothing farther than
// 3 x 255 x 255 is taken, and such an index maps to 0).
std::array<uint8_t, 256> PasteColorTable(const std::array<RgbaEntry, 256>& from,
                                         const PaletteEntry* to, int count);

}  // namespace view
