#include "imaging/swatch_copy.h"

#include <algorithm>

#include "imaging/dib_access.h"

ColorTable ReadColorTable(MemHandle image) {
    ColorTable table{};
    for (int i = 0; i < 256; ++i) {
        RgbaEntry& e = table[size_t(i)];
        if (!GetDibPaletteEntry(image, i, &e.red, &e.green, &e.blue, &e.alpha)) e = {};
    }
    return table;
}

int WriteColorTable(MemHandle image, const ColorTable& table) {
    const ColorTable old = ReadColorTable(image);
    int written = 0;
    for (int i = 0; i < 256; ++i) {
        const RgbaEntry& e = table[size_t(i)];
        const RgbaEntry& o = old[size_t(i)];
        if (e.red == o.red && e.green == o.green && e.blue == o.blue && e.alpha == o.alpha) continue;
        written += SetDibPaletteEntry(image, i, e.red, e.green, e.blue, e.alpha);
    }
    return written;
}

void SwatchCopyBuffer::Normalize() {
    left = std::min(anchorColumn, column);
    right = std::max(anchorColumn, column) + 1;
    top = std::min(anchorRow, row);
    bottom = std::max(anchorRow, row) + 1;
}

void SwatchCopyBuffer::Copy(const ColorTable& table, int columns) {
    int k = 0;
    for (int r = top; r < bottom; ++r)
        for (int c = left; c < right; ++c) {
            const int index = r * columns + c;
            entries[size_t(k++)] = (index >= 0 && index < 256) ? table[size_t(index)] : RgbaEntry{};
        }
    right -= left;
    bottom -= top;
    left = top = 0;
}

int SwatchCopyBuffer::Paste(ColorTable& table, int row, int column, int columns, int rows,
                            PastePart part) const {
    if (Empty()) return 0;
    int written = 0;
    for (int r = 0; r < bottom - top; ++r)
        for (int c = 0; c < Width(); ++c) {
            const int tr = row + r, tc = column + c;
            if (tr < 0 || tr >= rows || tc < 0 || tc >= columns) continue;
            const int index = tr * columns + tc;
            if (index >= 256) continue;
            const RgbaEntry& from = entries[size_t(r * Width() + c)];
            RgbaEntry& to = table[size_t(index)];
            if (part != PastePart::ColorOnly) to.alpha = from.alpha;
            if (part != PastePart::AlphaOnly) {
                to.red = from.red;
                to.green = from.green;
                to.blue = from.blue;
            }
            ++written;
        }
    return written;
}
