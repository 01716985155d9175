// The grid the layer sheet proposes: how many cells across and down the
// layers of a document are laid out on, side by side, before the user is
// asked. The merge-layers dialog opens with it; the layer sheet command uses
// it while it has no dialog to ask.
#pragma once

#include "document/image_limits.h"

class CPelmarkDoc;

namespace document {

struct LayerSheetGrid {
    int columns = 1;
    int rows = 1;
    bool operator==(const LayerSheetGrid&) const = default;
};

// For `layers` layers of `width` x `height` on a sheet at most `maxWidth`
// wide: as many columns as fit across (at most one for each layer), then as
// many rows as the layers need. While the sheet is wider than high, a column
// is given up as long as the sheet, with the rows that then takes, stays at
// least as wide as high; never below one column. 1 x 1 without layers, for
// a size that is not positive or wider than `maxWidth`.
LayerSheetGrid ProposeLayerSheetGrid(int width, int height, int layers, int maxWidth);

// What a sheet of `grid` cells of width x height loses of `layers` layers
// when it may be at most `max` large: its right part, its lower part, the
// layers beyond the last cell. The products are taken in 64 bits.
struct LayerSheetLoss {
    bool tooWide = false;
    bool tooHigh = false;
    bool tooFewCells = false;
    bool operator==(const LayerSheetLoss&) const = default;
};
LayerSheetLoss CheckLayerSheetGrid(const LayerSheetGrid& grid, int width, int height, int layers,
                                   MaxImageSize max);

// The sheet's size: the grid's cells, cut at `max`.
MaxImageSize LayerSheetSize(const LayerSheetGrid& grid, int width, int height, MaxImageSize max);

// The proposal for the document's image size and layer count at the
// editor's maximum image width; 1 x 1 without a document.
LayerSheetGrid ProposeLayerSheetGrid(const CPelmarkDoc* doc);

}  // namespace document
