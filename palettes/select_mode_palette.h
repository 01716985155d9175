// The selection-mode palette: how the selection tool draws its outline
// (rectangle, ellipse, freehand, polygon; commands 653 to 656). It pops up
// beside the tool palette, keeps no position of its own, and the frame hides
// it again once a mode is chosen.
#pragma once

#include "palettes/button_palette.h"

class CSelectModePalette : public ButtonPalette {
    Q_OBJECT
public:
    static constexpr int kColumns = 2;
    static constexpr int kButtons = 4;
    static constexpr framework::CommandId kFirstModeCommand = 653;

    explicit CSelectModePalette(QWidget* owner);
};
