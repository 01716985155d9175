// The colour reducer on a 2048 x 2048 picture with many colours.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "imaging/color_reduce.h"

namespace {

constexpr int kSize = 2048;

// Smooth gradients with noise, rows as stored (24 bits, padded).
const std::vector<uint8_t>& Picture() {
    static std::vector<uint8_t> pixels = [] {
        std::vector<uint8_t> p(size_t(kSize) * kSize * 3);
        std::mt19937 rng(1);
        std::uniform_int_distribution<int> noise(-12, 12);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                uint8_t* q = p.data() + (size_t(y) * kSize + size_t(x)) * 3;
                q[0] = uint8_t(std::clamp((x + y) / 16 + noise(rng), 0, 255));
                q[1] = uint8_t(std::clamp(y / 8 + noise(rng), 0, 255));
                q[2] = uint8_t(std::clamp(x / 8 + noise(rng), 0, 255));
            }
        return p;
    }();
    return pixels;
}

void BM_ReduceImageColors(benchmark::State& state) {
    const std::vector<uint8_t>& source = Picture();
    std::vector<uint8_t> pixels(size_t(kSize) * kSize), palette(1024);
    for (auto _ : state) {
        int ok = ReduceImageColors(source.data(), pixels.data(), kSize, kSize,
                                   reinterpret_cast<PaletteEntry*>(palette.data()),
                                   int(state.range(0)), 24, 0);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_ReduceImageColors)->Arg(256)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
