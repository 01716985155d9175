// The canvas view's full repaint: a 1920 x 1080 client area over a
// 2048 x 2048 image at each zoom, with and without both grids: background,
// the zoomed image through the colour table, the grids and the copy of the
// back buffer to the window's surface, as the view's paint does them.
#include <benchmark/benchmark.h>

#include <vector>

#include <QImage>
#include <QPainter>

#include "view/canvas_raster.h"
#include "view/guide_raster.h"
#include "view/view_geometry.h"

namespace {

constexpr int kImageSide = 2048;
constexpr int kClientW = 1920;
constexpr int kClientH = 1080;

void BM_FullRepaint(benchmark::State& state) {
    const int zoom = int(state.range(0));
    const bool grids = state.range(1) != 0;
    std::vector<uint8_t> pixels(size_t(kImageSide) * kImageSide);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 7 + i / kImageSide * 13);
    view::IndexedImage image{pixels.data(), kImageSide, kImageSide, size_t(kImageSide)};
    uint32_t colors[256];
    for (int i = 0; i < 256; ++i) colors[i] = 0xff000000u | uint32_t(i * 0x010203);
    QImage back(kClientW, kClientH, QImage::Format_RGB32);
    QImage surface(kClientW, kClientH, QImage::Format_RGB32);
    view::PixelBuffer buffer{reinterpret_cast<uint32_t*>(back.bits()), kClientW, kClientH,
                             int(back.bytesPerLine() / 4)};
    view::GridStyle grid{grids ? 3 : 0, 16, 16, 8, 8, 0xffff0000u, 0xff00ff00u};
    // Scrolled to the middle of the image where it is larger than the client.
    const int scrollX = std::max(0, (kImageSide * zoom - kClientW) / 2);
    const int scrollY = std::max(0, (kImageSide * zoom - kClientH) / 2);
    const view::ScreenPoint origin{-scrollX, -scrollY};
    const DibRect client{0, 0, kClientW, kClientH};
    for (auto _ : state) {
        DibRect logical{scrollX, scrollY, scrollX + kClientW, scrollY + kClientH};
        DibRect painted = view::WidenClipToCells(logical, zoom, {}, kImageSide, kImageSide);
        view::PaintBackground(buffer, client, origin, false, 0xff808080u, 0xffababab);
        DibRect target{origin.x + painted.left, origin.y + painted.top, origin.x + painted.right,
                       origin.y + painted.bottom};
        view::StretchIndexed(buffer, image, zoom, origin, colors, target);
        view::DrawGrids(buffer, painted, origin, zoom, grid, client);
        QPainter painter(&surface);
        painter.drawImage(0, 0, back);
        painter.end();
        benchmark::DoNotOptimize(surface.constBits());
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FullRepaint)
    ->ArgsProduct({{1, 2, 4, 6, 8, 16}, {0, 1}})
    ->ArgNames({"zoom", "grids"})
    ->Unit(benchmark::kMicrosecond);

// The guide drawn over a full-HD back buffer: the densest radial fan (one
// ray per degree, each min(zoom, 8) x 2048 pixels long from the middle of
// the window) and a straight guide across it.
void BM_GuideLines(benchmark::State& state) {
    const int zoom = int(state.range(0));
    const bool radial = state.range(1) != 0;
    QImage back(kClientW, kClientH, QImage::Format_RGB32);
    back.fill(0xff808080u);
    view::PixelBuffer buffer{reinterpret_cast<uint32_t*>(back.bits()), kClientW, kClientH,
                             int(back.bytesPerLine() / 4)};
    GuideSettings guide;
    guide.mode = radial ? 1 : 0;
    guide.angle = 1;
    guide.startX = kClientW / 2 / zoom;
    guide.startY = kClientH / 2 / zoom;
    guide.endX = guide.startX + 4000;
    guide.endY = guide.startY + 1500;
    const DibRect client{0, 0, kClientW, kClientH};
    for (auto _ : state) {
        guide::DrawGuideLines(buffer, guide, true, zoom, {0, 0}, client);
        benchmark::DoNotOptimize(back.constBits());
    }
}
BENCHMARK(BM_GuideLines)
    ->ArgsProduct({{1, 8, 16}, {0, 1}})
    ->ArgNames({"zoom", "radial"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
