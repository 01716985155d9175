// The drawing core on a 2048 x 2048 document with 1, 10 and 99 visible
// layers: runs across the whole image, a diagonal line of stamps of every
// pen, and a full recomposition.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "tools/draw_ops.h"
#include "imaging/layer_stack.h"

namespace {

using namespace tools;

constexpr int kSize = 2048;

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
        RecomposeLayers(target.stack);
    }

    DrawTarget target;

private:
    std::vector<uint8_t> composite_;
    std::vector<std::vector<uint8_t>> blocks_;
    PaletteEntry palette_[256];
};

// Every row of the image as one run; second argument: tone pattern.
void BM_FillSpan(benchmark::State& state) {
    Document doc(int(state.range(0)));
    doc.target.SetTone(int(state.range(1)), true, 200, 0);
    for (auto _ : state) {
        for (int y = 0; y < kSize; ++y) FillSpan(doc.target, 0, y, kSize);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kSize * kSize);
}
BENCHMARK(BM_FillSpan)
    ->ArgsProduct({{0, 1, 10, 99}, {0, 8}})
    ->ArgNames({"layers", "pattern"})
    ->Unit(benchmark::kMillisecond);

PenStamp StampOf(int kind) {
    // 600..605, then the custom pens at their starting sizes, square and round.
    if (kind == 600) return PenStamp{};
    if (kind <= 605) return PenStamp{StampKind::Runs, kind};
    const int sizes[] = {7, 13, 15};
    if (kind <= 608) return PenStamp{StampKind::Box, kind, sizes[kind - 606]};
    return PenStamp{StampKind::Ellipse, 606 + (kind - 609), sizes[kind - 609]};
}

// A diagonal line of 2048 stamps across the image. Pens 609..611 stand for
// round custom pens 606..608.
void BM_StampLine(benchmark::State& state) {
    Document doc(int(state.range(1)));
    PenStamp stamp = StampOf(int(state.range(0)));
    for (auto _ : state) {
        StampPenLine(doc.target, stamp, 0, 0, kSize - 1, kSize - 1, false);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kSize);
}
BENCHMARK(BM_StampLine)
    ->ArgsProduct({{600, 601, 602, 603, 604, 605, 606, 607, 608, 609, 610, 611}, {1, 10, 99}})
    ->ArgNames({"pen", "layers"})
    ->Unit(benchmark::kMillisecond);

void BM_RecomposeWholeImage(benchmark::State& state) {
    Document doc(int(state.range(0)));
    for (auto _ : state) {
        RecomposeLayers(doc.target.stack);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kSize * kSize);
}
BENCHMARK(BM_RecomposeWholeImage)->Arg(1)->Arg(10)->Arg(99)->ArgName("layers")->Unit(benchmark::kMillisecond);

}  // namespace
