// The palette bar's used-colour flags on a 2048 x 2048 document of 20
// layers: a full scan (pixels of 16 indices, so every byte is read), and
// the cached answer a repaint gets when nothing changed.
#include <benchmark/benchmark.h>

#include <memory>

#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "document/used_colors.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"

namespace {

constexpr int kSize = 2048;
constexpr int kLayers = 20;

std::unique_ptr<CPelmarkDoc> MakeDocument() {
    auto doc = std::make_unique<CPelmarkDoc>();
    doc->m_hImage = CreateDib8(kSize, kSize, 0);
    doc->InitDib();
    const size_t n = dib::LayerRowBytes(kSize) * size_t(kSize);
    for (int i = 0; i < kLayers; ++i) {
        document::CreateLayer(*doc, i, 1);
        MemLockGuard lock(doc->m_hLayers[size_t(i)]);
        for (size_t k = 0; k < n; ++k) lock.get()[LAYER_HEADER_SIZE + k] = uint8_t(k * 7 % 16);
    }
    return doc;
}

void BM_UsedColorsFullScan(benchmark::State& state) {
    auto doc = MakeDocument();
    for (auto _ : state) benchmark::DoNotOptimize(document::ScanLayerColors(*doc).count);
    state.SetBytesProcessed(state.iterations() * int64_t(kLayers) * kSize * kSize);
}
BENCHMARK(BM_UsedColorsFullScan)->Unit(benchmark::kMillisecond);

void BM_UsedColorsUnchanged(benchmark::State& state) {
    auto doc = MakeDocument();
    document::UsedColorCache cache;
    cache.Of(doc.get());
    for (auto _ : state) benchmark::DoNotOptimize(cache.Of(doc.get()).count);
}
BENCHMARK(BM_UsedColorsUnchanged);

}  // namespace
