// The scale and rotate tools on a 2048 x 2048 photo of the test data reduced
// to 256 colours: the floating selection scaled from 1024 x 1024 to
// 2048 x 2048 and from 2048 x 2048 to 1024 x 1024, turned by 30 degrees,
// and one move step of a rotate drag (the layer put back from its spare
// copy, the turned selection drawn and recomposed), each nearest pixel and
// smoothed (the anti-alias setting).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include "document/floating_selection.h"
#include "document/floating_tool_ops.h"
#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "framework/application.h"
#include "imaging/color_reduce.h"
#include "imaging/dib_access.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "tools/drag_state.h"
#include "tools/tool_dispatch.h"
#include "view/pelmark_view.h"

namespace {

constexpr int kSide = 2048;

std::string PhotoPath() {
    const char* dir = std::getenv("KAVOLT_TESTDATA");
    return std::string(dir && *dir ? dir : KAVOLT_TESTDATA_DEFAULT) + "/photos/peacock.png";
}

// The program's application (its settings file in a temporary folder) over
// an offscreen QApplication.
framework::Application& Program() {
    static framework::Application* program = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "kavolt_bench";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
        static QTemporaryDir dir;
        auto* app = new framework::Application;
        app->SetProfileFile(dir.filePath("pm32.ini"));
        return app;
    }();
    return *program;
}

// A document of the reduced photo in one layer, in a view of its own.
struct Scene {
    std::unique_ptr<CPelmarkDoc> doc;
    std::unique_ptr<CPelmarkView> view;
    ~Scene() {
        if (view && doc) doc->RemoveView(view.get());
    }
};

std::unique_ptr<Scene> MakeScene(bool smooth) {
    Program().WriteProfileInt("Settings", "AntiCheckBox", smooth ? 1 : 0);
    QImage photo(QString::fromStdString(PhotoPath()));
    if (photo.isNull()) return nullptr;
    photo = photo.scaled(kSide, kSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_BGR888);
    std::vector<uint8_t> bgr(size_t(kSide) * kSide * 3);
    for (int y = 0; y < kSide; ++y) std::memcpy(bgr.data() + size_t(y) * kSide * 3, photo.constScanLine(y), kSide * 3);
    std::vector<uint8_t> pixels(size_t(kSide) * kSide);
    PaletteEntry palette[256];
    if (!ReduceImageColors(bgr.data(), pixels.data(), kSide, kSide, palette, 256, 24, 0)) return nullptr;

    auto scene = std::make_unique<Scene>();
    scene->doc = std::make_unique<CPelmarkDoc>();
    CPelmarkDoc& doc = *scene->doc;
    // The scene owns the document: losing its view must not delete it.
    doc.SetAutoDelete(false);
    doc.m_hImage = CreateDib8(kSide, kSide, 0);
    for (int i = 0; i < 256; ++i)
        SetDibPaletteEntry(doc.m_hImage, i, palette[i].red, palette[i].green, palette[i].blue, 0);
    doc.InitDib();
    document::CreateLayer(doc, 0, 1);
    doc.m_nEditLayer = 0;
    {
        MemLockGuard lock(doc.m_hLayers[0]);
        const size_t stride = dib::LayerRowBytes(kSide);
        for (int y = 0; y < kSide; ++y)
            std::memcpy(lock.get() + LAYER_HEADER_SIZE + size_t(kSide - 1 - y) * stride,
                        pixels.data() + size_t(y) * kSide, kSide);
    }
    scene->view = std::make_unique<CPelmarkView>();
    doc.AddView(scene->view.get());
    scene->view->RefreshAfterEdit(1);
    return scene;
}

// The rectangle selected and lifted, as the selection tool leaves it.
void Lift(CPelmarkDoc& doc, const DibRect& r) {
    document::ClearMask(doc);
    document::MaskFillRect(doc, r.left, r.top, r.right, r.bottom);
    document::LiftSelection(doc, r);
    document::LiftFloatingMask(doc, r.left, r.top, r.right, r.bottom);
    doc.m_rcFloatTarget = doc.m_rcSelection;
    document::RenewSpareCopy(doc);
}

void BM_InsertImageAt(benchmark::State& state) {
    const int from = int(state.range(0)), to = int(state.range(1));
    auto scene = MakeScene(state.range(2) != 0);
    if (!scene) return state.SkipWithError("missing test data");
    Lift(*scene->doc, {0, 0, from, from});
    for (auto _ : state) benchmark::DoNotOptimize(scene->view->InsertImageAt(0, 0, to, to));
    state.SetItemsProcessed(state.iterations() * int64_t(to) * to);
}
BENCHMARK(BM_InsertImageAt)
    ->Args({1024, 2048, 0})
    ->Args({1024, 2048, 1})
    ->Args({2048, 1024, 0})
    ->Args({2048, 1024, 1})
    ->ArgNames({"from", "to", "smooth"})
    ->Unit(benchmark::kMillisecond);

void BM_InsertImagePreview(benchmark::State& state) {
    auto scene = MakeScene(state.range(0) != 0);
    if (!scene) return state.SkipWithError("missing test data");
    Lift(*scene->doc, {0, 0, kSide, kSide});
    for (auto _ : state) benchmark::DoNotOptimize(scene->view->InsertImagePreview(30.0));
    state.SetItemsProcessed(state.iterations() * int64_t(kSide) * kSide);
}
BENCHMARK(BM_InsertImagePreview)->Arg(0)->Arg(1)->ArgName("smooth")->Unit(benchmark::kMillisecond);

// One move of a rotate drag through the tool's handlers, the pointer
// going back and forth between 30 and 31 degrees.
void BM_RotateMoveStep(benchmark::State& state) {
    auto scene = MakeScene(state.range(0) != 0);
    if (!scene) return state.SkipWithError("missing test data");
    CPelmarkDoc& doc = *scene->doc;
    Lift(doc, {0, 0, kSide, kSide});
    doc.m_nPrevToolId = tools::kSelectTool;
    doc.m_nToolId = tools::kRotateTool;
    CPelmarkView& view = *scene->view;
    view.OnRotateToolDown(1500, 1024);
    const tools::ImagePoint thirty{1024 + 433, 1024 + 250}, thirtyOne{1024 + 429, 1024 + 258};
    bool odd = false;
    for (auto _ : state) {
        view.OnRotateToolMove(odd ? thirtyOne : thirty);
        odd = !odd;
    }
    view.OnRotateToolUp(1500, 1024);
    state.SetItemsProcessed(state.iterations() * int64_t(kSide) * kSide);
}
BENCHMARK(BM_RotateMoveStep)->Arg(0)->Arg(1)->ArgName("smooth")->Unit(benchmark::kMillisecond);

}  // namespace
