// The program's working palette: 256 colours of red, green, blue and alpha,
// in the byte order of a palette file. The palette editor prepares it, a
// palette read from an image file lands in it, and a new image may take it
// as its palette ("the last used palette").
#pragma once

#include <array>
#include <cstdint>

#include "imaging/rgba_entry.h"

class CPelmarkDoc;

using WorkingPaletteEntry = RgbaEntry;

using WorkingPalette = std::array<WorkingPaletteEntry, 256>;
static_assert(sizeof(WorkingPalette) == 1024, "1024 bytes, as a palette file");

// The one working palette of the program (all zero at start).
WorkingPalette& GetWorkingPalette();
// Sets every entry to 0, 0, 0, 0.
void ClearWorkingPalette();

// The palette editor's replace-colour mode, kept beside the working palette:
// 1 while a drag in the editor's palette grids exchanges two entries, 0
// while it selects.
int& WorkingPaletteReplaceMode();

// The working palette as it was when the palette editor opened.
WorkingPalette& SavedWorkingPalette();

// The working palette takes the document's colour table (the image holds
// blue, green, red, alpha; the working palette red, green, blue, alpha).
// Nothing without an image.
void LoadWorkingPaletteFromDocument(const CPelmarkDoc& doc);
