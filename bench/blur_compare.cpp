// Times the blur filter's computation (the blur and the write-back into a
// 256-colour palette) against ImageMagick's blur on the same picture.
//
//   blur_compare <photo> [work directory]
//
// The photograph is scaled to 2048 x 2048 and reduced to 256 colours; that
// image is the layer we blur and, as a 24-bit BMP, ImageMagick's input
// ("convert in.bmp -blur 10x3.3 out.bmp"; a plain "convert in.bmp out.bmp"
// is timed beside it to show the share of reading and writing the files).
// Our radius 20 is a 21 x 21 kernel, like the 21 taps of "-blur 10".
// Best of three runs each. Prints a Markdown table.
#include <QCoreApplication>
#include <QImage>

#include <cstdio>
#include <functional>

#include "imaging/dib_layout.h"
#include "photo_document.h"
#include "platform/memory.h"
#include "plugins/hazewell/blur_rgb.h"
#include "plugins/kit/kit_layer_rgb.h"

namespace {

constexpr int kSide = 2048;

using benchphoto::BestOfTimes;
using benchphoto::BestRun;
using benchphoto::Cell;
using benchphoto::Document;
using benchphoto::Times;

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchphoto::Comparison run;
    if (int status = benchphoto::StartComparison(argc, argv, "blur_compare", "blur_compare", kSide, &run)) return status;
    const QString &bmp = run.bmp, &out = run.out;
    Document& doc = run.doc;
    PluginToolRecord record{};
    RgbBuffer* rgb = LayerToRgb(doc.image, doc.layers, &record);
    if (!rgb) return 1;

    std::printf("| %d x %d, %lld colours | time |\n|---|---|\n", kSide, kSide, (long long)run.indexed.colorCount());
    for (int radius : {2, 8, 20}) {
        RgbBuffer* blurred = nullptr;
        const Times blur = BestOfTimes(3, [&] {
            FreeRgbBuffer(blurred);
            blurred = BlurRgbBuffer(rgb, radius, nullptr, nullptr, &record);
            return blurred != nullptr;
        });
        const Times back = BestOfTimes(3, [&] { return RgbToLayer(doc.image, doc.layers[0], blurred, nullptr, nullptr, &record); });
        const Times both = BestOfTimes(3, [&] {
            RgbBuffer* b = BlurRgbBuffer(rgb, radius, nullptr, nullptr, &record);
            bool ok = b && RgbToLayer(doc.image, doc.layers[0], b, nullptr, nullptr, &record);
            FreeRgbBuffer(b);
            return ok;
        });
        std::printf("| ours, radius %d: blur | %s |\n", radius, qPrintable(Cell(blur)));
        std::printf("| ours, radius %d: write-back | %s |\n", radius, qPrintable(Cell(back)));
        std::printf("| ours, radius %d: blur and write-back | %s |\n", radius, qPrintable(Cell(both)));
        FreeRgbBuffer(blurred);
    }
    const QString convert = benchphoto::ImageMagickConvert();
    if (convert.isEmpty()) {
        std::printf("| ImageMagick | missing |\n");
    } else {
        const Times blur = BestRun(3, convert, {bmp, "-blur", "10x3.3", out});
        const Times copy = BestRun(3, convert, {bmp, out});
        std::printf("| ImageMagick convert -blur 10x3.3 (BMP in, BMP out) | %s |\n", qPrintable(Cell(blur)));
        std::printf("| ImageMagick plain convert (BMP in, BMP out) | %s |\n", qPrintable(Cell(copy)));
    }
    FreeRgbBuffer(rgb);
    return 0;
}
