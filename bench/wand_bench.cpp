// The magic wand's press and release on a 4096 x 4096 layer (the map-tool
// maximum): area grow, edge points and bounding rectangle.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "document/selection_mask.h"
#include "document/wand_region.h"
#include "imaging/dib_geometry.h"

namespace {

constexpr int kSize = 4096;

struct Work {
    size_t stride = dib::LayerRowBytes(kSize);
    std::vector<uint8_t> pixels = std::vector<uint8_t>(stride * kSize);
    std::vector<uint8_t> sel = std::vector<uint8_t>(size_t(kSize / 8) * kSize);
    std::vector<uint8_t> edges = std::vector<uint8_t>(size_t(kSize / 8) * kSize);
    uint8_t& At(int x, int y) { return pixels[size_t(kSize - 1 - y) * stride + size_t(x)]; }
};

void Run(benchmark::State& state, Work& w, int x, int y) {
    const document::WandLayer layer{w.pixels.data(), w.stride, kSize, kSize};
    const document::MaskBits sel{w.sel.data(), w.sel.size(), kSize, kSize};
    const document::MaskBits edges{w.edges.data(), w.edges.size(), kSize, kSize};
    for (auto _ : state) {
        std::memset(w.sel.data(), 0, w.sel.size());
        std::memset(w.edges.data(), 0, w.edges.size());
        document::GrowWandRegion(sel, layer, x, y);
        document::MarkRegionEdges(sel, edges);
        benchmark::DoNotOptimize(document::MaskBoundingRect(sel));
    }
}

void BM_WandWholeLayer(benchmark::State& state) {
    Work w;
    Run(state, w, 100, 100);
}
BENCHMARK(BM_WandWholeLayer)->Unit(benchmark::kMillisecond);

// Index 1 on every even column, joined at the top and bottom in turn: the
// spans are one pixel long but in the joining rows.
void BM_WandSerpentine(benchmark::State& state) {
    Work w;
    for (int x = 0; x < kSize; x += 2) {
        for (int y = 0; y < kSize; ++y) w.At(x, y) = 1;
        if (x + 2 < kSize) w.At(x + 1, (x / 2) % 2 ? 0 : kSize - 1) = 1;
    }
    Run(state, w, 0, 0);
}
BENCHMARK(BM_WandSerpentine)->Unit(benchmark::kMillisecond);

void BM_WandRandomMaze(benchmark::State& state) {
    Work w;
    std::mt19937 rng(552);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) w.At(x, y) = uint8_t(rng() % 100 < 40);
    // Index 0 at 60 % percolates: the seed lies in the one large area.
    w.At(kSize / 2, kSize / 2) = 0;
    w.At(kSize / 2 + 1, kSize / 2) = 0;
    Run(state, w, kSize / 2, kSize / 2);
}
BENCHMARK(BM_WandRandomMaze)->Unit(benchmark::kMillisecond);

}  // namespace
