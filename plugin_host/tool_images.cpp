#include "plugin_host/tool_images.h"

#include <cstring>

#include "imaging/dib_access.h"
#include "imaging/dib_blit.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "imaging/dib_layout.h"

namespace plugin_host {

void BuildUsedColorTable(MemHandle image, bool sixteenColors, std::array<uint8_t, 256>& table) {
    table.fill(0);
    {
        dib::LockedDib dib(image);
        if (dib && dib.geo().bitCount == 8) {
            const size_t bytes = dib.geo().PaddedRow() * size_t(dib.geo().height);
            if (dib.geo().HoldsRows(dib.geo().PaddedRow())) {
                const uint8_t* p = dib.bits();
                for (size_t i = 0; i < bytes; ++i) table[p[i]] = 1;
            }
        }
    }
    if (sixteenColors)
        for (size_t i = 16; i < table.size(); ++i)
            if (!table[i]) table[i] = 255;
}

HexTiles MakeHexTiles(MemHandle documentImage) {
    HexTiles tiles;
    int width = 0, height = 0;
    {
        dib::LockedDib source(documentImage);
        if (!source) return tiles;
        width = source.geo().width;
        height = source.geo().height;
    }
    MemHandle image = CreateDib8(kHexWidth, kHexHeight, GetDibFormatCode(documentImage));
    MemHandle layer = MemAlloc(LAYER_HEADER_SIZE + size_t(kHexWidth) * kHexHeight);
    if (!image || !layer) {
        if (image) MemFree(image);
        if (layer) MemFree(layer);
        return tiles;
    }
    for (int i = 0; i < 256; ++i) {
        uint8_t r = 0, g = 0, b = 0, a = 0;
        GetDibPaletteEntry(documentImage, i, &r, &g, &b, &a);
        SetDibPaletteEntry(image, i, r, g, b, a);
    }
    uint8_t writable[256];
    uint8_t enabled[256];
    std::memset(writable, 1, sizeof writable);
    std::memset(enabled, 1, sizeof enabled);
    enabled[0] = 0;
    for (int row = 0; row < 10; ++row)
        for (int column = 0; column < 10; ++column)
            BlitDibRectGuarded(image, documentImage, column * 80 + (row % 2) * 40, row * 47, width,
                               height, 0, 0, writable, enabled);
    {
        dib::LockedDib picture(image);
        MemLockGuard target(layer);
        auto* header = target.as<LayerHeader>();
        header->right = kHexWidth;
        header->bottom = kHexHeight;
        if (picture && picture.geo().bitCount == 8)
            std::memcpy(target.get() + LAYER_HEADER_SIZE, picture.bits(),
                        size_t(kHexWidth) * kHexHeight);
    }
    tiles.image = image;
    tiles.layer = layer;
    return tiles;
}

}  // namespace plugin_host
