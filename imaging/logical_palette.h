// The colours an indexed image shows on the screen.
//
// A palette decides what each index of an indexed image looks like when it is
// painted (the normal palette shows the colour-table colours, the alpha
// palette shows every entry as the grey of its alpha). Colours are opaque;
// indices at or past `count` show black.
#pragma once

#include <QRgb>
#include <array>

struct LogicalPalette {
    std::array<QRgb, 256> colors{};
    int count = 0;

    // The colour index `i` shows: opaque, black past `count`.
    QRgb Shown(int i) const { return (i >= 0 && i < count) ? (colors[size_t(i)] | 0xff000000u) : 0xff000000u; }
};
