#include "document/working_palette.h"

#include <algorithm>

#include "document/pelmark_doc.h"
#include "imaging/swatch_copy.h"

namespace {
WorkingPalette g_workingPalette{};
int g_replaceMode = 0;
WorkingPalette g_savedWorkingPalette{};
}  // namespace

WorkingPalette& GetWorkingPalette() { return g_workingPalette; }

void ClearWorkingPalette() { g_workingPalette.fill(WorkingPaletteEntry{}); }

int& WorkingPaletteReplaceMode() { return g_replaceMode; }

WorkingPalette& SavedWorkingPalette() { return g_savedWorkingPalette; }

void LoadWorkingPaletteFromDocument(const CPelmarkDoc& doc) {
    if (!doc.m_hImage) return;
    const ColorTable table = ReadColorTable(doc.m_hImage);
    std::copy(table.begin(), table.end(), g_workingPalette.begin());
}
