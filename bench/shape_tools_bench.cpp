// The rectangle and ellipse tools' release on a 2048 x 2048 document with 1
// and 10 visible layers: the whole image filled as a rectangle and as an
// ellipse, and both outlines at thickness 1 and 100. With `refresh` the
// release's full recomposition of the active view is timed as well.
#include <benchmark/benchmark.h>

#include <vector>

#include "imaging/layer_stack.h"
#include "tools/draw_ops.h"
#include "tools/shape_draw.h"

namespace {

using namespace tools;

constexpr int kSize = 2048;

// Layer 0 in mode 0, the others with index 0 clear, each with a sparse
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
        RecomposeLayers(target.stack);
    }

    DrawTarget target;

private:
    std::vector<uint8_t> composite_;
    std::vector<std::vector<uint8_t>> blocks_;
    PaletteEntry palette_[256];
};

enum Shape { kFilledRect, kFilledEllipse, kRectOutline, kEllipseOutline };

// First argument: layers; second: the shape; third: thickness; fourth: with
// the refresh's full recomposition.
void BM_ShapeRelease(benchmark::State& state) {
    Document doc(int(state.range(0)));
    const int shape = int(state.range(1)), pen = int(state.range(2));
    const ShapeBox box{0, 0, kSize, kSize};
    for (auto _ : state) {
        switch (shape) {
        case kFilledRect: FillRectWithOutline(doc.target, box, false); break;
        case kFilledEllipse: DrawFilledEllipse(doc.target, box); break;
        case kRectOutline: DrawRectOutline(doc.target, StrokeBox(box, pen, kOutlineCentre), pen); break;
        default: DrawEllipse(doc.target, PenPathBox(StrokeBox(box, pen, kOutlineCentre), pen), pen); break;
        }
        if (state.range(3)) RecomposeLayers(doc.target.stack);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ShapeRelease)
    ->ArgsProduct({{1, 10}, {kFilledRect, kFilledEllipse}, {1}, {0, 1}})
    ->ArgsProduct({{1, 10}, {kRectOutline, kEllipseOutline}, {1, 100}, {0, 1}})
    ->ArgNames({"layers", "shape", "pen", "refresh"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
