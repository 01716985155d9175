// A composite and its layers in plain vectors, sized exactly (so that a
// write past them is caught by the sanitizers), and a drawing target on them.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "tools/draw_target.h"

namespace toolstest {

struct LayerSetup {
    uint8_t visible = 1;
    uint8_t drawMode = LAYER_DRAW_NORMAL;
    uint8_t fill = 0;
};

class Canvas {
public:
    Canvas(int width, int height, const std::vector<LayerSetup>& layers = {}, int current = 0)
        : width_(width), height_(height), stride_((size_t(width) + 3) & ~size_t(3)),
          composite_(stride_ * size_t(height)) {
        for (const LayerSetup& want : layers) {
            std::vector<uint8_t> block(LAYER_HEADER_SIZE + composite_.size());
            auto* header = reinterpret_cast<LayerHeader*>(block.data());
            header->visible = want.visible;
            header->drawMode = want.drawMode;
            header->right = width;
            header->bottom = height;
            // Only the pixels proper: padding bytes stay 0 so that a stray
            // write shows.
            for (int y = 0; y < height; ++y)
                std::memset(block.data() + LAYER_HEADER_SIZE + size_t(y) * stride_, want.fill, size_t(width));
            layers_.push_back(std::move(block));
        }
        for (int i = 0; i < 256; ++i) palette_[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
        target.stack.composite = composite_.data();
        target.stack.width = width;
        target.stack.height = height;
        target.stack.stride = stride_;
        target.stack.hasLayers = !layers.empty();
        target.stack.current = current;
        for (auto& block : layers_)
            target.stack.layers.push_back(
                {reinterpret_cast<LayerHeader*>(block.data()), block.data() + LAYER_HEADER_SIZE});
        target.colors = palette_;
        target.SetTone(0, true, 1, 0);
        if (!layers.empty()) tools::RecomposeLayers(target.stack);
    }
    Canvas(const Canvas&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    // Pixel (x, y from the top) of the composite, or of a layer.
    uint8_t& At(int x, int y) { return composite_[size_t(height_ - 1 - y) * stride_ + size_t(x)]; }
    uint8_t& LayerAt(int layer, int x, int y) {
        return layers_[size_t(layer)][LAYER_HEADER_SIZE + size_t(height_ - 1 - y) * stride_ + size_t(x)];
    }
    LayerHeader& Header(int layer) { return *reinterpret_cast<LayerHeader*>(layers_[size_t(layer)].data()); }
    PaletteEntry* palette() { return palette_; }
    const std::vector<uint8_t>& compositeBytes() const { return composite_; }
    const std::vector<uint8_t>& layerBytes(int layer) const { return layers_[size_t(layer)]; }

    // The composite as rows (top first), padding included.
    std::vector<std::vector<uint8_t>> Rows() {
        std::vector<std::vector<uint8_t>> rows;
        for (int y = 0; y < height_; ++y) {
            uint8_t* r = &composite_[size_t(height_ - 1 - y) * stride_];
            rows.emplace_back(r, r + stride_);
        }
        return rows;
    }

    tools::DrawTarget target;

private:
    int width_, height_;
    size_t stride_;
    std::vector<uint8_t> composite_;
    std::vector<std::vector<uint8_t>> layers_;
    PaletteEntry palette_[256];
};

}  // namespace toolstest
