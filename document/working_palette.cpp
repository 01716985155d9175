#include "document/working_palette.h"

namespace {
WorkingPalette g_workingPalette{};
}

WorkingPalette& GetWorkingPalette() { return g_workingPalette; }

void ClearWorkingPalette() { g_workingPalette.fill(WorkingPaletteEntry{}); }
