// Geometry shared by the small button palettes (link and selection mode):
// 29 x 27 buttons, rows 26 pixels apart, 6 pixels extra width and a
// 22-pixel bottom border.
#pragma once

#include <QSize>

inline QSize ButtonPaletteSize(int buttons, int columns) {
    int rows = (buttons + columns - 1) / columns;
    return QSize(columns * 29 + 6 + 1, rows * 26 + 22 + 1);
}
