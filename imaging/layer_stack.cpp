#include "imaging/layer_stack.h"

#include <algorithm>
#include <cstring>

namespace tools {

namespace {

// Writes `count` layer indices over `out` by the layer's draw mode.
inline void ComposeOnto(uint8_t* out, const uint8_t* in, int count, uint8_t drawMode) {
    if (drawMode == LAYER_DRAW_NORMAL) {
        std::memcpy(out, in, size_t(count));
        return;
    }
    if (drawMode != LAYER_DRAW_INDEX0_CLEAR) return;
    // Sixteen pixels at a time: the nonzero indices of the layer select
    // between it and what lies below.
    typedef uint8_t Bytes16 __attribute__((vector_size(16)));
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        Bytes16 a, b;
        std::memcpy(&a, in + i, 16);
        std::memcpy(&b, out + i, 16);
        Bytes16 keep = (Bytes16)(a == 0);
        b = (a & ~keep) | (b & keep);
        std::memcpy(out + i, &b, 16);
    }
    for (; i < count; ++i)
        if (in[i]) out[i] = in[i];
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
    // Row by row, so that the composite row stays in the cache while every
    // layer's row passes over it.
    for (int y = top; y < bottom; ++y) ComposeRun(stack, left, y, right - left);
}

int GetPixelIndex(const LayerStack& stack, int x, int y) {
    if (!stack.composite || !stack.Inside(x, y)) return -1;
    return stack.CompositeRow(y)[x];
}

}  // namespace tools
