#include "document/palette_from_image.h"

#include <algorithm>

#include "document/working_palette.h"
#include "imaging/dib_geometry.h"

namespace document {

void FillWorkingPaletteFromDib(MemHandle picture, int colors) {
    // The colour table as blue, green, red, alpha; entries past it are 0.
    PaletteEntry table[256] = {};
    if (dib::LockedDib dib(picture); dib) dib::ReadColorTable(dib.data(), dib.geo(), table);
    WorkingPalette& palette = GetWorkingPalette();
    const int count = std::clamp(colors, 0, 256);
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& e = table[i];
        palette[size_t(i)] = i < count ? WorkingPaletteEntry{e.red, e.green, e.blue, e.alpha} : WorkingPaletteEntry{};
    }
}

}  // namespace document
