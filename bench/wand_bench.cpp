// The magic wand's area grow, edge points and bounding rectangle on the
// 4096 x 4096 layers of wand_scenes.h (the press and release through the
// canvas view, against ImageMagick: wand_compare).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "document/selection_mask.h"
#include "document/wand_region.h"
#include "imaging/dib_geometry.h"
#include "wand_scenes.h"

namespace {

using benchwand::kSize;

void Run(benchmark::State& state, const benchwand::Scene& scene) {
    const size_t stride = dib::LayerRowBytes(kSize);
    std::vector<uint8_t> pixels(stride * kSize);
    for (int y = 0; y < kSize; ++y)
        std::memcpy(pixels.data() + size_t(kSize - 1 - y) * stride, scene.pixels.data() + size_t(y) * kSize, kSize);
    std::vector<uint8_t> selBytes(size_t(kSize / 8) * kSize), edgeBytes(size_t(kSize / 8) * kSize);
    const document::WandLayer layer{pixels.data(), stride, kSize, kSize};
    const document::MaskBits sel{selBytes.data(), selBytes.size(), kSize, kSize};
    const document::MaskBits edges{edgeBytes.data(), edgeBytes.size(), kSize, kSize};
    for (auto _ : state) {
        std::memset(selBytes.data(), 0, selBytes.size());
        std::memset(edgeBytes.data(), 0, edgeBytes.size());
        document::GrowWandRegion(sel, layer, scene.x, scene.y);
        document::MarkRegionEdges(sel, edges);
        benchmark::DoNotOptimize(document::MaskBoundingRect(sel));
    }
}

void BM_WandWholeLayer(benchmark::State& state) { Run(state, benchwand::WholeLayer()); }
BENCHMARK(BM_WandWholeLayer)->Unit(benchmark::kMillisecond);

void BM_WandSerpentine(benchmark::State& state) { Run(state, benchwand::Serpentine()); }
BENCHMARK(BM_WandSerpentine)->Unit(benchmark::kMillisecond);

void BM_WandRandomMaze(benchmark::State& state) { Run(state, benchwand::RandomMaze()); }
BENCHMARK(BM_WandRandomMaze)->Unit(benchmark::kMillisecond);

}  // namespace
