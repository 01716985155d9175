// The images the tool host prepares for plug-ins: the used-colour table of
// the record and the hex tiling tool's tiled picture.
#pragma once

#include <array>
#include <cstdint>

#include "platform/memory.h"

namespace plugin_host {

// 1 where the index occurs in the composite's rows, padding included; the
// other entries 255 for indices 16 to 255 of a 16-colour document, else 0.
// A missing or refused image gives the table of an image that uses nothing.
void BuildUsedColorTable(MemHandle image, bool sixteenColors, std::array<uint8_t, 256>& table);

// The hex tiling picture and its layer.
inline constexpr int kHexWidth = 840;
inline constexpr int kHexHeight = 600;
struct HexTiles {
    MemHandle image = nullptr;
    MemHandle layer = nullptr;  // 88 + 840 x 600 bytes, header rectangle 0, 0, 840, 600
};
// An 840 x 600 picture of the document image's kind with its 256 palette
// entries, cleared to 0, the document image tiled over it with index 0
// transparent: ten rows at y = 0, 47, ..., 423, each of ten copies at
// x = 0, 80, ..., 720, odd rows shifted right by 40; the result copied into
// the layer. Both null (nothing kept) when a block cannot be had.
HexTiles MakeHexTiles(MemHandle documentImage);

}  // namespace plugin_host
