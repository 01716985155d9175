// CLUT entries and the palette: 32-bit entries are red, green, blue, alpha
// bytes; 16-bit entries hold the top 5 bits of red (bits 0-4), green (5-9)
// and blue (10-14) and alpha bit 7 (bit 15). 256-entry CLUTs may be stored
// swizzled: in every run of 32 entries, 8-15 and 16-23 change places.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/dib_layout.h"

// The bytes of one entry of `entryType` (VrxEntryType).
size_t VrxEntrySize(uint32_t entryType);
// The entry index a swizzled 256-entry CLUT keeps palette index `i` at (and
// back: the exchange is its own inverse).
int VrxSwizzle(int i);

// `colors` palette entries from the CLUT bytes (`size` of them; entries past
// the end read 0), swizzled when `swizzled` is set.
void VrxClutToPalette(const uint8_t* clut, size_t size, uint32_t entryType, int colors, bool swizzled,
                      PaletteEntry* palette);
// The CLUT bytes of `colors` palette entries; `out` holds colors x the entry
// size.
void VrxPaletteToClut(const PaletteEntry* palette, int colors, uint32_t entryType, bool swizzled, uint8_t* out);
