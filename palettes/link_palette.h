// The link palette: the nine tools of the image-map editor in two columns.
#pragma once

#include "palettes/button_palette.h"

class CToolRecPalette : public ButtonPalette {
    Q_OBJECT
public:
    static constexpr int kBarId = 32776;
    static constexpr int kColumns = 2;
    static constexpr int kButtons = 9;

    explicit CToolRecPalette(QWidget* owner);
};
