#include "imaging/layer_stack.h"

#include <algorithm>
#include <cstring>

namespace tools {

namespace {

typedef uint8_t Bytes16 __attribute__((vector_size(16)));

// Layers composed in one pass over a composite row: each pass reads the row
// once and writes it once, whatever the number of layers above it.
constexpr int kLayersPerPass = 8;

// Composite bytes composed together: a strip of rows this large stays in the
// first-level cache while the layers' rows stream over it.
constexpr int kStripBytes = 16384;

// Writes the nonzero indices of `layers` rows (bottom layer first) over
// `count` composite pixels.
inline void ComposeIndex0Clear(uint8_t* out, const uint8_t* const* in, int layers, int count) {
    // Sixteen pixels at a time: the nonzero indices of each layer select
    // between it and what lies below.
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        Bytes16 b;
        std::memcpy(&b, out + i, 16);
        for (int k = 0; k < layers; ++k) {
            Bytes16 a;
            std::memcpy(&a, in[k] + i, 16);
            Bytes16 keep = (Bytes16)(a == 0);
            b = (a & ~keep) | (b & keep);
        }
        std::memcpy(out + i, &b, 16);
    }
    for (; i < count; ++i)
        for (int k = 0; k < layers; ++k)
            if (in[k][i]) out[i] = in[k][i];
}

// The first layer that decides the composite: the topmost participating
// layer in mode 0 covers everything beneath it.
size_t FirstDecidingLayer(const LayerStack& stack) {
    for (size_t i = stack.layers.size(); i-- > 0;)
        if (stack.Participates(i) && stack.layers[i].header->drawMode == LAYER_DRAW_NORMAL) return i;
    return 0;
}

// Recomposes pixels x .. x + count - 1 of rows top .. bottom - 1, walking
// the rows in increasing address order (the rows are stored bottom-up).
void ComposeRows(const LayerStack& stack, int x, int top, int bottom, int count) {
    const size_t bytes = size_t(count);
    size_t i = FirstDecidingLayer(stack);
    if (i < stack.layers.size() && stack.Participates(i) &&
        stack.layers[i].header->drawMode == LAYER_DRAW_NORMAL) {
        for (int y = bottom - 1; y >= top; --y)
            std::memcpy(stack.CompositeRow(y) + x, stack.LayerRow(stack.layers[i], y) + x, bytes);
        ++i;
    } else {
        for (int y = bottom - 1; y >= top; --y) std::memset(stack.CompositeRow(y) + x, 0, bytes);
    }
    // The layers in mode 1 above, a pass at a time; other modes draw nothing.
    const LayerPlane* pass[kLayersPerPass];
    int layers = 0;
    auto compose = [&] {
        for (int y = bottom - 1; y >= top; --y) {
            const uint8_t* rows[kLayersPerPass];
            for (int k = 0; k < layers; ++k) rows[k] = stack.LayerRow(*pass[k], y) + x;
            ComposeIndex0Clear(stack.CompositeRow(y) + x, rows, layers, count);
        }
        layers = 0;
    };
    for (; i < stack.layers.size(); ++i) {
        if (!stack.Participates(i) || stack.layers[i].header->drawMode != LAYER_DRAW_INDEX0_CLEAR) continue;
        pass[layers++] = &stack.layers[i];
        if (layers == kLayersPerPass) compose();
    }
    if (layers) compose();
}

}  // namespace

void ComposeRun(const LayerStack& stack, int x, int y, int count) {
    if (!stack.hasLayers || count <= 0) return;
    ComposeRows(stack, x, y, y + 1, count);
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
    // In strips of rows from the bottom row (the lowest address) up.
    const int rows = std::max(1, kStripBytes / (right - left));
    for (int end = bottom; end > top; end -= rows) ComposeRows(stack, left, std::max(top, end - rows), end, right - left);
}

int GetPixelIndex(const LayerStack& stack, int x, int y) {
    if (!stack.composite || !stack.Inside(x, y)) return -1;
    return stack.CompositeRow(y)[x];
}

}  // namespace tools
