// The layered drawing target the drawing benchmarks draw into: kSize x kSize
// layers over a composite, recomposed once.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/dib_layout.h"
#include "imaging/layer_stack.h"
#include "tools/draw_target.h"

namespace benchdraw {

inline constexpr int kSize = 2048;

// Layer 0 in mode 0, the others with index 0 clear, each holding a sparse
// pattern; the current layer is the middle one.
class Document {
public:
    explicit Document(int layers) : composite_(size_t(kSize) * kSize) {
        for (int i = 0; i < layers; ++i) {
            std::vector<uint8_t> block(LAYER_HEADER_SIZE + size_t(kSize) * kSize);
            auto* header = reinterpret_cast<LayerHeader*>(block.data());
            header->visible = 1;
            header->drawMode = i == 0 ? LAYER_DRAW_NORMAL : LAYER_DRAW_INDEX0_CLEAR;
            header->right = header->bottom = kSize;
            uint8_t* bits = block.data() + LAYER_HEADER_SIZE;
            for (size_t p = 0; p < size_t(kSize) * kSize; p += size_t(7 + i)) bits[p] = uint8_t(i + 1);
            blocks_.push_back(std::move(block));
        }
        for (int i = 0; i < 256; ++i) palette_[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0};
        target.stack.composite = composite_.data();
        target.stack.width = target.stack.height = kSize;
        target.stack.stride = kSize;
        target.stack.hasLayers = layers > 0;
        target.stack.current = layers / 2;
        for (auto& block : blocks_)
            target.stack.layers.push_back(
                {reinterpret_cast<LayerHeader*>(block.data()), block.data() + LAYER_HEADER_SIZE});
        target.colors = palette_;
        target.SetTone(0, true, 200, 0);
        tools::RecomposeLayers(target.stack);
    }

    tools::DrawTarget target;

private:
    std::vector<uint8_t> composite_;
    std::vector<std::vector<uint8_t>> blocks_;
    PaletteEntry palette_[256];
};

}  // namespace benchdraw
