// The grid the layer sheet proposes for a layer count, an image size and the
// maximum sheet width.
#include <gtest/gtest.h>

#include "document/layer_sheet_grid.h"
#include "document/pelmark_doc.h"

namespace {

using document::LayerSheetGrid;
using document::ProposeLayerSheetGrid;

TEST(LayerSheetGrid, Proposals) {
    struct Case {
        const char* what;
        int width, height, layers, maxWidth;
        LayerSheetGrid grid;
    };
    const Case cases[] = {
        {"ten wide layers", 100, 50, 10, 2048, {3, 4}},
        {"ten wide layers, map-tool width", 100, 50, 10, 4096, {3, 4}},
        {"one layer", 100, 50, 1, 2048, {1, 1}},
        {"no layers", 100, 50, 0, 2048, {1, 1}},
        {"wider than the sheet", 3000, 10, 5, 2048, {1, 1}},
        {"no size", 0, 50, 5, 2048, {1, 1}},
        {"tall layers stay in one row", 10, 100, 4, 2048, {4, 1}},
        {"as high as wide: no column given up", 50, 100, 2, 2048, {2, 1}},
        {"as many layers as fit across", 1024, 1024, 2, 2048, {2, 1}},
        {"square cells, four across", 512, 512, 4, 2048, {2, 2}},
        {"two full rows down to one column", 1024, 10, 4, 2048, {1, 4}},
        {"as wide as the sheet", 2048, 2048, 3, 2048, {1, 3}},
        {"given up down to one column", 100, 1, 5, 2048, {1, 5}},
        {"more layers than fit across", 1000, 10, 5, 2048, {1, 5}},
        {"six small layers", 4, 2, 6, 2048, {2, 3}},
        {"thirty-one small layers", 4, 2, 31, 2048, {4, 8}},
    };
    for (const Case& c : cases) {
        LayerSheetGrid grid = ProposeLayerSheetGrid(c.width, c.height, c.layers, c.maxWidth);
        EXPECT_EQ(grid.columns, c.grid.columns) << c.what;
        EXPECT_EQ(grid.rows, c.grid.rows) << c.what;
    }
}

TEST(LayerSheetGrid, WithoutADocument) {
    EXPECT_EQ(ProposeLayerSheetGrid(nullptr), (LayerSheetGrid{1, 1}));
    CPelmarkDoc doc;  // no image, no layers
    EXPECT_EQ(ProposeLayerSheetGrid(&doc), (LayerSheetGrid{1, 1}));
}

}  // namespace
