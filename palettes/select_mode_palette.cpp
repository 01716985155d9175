#include "palettes/select_mode_palette.h"

#include "palettes/palette_geometry.h"

CSelectModePalette::CSelectModePalette(QWidget* owner)
    : PaletteWindow(owner, QStringLiteral("范围选择"), QString()) {
    setObjectName(QStringLiteral("SelectModePalette"));
    setFixedSize(ButtonPaletteSize(kButtons, kColumns));
}
