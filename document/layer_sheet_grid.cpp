#include "document/layer_sheet_grid.h"

#include <algorithm>
#include <cstdint>

#include "document/pelmark_doc.h"

namespace document {

namespace {

int CeilDiv(int a, int b) { return a / b + (a % b != 0); }

}  // namespace

LayerSheetGrid ProposeLayerSheetGrid(int width, int height, int layers, int maxWidth) {
    if (width <= 0 || height <= 0 || layers <= 0 || width > maxWidth) return {};
    LayerSheetGrid grid;
    grid.columns = maxWidth / width;
    if (layers < grid.columns) {
        grid.columns = layers;
        grid.rows = 1;
    } else {
        grid.rows = CeilDiv(layers, grid.columns);
    }
    // Wider than high: give up columns while the narrower sheet, with the
    // rows it then needs, is still at least as wide as high.
    if (int64_t(grid.rows) * height < int64_t(grid.columns) * width) {
        int64_t sheetWidth = int64_t(grid.columns) * width;
        while (grid.columns > 1) {
            sheetWidth -= width;
            const int rows = CeilDiv(layers, grid.columns - 1);
            if (sheetWidth < int64_t(height) * rows) break;
            --grid.columns;
            grid.rows = rows;
        }
    }
    return grid;
}

LayerSheetLoss CheckLayerSheetGrid(const LayerSheetGrid& grid, int width, int height, int layers,
                                   MaxImageSize max) {
    LayerSheetLoss loss;
    loss.tooWide = int64_t(grid.columns) * width > max.width;
    loss.tooHigh = int64_t(grid.rows) * height > max.height;
    loss.tooFewCells = int64_t(grid.columns) * grid.rows < layers;
    return loss;
}

MaxImageSize LayerSheetSize(const LayerSheetGrid& grid, int width, int height, MaxImageSize max) {
    return {int(std::min<int64_t>(max.width, int64_t(width) * grid.columns)),
            int(std::min<int64_t>(max.height, int64_t(height) * grid.rows))};
}

LayerSheetGrid ProposeLayerSheetGrid(const CPelmarkDoc* doc) {
    if (!doc) return {};
    return ProposeLayerSheetGrid(doc->m_nWidth, doc->m_nHeight, doc->m_nLayerCount,
                                 GetMaxImageSize().width);
}

}  // namespace document
