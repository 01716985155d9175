// Times the fill tool's fill and paint of a 4096 x 4096 layer, hard and
// feathered, against ImageMagick's flood fill on the same picture.
//
//   fill_compare [work directory]
//
// Three layers: one region (the whole layer one index), a one-pixel
// vertical serpentine (every row span of the path one pixel long but at its
// turns) and a random maze of one-pixel corridors. Ours: the fill planes,
// the region, the edge weights and the paint as the plug-in runs them
// (Prepare, FloodFill, SoftenEdges, PaintRegion), best of three.
// ImageMagick: "convert in.bmp -fill red -draw 'color 0,0 floodfill'
// out.bmp" beside a plain "convert in.bmp out.bmp" (its file work).
// Prints a Markdown table.
#include <QCoreApplication>
#include <QDir>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "bench_timing.h"
#include "imaging/dib_layout.h"
#include "platform/memory.h"
#include "plugins/floodkit/fill_context.h"

namespace {

constexpr int kSide = 4096;

// Top-down pixels: 0 the path or region, 1 the walls.
std::vector<uint8_t> OneRegion() { return std::vector<uint8_t>(size_t(kSide) * kSide, 0); }

std::vector<uint8_t> Serpentine() {
    std::vector<uint8_t> p(size_t(kSide) * kSide, 1);
    for (int x = 0; x < kSide; x += 2) {
        for (int y = 0; y < kSide; ++y) p[size_t(y) * kSide + size_t(x)] = 0;
        // The turn to the next column, at the bottom and the top in turn.
        if (x + 2 < kSide) p[size_t((x / 2) % 2 ? 0 : kSide - 1) * kSide + size_t(x + 1)] = 0;
    }
    return p;
}

// A perfect maze on the cells of even coordinates (depth first, iterative).
std::vector<uint8_t> RandomMaze() {
    std::vector<uint8_t> p(size_t(kSide) * kSide, 1);
    const int cells = kSide / 2;
    std::mt19937 rng(4096);
    std::vector<int> stack{0};
    p[0] = 0;
    const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
    while (!stack.empty()) {
        const int c = stack.back(), cx = c % cells, cy = c / cells;
        int order[4] = {0, 1, 2, 3};
        std::shuffle(order, order + 4, rng);
        bool moved = false;
        for (int k : order) {
            const int nx = cx + dx[k], ny = cy + dy[k];
            if (nx < 0 || ny < 0 || nx >= cells || ny >= cells) continue;
            if (!p[size_t(2 * ny) * kSide + size_t(2 * nx)]) continue;
            p[size_t(2 * ny) * kSide + size_t(2 * nx)] = 0;
            p[size_t(2 * cy + dy[k]) * kSide + size_t(2 * cx + dx[k])] = 0;
            stack.push_back(ny * cells + nx);
            moved = true;
            break;
        }
        if (!moved) stack.pop_back();
    }
    return p;
}

struct Document {
    MemHandle image = nullptr;
    MemHandle layers[101] = {};
    std::vector<uint8_t> pixels;
    ~Document() {
        MemFree(image);
        MemFree(layers[0]);
    }
    // The layer back to the picture (bottom-up rows).
    void Reset() const {
        MemLockGuard layer(layers[0]);
        for (int y = 0; y < kSide; ++y)
            std::memcpy(layer.get() + LAYER_HEADER_SIZE + size_t(kSide - 1 - y) * kSide,
                        pixels.data() + size_t(y) * kSide, kSide);
    }
};

void Make(Document& d, std::vector<uint8_t> pixels) {
    d.pixels = std::move(pixels);
    d.image = MemAlloc(40 + 1024 + size_t(kSide) * kSide);
    d.layers[0] = MemAlloc(LAYER_HEADER_SIZE + size_t(kSide) * kSide);
    MemLockGuard image(d.image), layer(d.layers[0]);
    *image.as<DibInfoHeader>() = {40, kSide, kSide, 1, 8, 0, 0, 0, 0, 256, 0};
    auto* table = reinterpret_cast<PaletteEntry*>(image.get() + 40);
    for (int i = 0; i < 256; ++i) table[i] = {uint8_t(i), uint8_t(i), uint8_t(255 - i), 0};
    layer.as<LayerHeader>()->right = kSide;
    layer.as<LayerHeader>()->bottom = kSide;
    d.Reset();
}


}  // namespace

using benchtiming::BestOfTimes;
using benchtiming::BestRun;
using benchtiming::Cell;
using benchtiming::Times;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QDir work(argc > 1 ? argv[1] : QDir::tempPath());
    const QString convert = benchtiming::ImageMagickConvert();
    struct Scene {
        const char* name;
        std::vector<uint8_t> (*make)();
    };
    const Scene scenes[] = {{"one region", OneRegion}, {"serpentine", Serpentine}, {"random maze", RandomMaze}};
    std::printf("| %d x %d layer | edge width | fill and paint | of which the fill |\n|---|---|---|---|\n",
                kSide, kSide);
    for (const Scene& scene : scenes) {
        Document doc;
        Make(doc, scene.make());
        for (int edge : {0, 2, 10, 50}) {
            int32_t color = 200, x = 0, y = 0;
            PluginToolRecord record{};
            record.currentColor = &color;
            record.clickX = &x;
            record.clickY = &y;
            record.layers = doc.layers;
            record.toolOption = edge;
            PluginToolInfo info{};
            info.image = doc.image;
            const auto reset = [&] { doc.Reset(); };
            const Times fill = BestOfTimes(3, reset, [&] {
                FillContext context(&record, &info);
                return context.Prepare() && context.FloodFill();
            });
            const Times all = BestOfTimes(3, reset, [&] {
                FillContext context(&record, &info);
                return context.Prepare() && context.FloodFill() && context.SoftenEdges() && context.PaintRegion();
            });
            std::printf("| %s | %d | %s | %s |\n", scene.name, edge, qPrintable(Cell(all)), qPrintable(Cell(fill)));
        }
        if (convert.isEmpty()) continue;
        QImage picture(kSide, kSide, QImage::Format_Grayscale8);
        for (int row = 0; row < kSide; ++row)
            for (int col = 0; col < kSide; ++col)
                picture.scanLine(row)[col] = doc.pixels[size_t(row) * kSide + size_t(col)] ? 255 : 0;
        const QString in = work.filePath("fill_compare_in.bmp"), out = work.filePath("fill_compare_out.bmp");
        picture.convertToFormat(QImage::Format_RGB888).save(in, "BMP");
        const Times flood = BestRun(3, convert, {in, "-fill", "red", "-draw", "color 0,0 floodfill", out});
        const Times copy = BestRun(3, convert, {in, out});
        std::printf("| %s: ImageMagick floodfill (its file work %s) | - | %s | %s beyond the file work |\n",
                    scene.name, qPrintable(Cell(copy)), qPrintable(Cell(flood)),
                    qPrintable(Cell(benchtiming::Beyond(flood, copy))));
        QFile::remove(in);
        QFile::remove(out);
    }
    return 0;
}
