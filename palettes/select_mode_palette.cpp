#include "palettes/select_mode_palette.h"

#include "palettes/palette_geometry.h"

CSelectModePalette::CSelectModePalette(QWidget* owner)
    : PaletteWindow(owner, QStringLiteral("范围选择"), QString()) {
    setObjectName(QStringLiteral("SelectModePalette"));
    // Buttons only: a press never takes the activation from the main window.
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    setFixedSize(ButtonPaletteSize(kButtons, kColumns));
}
