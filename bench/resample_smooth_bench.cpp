// The area-averaging resample into a layer and the edge smoothing of a
// selection on a 2048 x 2048 document with a varied 256-colour palette:
// a 1024 x 1024 rectangle grown to 2048 x 2048 and shrunk to 512 x 512,
// and the smoothing of a 1024 x 1024 selection of noisy pixels.
#include <benchmark/benchmark.h>

#include <memory>

#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "document/resample_smooth.h"
#include "document/selection_mask_doc.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"

namespace {

constexpr int kSize = 2048;

std::unique_ptr<CPelmarkDoc> MakeDocument() {
    auto doc = std::make_unique<CPelmarkDoc>();
    doc->m_hImage = CreateDib8(kSize, kSize, 0);
    for (int i = 0; i < 256; ++i)
        SetDibPaletteEntry(doc->m_hImage, i, uint8_t(i), uint8_t(i * 37), uint8_t(i * 101), 0);
    doc->InitDib();
    document::CreateLayer(*doc, 0, 1);
    doc->m_nEditLayer = 0;
    MemLockGuard lock(doc->m_hLayers[0]);
    const size_t n = dib::LayerRowBytes(kSize) * size_t(kSize);
    for (size_t k = 0; k < n; ++k) lock.get()[LAYER_HEADER_SIZE + k] = uint8_t((k * 2654435761u) >> 13);
    return doc;
}

void BM_ResampleIntoLayer(benchmark::State& state) {
    auto doc = MakeDocument();
    document::FillMask(*doc);
    const int out = int(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(document::ResampleIntoLayer(*doc, {512, 512, 1536, 1536},
                                                              {0, 0, out, out}, doc->m_hLayers[0]));
    state.SetItemsProcessed(state.iterations() * int64_t(out) * out);
}
BENCHMARK(BM_ResampleIntoLayer)->Arg(2048)->Arg(512)->Unit(benchmark::kMillisecond);

void BM_SmoothEdgesInSelection(benchmark::State& state) {
    auto doc = MakeDocument();
    document::MaskFillRect(*doc, 512, 512, 1536, 1536);
    for (auto _ : state) benchmark::DoNotOptimize(document::SmoothEdgesInSelection(*doc));
    state.SetItemsProcessed(state.iterations() * 1024 * 1024);
}
BENCHMARK(BM_SmoothEdgesInSelection)->Unit(benchmark::kMillisecond);

}  // namespace
