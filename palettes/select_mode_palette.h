// The selection-mode palette: how the selection tool draws its outline
// (rectangle, ellipse, freehand, polygon). It pops up beside the tool
// palette and keeps no position of its own.
#pragma once

#include "palettes/palette_window.h"

class CSelectModePalette : public PaletteWindow {
    Q_OBJECT
public:
    static constexpr int kColumns = 2;
    static constexpr int kButtons = 4;

    explicit CSelectModePalette(QWidget* owner);
};
