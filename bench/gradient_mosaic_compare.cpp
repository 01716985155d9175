// Times the gradation filter's engines and the mosaic filter against
// ImageMagick on 2048 x 2048 pictures.
//
//   gradient_mosaic_compare <photo> [work directory]
//
// The photograph is scaled to 2048 x 2048 and reduced to 256 colours; that
// image is the layer we work on and, as a 24-bit BMP, ImageMagick's input.
// Gradients: ours from the palette colour nearest red to the one nearest
// blue (24-bit: the gradient and the write-back into the palette; index:
// the two-colour dithering), against "convert -size 2048x2048
// gradient:red-blue" and "radial-gradient:red-blue" into a BMP. Mosaic: our
// cells of 2 and 16 pixels against "-scale 50% -scale 200%" and "-scale
// 6.25% -scale 1600%" on the photo; a plain "convert in.bmp out.bmp" is
// timed beside to show the share of reading and writing the files.
// Best of three runs each. Prints a Markdown table.
#include <QCoreApplication>
#include <QImage>

#include <cstdio>
#include <tuple>

#include "imaging/dib_layout.h"
#include "photo_document.h"
#include "platform/memory.h"
#include "plugins/gradate/gradient.h"
#include "plugins/kit/kit_blocks.h"
#include "plugins/kit/kit_layer_rgb.h"
#include "plugins/tesserel/mosaic_engine.h"

namespace {

constexpr int kSide = 2048;

using benchphoto::BestOfTimes;
using benchphoto::BestRun;
using benchphoto::Cell;
using benchphoto::Times;

int NearestOf(MemHandle image, uint8_t blue, uint8_t green, uint8_t red) {
    MemLockGuard lock(image);
    return NearestPaletteIndex(reinterpret_cast<const PaletteEntry*>(lock.get() + 40), 256, blue, green, red);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchphoto::Comparison run;
    if (int status = benchphoto::StartComparison(argc, argv, "gradient_mosaic_compare", "gradient_mosaic", kSide, &run))
        return status;
    const QString &bmp = run.bmp, &out = run.out;
    benchphoto::Document& doc = run.doc;
    MemHandle copy = GlobalDuplicate(doc.layers[0]);
    MemHandle mask = MemAlloc(size_t(kSide + 7) / 8 * kSide);  // nothing selected: every pixel counts
    PluginToolRecord record{};
    record.layers = doc.layers;
    record.selectionMask = mask;
    RgbBuffer* rgb = LayerToRgb(doc.image, doc.layers, &record);
    if (!rgb || !copy || !mask) return 1;

    GradParam linear{}, circular{};
    const int red = NearestOf(doc.image, 0, 0, 255), blue = NearestOf(doc.image, 255, 0, 0);
    InitGradParam(&linear, doc.image, red, blue, kSide / 2, kSide - 1, kSide / 2, 0);
    InitGradParam(&circular, doc.image, red, blue, kSide / 2, kSide / 2, kSide / 2, 0);

    std::printf("| %d x %d | time |\n|---|---|\n", kSide, kSide);
    for (auto [name, param, shape] : {std::tuple{"linear", &linear, int(kGradLinear)},
                                      std::tuple{"circular", &circular, int(kGradCircular)}}) {
        const Times smooth = BestOfTimes(3, [&] {
            RgbBuffer* g = GradientRgbBuffer(rgb, *param, shape, nullptr, nullptr, &record);
            bool ok = g && RgbToLayer(doc.image, copy, g, nullptr, nullptr, &record);
            FreeRgbBuffer(g);
            return ok;
        });
        const Times twoColours = BestOfTimes(3, [&] {
            return GradientPaletteIndex(doc.image, doc.layers[0], copy, *param, shape, nullptr, nullptr, &record);
        });
        std::printf("| ours, %s gradient, 24-bit and write-back | %s |\n", name, qPrintable(Cell(smooth)));
        std::printf("| ours, %s gradient, two-colour index | %s |\n", name, qPrintable(Cell(twoColours)));
    }
    {
        MosaicEngine engine(doc.image, &record);
        for (int cell : {2, 16}) {
            const Times t = BestOfTimes(3, [&] {
                engine.Apply(cell);
                return engine.Ready();
            });
            std::printf("| ours, mosaic cell %d | %s |\n", cell, qPrintable(Cell(t)));
        }
    }
    const QString convert = benchphoto::ImageMagickConvert();
    if (convert.isEmpty()) {
        std::printf("| ImageMagick | missing |\n");
    } else {
        const QString size = QStringLiteral("%1x%1").arg(kSide);
        struct Peer {
            const char* name;
            QStringList args;
        };
        for (const Peer& p : {
                 Peer{"convert -size 2048x2048 gradient:red-blue (BMP out)", {"-size", size, "gradient:red-blue", out}},
                 Peer{"convert -size 2048x2048 radial-gradient:red-blue (BMP out)",
                      {"-size", size, "radial-gradient:red-blue", out}},
                 Peer{"convert -scale 50% -scale 200% (BMP in, BMP out)", {bmp, "-scale", "50%", "-scale", "200%", out}},
                 Peer{"convert -scale 6.25% -scale 1600% (BMP in, BMP out)",
                      {bmp, "-scale", "6.25%", "-scale", "1600%", out}},
                 Peer{"plain convert (BMP in, BMP out)", {bmp, out}},
             }) {
            std::printf("| ImageMagick %s | %s |\n", p.name, qPrintable(Cell(BestRun(3, convert, p.args))));
        }
    }
    FreeRgbBuffer(rgb);
    MemFree(copy);
    MemFree(mask);
    return 0;
}
