#include "tools/layer_stack.h"

#include <algorithm>
#include <cstring>

namespace tools {

namespace {

// Writes `count` layer indices over `out` by the layer's draw mode.
inline void ComposeOnto(uint8_t* out, const uint8_t* in, int count, uint8_t drawMode) {
    if (drawMode == LAYER_DRAW_NORMAL) {
        std::memcpy(out, in, size_t(count));
    } else if (drawMode == LAYER_DRAW_INDEX0_CLEAR) {
        for (int i = 0; i < count; ++i)
            if (in[i]) out[i] = in[i];
    }
}

}  // namespace

void ComposeRun(const LayerStack& stack, int x, int y, int count) {
    if (!stack.hasLayers || count <= 0) return;
    uint8_t* out = stack.CompositeRow(y) + x;
    std::memset(out, 0, size_t(count));
    for (size_t i = 0; i < stack.layers.size(); ++i) {
        if (!stack.Participates(i)) continue;
        const LayerPlane& layer = stack.layers[i];
        ComposeOnto(out, stack.LayerRow(layer, y) + x, count, layer.header->drawMode);
    }
}

void RecomposeLayers(const LayerStack& stack, const DibRect* rect) {
    if (!stack.hasLayers || !stack.composite) return;
    int left = 0, top = 0, right = stack.width, bottom = stack.height;
    if (rect) {
        left = std::max(rect->left, 0);
        top = std::max(rect->top, 0);
        right = std::min(rect->right, stack.width);
        bottom = std::min(rect->bottom, stack.height);
    }
    if (right <= left || bottom <= top) return;
    int count = right - left;
    // Layer by layer over the whole area, so that each layer's rows are read
    // in one sweep.
    for (int y = top; y < bottom; ++y) std::memset(stack.CompositeRow(y) + left, 0, size_t(count));
    for (size_t i = 0; i < stack.layers.size(); ++i) {
        if (!stack.Participates(i)) continue;
        const LayerPlane& layer = stack.layers[i];
        uint8_t mode = layer.header->drawMode;
        for (int y = top; y < bottom; ++y)
            ComposeOnto(stack.CompositeRow(y) + left, stack.LayerRow(layer, y) + left, count, mode);
    }
}

int GetPixelIndex(const LayerStack& stack, int x, int y) {
    if (!stack.composite || !stack.Inside(x, y)) return -1;
    return stack.CompositeRow(y)[x];
}

}  // namespace tools
