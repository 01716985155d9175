// The pixels one drawing operation works on: the 8-bit composite image and
// the document's layers, all rows bottom-up with the same stride
// ((width + 3) & ~3), and the composition of the composite from the layers.
//
// The composite is always a function of the layers alone: a pixel starts
// at 0 and every participating layer, in table order, writes its index there
// by its draw mode (mode 0 every index, mode 1 every index but 0, other modes
// none). A layer takes part when it is visible or, in layer-step mode, when
// it is the current layer. Writing a run and recomposing the whole image
// therefore always agree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/dib_layout.h"

namespace tools {

struct LayerPlane {
    LayerHeader* header = nullptr;  // visible byte and draw mode are read live
    uint8_t* bits = nullptr;        // bottom row first
};

struct LayerStack {
    uint8_t* composite = nullptr;  // bottom row first
    int width = 0;
    int height = 0;
    size_t stride = 0;
    // The document has layers (its layer count is not 0). Without layers the
    // composite itself is drawn on.
    bool hasLayers = false;
    // The layer table up to its first missing block.
    std::vector<LayerPlane> layers;
    int current = 0;
    bool layerStep = false;

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint8_t* CompositeRow(int y) const { return composite + size_t(height - 1 - y) * stride; }
    uint8_t* LayerRow(const LayerPlane& layer, int y) const {
        return layer.bits + size_t(height - 1 - y) * stride;
    }
    // The current layer when it exists, else nullptr.
    const LayerPlane* CurrentLayer() const {
        return current >= 0 && size_t(current) < layers.size() ? &layers[size_t(current)] : nullptr;
    }
    // The current layer when it exists and is visible: the only layer a write
    // may change.
    const LayerPlane* WritableLayer() const {
        const LayerPlane* layer = CurrentLayer();
        return layer && layer->header->visible ? layer : nullptr;
    }
    bool Participates(size_t index) const {
        return layerStep ? int(index) == current : layers[index].header->visible != 0;
    }
};

// Recomposes pixels x .. x + count - 1 of row y (the caller clips the run to
// the image). The incremental path of every write.
void ComposeRun(const LayerStack& stack, int x, int y, int count);

// Recomposes the rectangle (right and bottom exclusive, clipped to the
// image), or the whole image when `rect` is null. Without layers nothing
// happens.
void RecomposeLayers(const LayerStack& stack, const DibRect* rect = nullptr);

// Palette index of the composite pixel, -1 outside the image.
int GetPixelIndex(const LayerStack& stack, int x, int y);

}  // namespace tools
