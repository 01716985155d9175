#include "palettes/link_palette.h"

#include "palettes/palette_geometry.h"

CToolRecPalette::CToolRecPalette(QWidget* owner)
    : PaletteWindow(owner, QStringLiteral("链接面板"), QStringLiteral("ToolRecPalettePos")) {
    setObjectName(QStringLiteral("LinkPalette"));
    // Buttons only: a press never takes the activation from the main window.
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    setFixedSize(ButtonPaletteSize(kButtons, kColumns));
}
