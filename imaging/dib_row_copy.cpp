#include "imaging/dib_row_copy.h"

#include <algorithm>
#include <cstring>

#include "imaging/dib_geometry.h"

bool CopyDibRowsTopLeft(MemHandle destination, MemHandle source) {
    if (!destination || !source || destination == source) return false;
    dib::LockedDib d(destination), s(source);
    if (!d || !s || d.geo().bitCount != s.geo().bitCount) return false;
    const dib::DibGeometry &dg = d.geo(), &sg = s.geo();
    size_t dRow = dg.DisplayRow(), sRow = sg.DisplayRow();
    if (!dg.HoldsRows(dRow) || !sg.HoldsRows(sRow)) return false;
    int width = std::min(dg.width, sg.width), height = std::min(dg.height, sg.height);
    size_t bytes = (size_t(width) * size_t(dg.bitCount) + 7) / 8;
    // Rows are stored bottom first: image row y is memory row height - 1 - y.
    for (int y = 0; y < height; ++y)
        std::memcpy(d.Row(dg.height - 1 - y, dRow), s.Row(sg.height - 1 - y, sRow), bytes);
    return true;
}
