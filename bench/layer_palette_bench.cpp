// The layer palette's refresh: the thumbnails of every row, and Refresh
// (list filled, the rows on screen painted offscreen, one recomposition)
// against the recomposition alone, for 10 and 100 layers of 256 x 256 and
// 1024 x 1024.
#include <benchmark/benchmark.h>

#include <memory>

#include <QApplication>

#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "palettes/layer_list_box.h"
#include "palettes/layer_list_dlg.h"
#include "palettes/layer_thumbnail.h"
#include "tools/pixel_access.h"

namespace {

void EnsureApplication() {
    if (QApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kavolt_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

std::unique_ptr<CPelmarkDoc> MakeDocument(int layers, int side) {
    auto doc = std::make_unique<CPelmarkDoc>();
    doc->m_hImage = CreateDib8(side, side, 0);
    doc->InitDib();
    for (int i = 0; i < layers; ++i) {
        document::CreateLayer(*doc, i, 1);
        MemLockGuard lock(doc->m_hLayers[size_t(i)]);
        uint8_t* bits = lock.get() + LAYER_HEADER_SIZE;
        const size_t n = dib::LayerRowBytes(side) * size_t(side);
        for (size_t p = 0; p < n; ++p) bits[p] = uint8_t((p * 7 + size_t(i) * 13) % 251 * (p % 5 != 0));
    }
    return doc;
}

void BM_AllThumbnails(benchmark::State& state) {
    auto doc = MakeDocument(int(state.range(0)), int(state.range(1)));
    const auto colors = layer_palette::CompositeColors(*doc);
    for (auto _ : state) {
        for (int i = 0; i < doc->m_nLayerCount; ++i)
            benchmark::DoNotOptimize(layer_palette::LayerThumbnail(*doc, i, CLayerListDlg::ThumbSize(), colors));
    }
}

void BM_Recompose(benchmark::State& state) {
    auto doc = MakeDocument(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) benchmark::DoNotOptimize(tools::RecomposeDocument(*doc));
}

void BM_Refresh(benchmark::State& state) {
    EnsureApplication();
    auto doc = MakeDocument(int(state.range(0)), int(state.range(1)));
    CLayerListDlg palette;
    palette.show();
    palette.SetDocument(doc.get());
    palette.SetLayerCount(doc->m_nLayerCount);
    for (auto _ : state) {
        palette.Refresh();
        palette.List()->viewport()->repaint();
    }
    palette.SetDocument(nullptr);
}

const std::vector<std::vector<int64_t>> kSizes = {{10, 100}, {256, 1024}};

}  // namespace

BENCHMARK(BM_AllThumbnails)->ArgsProduct(kSizes)->ArgNames({"layers", "side"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Recompose)->ArgsProduct(kSizes)->ArgNames({"layers", "side"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Refresh)->ArgsProduct(kSizes)->ArgNames({"layers", "side"})->Unit(benchmark::kMillisecond);
