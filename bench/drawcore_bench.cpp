// The drawing core on a 2048 x 2048 document with 1, 10 and 99 visible
// layers: runs across the whole image, a diagonal line of stamps of every
// pen, and a full recomposition beside copying the layers with memcpy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "layered_target.h"
#include "tools/draw_ops.h"
#include "imaging/layer_stack.h"

namespace {

using namespace tools;

using benchdraw::Document;
using benchdraw::kSize;

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

// The yardstick of the recomposition: the same layer buffers copied into one
// image with memcpy, each over the last.
void BM_CopyLayersWholeImage(benchmark::State& state) {
    Document doc(int(state.range(0)));
    const tools::LayerStack& stack = doc.target.stack;
    const size_t bytes = stack.stride * size_t(stack.height);
    for (auto _ : state) {
        for (const tools::LayerPlane& layer : stack.layers) std::memcpy(stack.composite, layer.bits, bytes);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kSize * kSize);
}
BENCHMARK(BM_CopyLayersWholeImage)->Arg(1)->Arg(10)->Arg(99)->ArgName("layers")->Unit(benchmark::kMillisecond);

}  // namespace
