// The tone blend of documents without layers: the drawing colour mixed into
// the existing pixel by the tone weight, matched back to the palette.
#pragma once

#include "imaging/dib_layout.h"

namespace tools {

// With pattern index 0 the drawing colour. Otherwise each of blue, green and
// red becomes old + (draw - old) * ToneWeights[p] / ToneWeights[0]
// (truncated toward zero, clamped to 0..255), and the result is the first
// of the first `entries` palette indices (16 or 256) whose three channels
// each differ from that colour by less than t: t = 5, then 10, 15, ...
int ResolveDrawColor(const PaletteEntry* palette, int entries, int pattern, int oldIndex,
                     int drawIndex);

}  // namespace tools
