// Rectangle copies, index remapping and resampling on 2048 x 2048 images.
#include <benchmark/benchmark.h>

#include <cstring>

#include "imaging/dib.h"

namespace {

constexpr int kSize = 2048;

// An 8-bit image with a pattern in every pixel and a grey palette.
MemHandle PatternDib8() {
    MemHandle img = CreateDib8(kSize, kSize, 0);
    MemLockGuard l(img);
    auto* table = reinterpret_cast<PaletteEntry*>(l.get() + DIB_INFO_HEADER_SIZE);
    for (int i = 0; i < 256; ++i) table[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0};
    uint8_t* bits = l.get() + 1064;
    for (size_t i = 0; i < size_t(kSize) * kSize; ++i) bits[i] = uint8_t(i * 31 + i / kSize);
    return img;
}

MemHandle PatternDib24() {
    size_t stride = size_t(kSize) * 3;
    MemHandle img = MemAlloc(DIB_INFO_HEADER_SIZE + stride * kSize);
    MemLockGuard l(img);
    auto* info = l.as<DibInfoHeader>();
    info->size = DIB_INFO_HEADER_SIZE;
    info->width = kSize;
    info->height = kSize;
    info->planes = 1;
    info->bitCount = 24;
    uint8_t* bits = l.get() + DIB_INFO_HEADER_SIZE;
    for (size_t i = 0; i < stride * kSize; ++i) bits[i] = uint8_t(i * 13);
    return img;
}

void BM_BlitDibRect(benchmark::State& state) {
    MemHandle src = PatternDib8();
    MemHandle dst = CreateDib8(kSize, kSize, 0);
    for (auto _ : state) {
        BlitDibRect(dst, src, 1, 1, kSize, kSize, 0, 0);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * (kSize - 1) * (kSize - 1));
    MemFree(src);
    MemFree(dst);
}
BENCHMARK(BM_BlitDibRect)->Unit(benchmark::kMillisecond);

void BM_BlitDibRectGuardedIntoLayer(benchmark::State& state) {
    MemHandle src = PatternDib8();
    MemHandle dst = CreateDib8(kSize, kSize, 0);
    MemHandle layer = MemAlloc(LAYER_HEADER_SIZE + size_t(kSize) * kSize);
    uint8_t writable[256], enabled[256];
    std::memset(writable, 1, sizeof writable);
    for (int i = 0; i < 256; ++i) enabled[i] = i != 0;
    for (auto _ : state) {
        BlitDibRectGuarded(dst, src, 0, 0, kSize, kSize, 0, 0, writable, enabled, layer);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kSize * kSize);
    MemFree(src);
    MemFree(dst);
    MemFree(layer);
}
BENCHMARK(BM_BlitDibRectGuardedIntoLayer)->Unit(benchmark::kMillisecond);

void BM_RemapDibRect(benchmark::State& state) {
    MemHandle img = PatternDib8();
    uint8_t map[256];
    for (int i = 0; i < 256; ++i) map[i] = uint8_t(255 - i);
    for (auto _ : state) {
        RemapDibRect(img, map, 0, 0, kSize, kSize);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kSize * kSize);
    MemFree(img);
}
BENCHMARK(BM_RemapDibRect)->Unit(benchmark::kMillisecond);

// ScaleDibToRgb24 consumes its source: each round scales a fresh copy.
void ScaleBench(benchmark::State& state, MemHandle (*make)()) {
    MemHandle original = make();
    int newSize = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        MemHandle copy = DuplicateGlobal(original);
        state.ResumeTiming();
        MemHandle out = ScaleDibToRgb24(copy, newSize, newSize);
        benchmark::DoNotOptimize(out);
        state.PauseTiming();
        MemFree(out);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kSize * kSize);
    MemFree(original);
}

void BM_ScaleDibToRgb24_8bit(benchmark::State& state) { ScaleBench(state, PatternDib8); }
BENCHMARK(BM_ScaleDibToRgb24_8bit)->Arg(1024)->Arg(1365)->Arg(3000)->Unit(benchmark::kMillisecond);

void BM_ScaleDibToRgb24_24bit(benchmark::State& state) { ScaleBench(state, PatternDib24); }
BENCHMARK(BM_ScaleDibToRgb24_24bit)->Arg(1024)->Arg(1365)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace
