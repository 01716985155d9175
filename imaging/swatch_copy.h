// Copying a block of palette entries from a grid of swatches (the colour
// palette bar, the palette grids) and writing it back at another cell, free
// of widgets. The block holds red, green, blue and alpha whichever table it
// came from.
//
// Cells are numbered row * columns + column. A copied block keeps its
// entries row by row; pasting puts the block's top-left entry at the target
// cell and drops the entries that would fall right of the last column, below
// the last row or past entry 255.
#pragma once

#include <array>

#include "imaging/rgba_entry.h"
#include "platform/memory.h"

using ColorTable = std::array<RgbaEntry, 256>;

// The 256 entries of an image's colour table (zero past its end).
ColorTable ReadColorTable(MemHandle image);
// Writes every entry that differs; returns how many did.
int WriteColorTable(MemHandle image, const ColorTable& table);

// What a paste writes of each entry.
enum class PastePart { All, AlphaOnly, ColorOnly };

struct SwatchCopyBuffer {
    // A Shift + right drag is choosing the block.
    bool selecting = false;
    int anchorRow = 0, anchorColumn = 0;
    int row = 0, column = 0;
    // The block: columns left..right-1, rows top..bottom-1.
    int left = 0, top = 0, right = 0, bottom = 0;
    std::array<RgbaEntry, 256> entries{};

    bool Empty() const { return right <= left || bottom <= top; }
    int Width() const { return right - left; }
    // The block from the anchor and the current cell, both included.
    void Normalize();
    // Takes the block's entries from `table`, then moves the block's origin
    // to row 0, column 0.
    void Copy(const ColorTable& table, int columns);
    // Writes the block with its top-left entry at (row, column) of a grid of
    // `columns` x `rows` cells; returns how many entries were written.
    int Paste(ColorTable& table, int row, int column, int columns, int rows, PastePart part) const;
};
