// Selection-mask operations on 4096 x 4096 masks (the map-tool maximum).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "document/selection_mask.h"

namespace {

constexpr int kSize = 4096;

struct Mask {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(size_t(kSize / 8) * kSize);
    document::MaskBits bits{bytes.data(), bytes.size(), kSize, kSize};
};

void Scatter(Mask& m, int percent, uint32_t seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (int(rng() % 100) < percent) m.bits.Put(x, y);
}

void BM_InvertMask(benchmark::State& state) {
    Mask m;
    Scatter(m, 30, 1);
    for (auto _ : state) {
        document::InvertMaskBits(m.bits);
        benchmark::DoNotOptimize(m.bytes.data());
    }
}
BENCHMARK(BM_InvertMask)->Unit(benchmark::kMillisecond);

// A small selection in the middle of an otherwise empty mask: most rows are
// skipped byte by byte.
void BM_MaskBoundingRect(benchmark::State& state) {
    Mask m;
    document::MaskFillRect(m.bits, 2000, 1900, 2100, 2300);
    for (auto _ : state) benchmark::DoNotOptimize(document::MaskBoundingRect(m.bits));
}
BENCHMARK(BM_MaskBoundingRect)->Unit(benchmark::kMillisecond);

// The whole empty mask from its centre (16.7 million pixels).
void BM_FloodFillEmpty(benchmark::State& state) {
    Mask m;
    for (auto _ : state) {
        state.PauseTiming();
        std::fill(m.bytes.begin(), m.bytes.end(), 0);
        state.ResumeTiming();
        document::FloodFillMask(m.bits, kSize / 2, kSize / 2);
    }
}
BENCHMARK(BM_FloodFillEmpty)->Unit(benchmark::kMillisecond);

// A mask with 25 % of its pixels set at random: the clear pixels form one
// ragged region of many short runs (about 12 million pixels).
void BM_FloodFillRagged(benchmark::State& state) {
    Mask start;
    Scatter(start, 25, 2);
    start.bits.Row(kSize / 2)[kSize / 16] &= 0x7F;
    Mask m;
    for (auto _ : state) {
        state.PauseTiming();
        m.bytes = start.bytes;
        state.ResumeTiming();
        document::FloodFillMask(m.bits, kSize / 2, kSize / 2);
    }
}
BENCHMARK(BM_FloodFillRagged)->Unit(benchmark::kMillisecond);

// The interior of a lasso circle of radius 2000 plotted into the byte map.
void BM_MaskFillSpans(benchmark::State& state) {
    std::vector<uint8_t> map(size_t(kSize) * kSize);
    int px = kSize / 2 + 2000, py = kSize / 2;
    for (int i = 1; i <= 720; ++i) {
        double a = i * 3.14159265358979 / 360;
        int nx = int(kSize / 2 + 2000 * std::cos(a)), ny = int(kSize / 2 + 2000 * std::sin(a));
        document::ForEachLinePoint(px, py, nx, ny, [&](int x, int y) { map[size_t(x) + size_t(y) * kSize] = 1; });
        px = nx, py = ny;
    }
    Mask m;
    for (auto _ : state) document::MaskFillSpans(m.bits, map.data(), map.size());
}
BENCHMARK(BM_MaskFillSpans)->Unit(benchmark::kMillisecond);

}  // namespace
