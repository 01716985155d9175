// Times one preview step of the colour-tone dialog (pixel mode and palette
// mode) and the negative against ImageMagick on the same picture.
//
//   tone_compare <photo> [work directory]
//
// The photograph is scaled to 2048 x 2048 and reduced to 256 colours; that
// image is the layer we adjust and, as a 24-bit BMP, ImageMagick's input
// ("convert in.bmp -modulate 100,60,120 out.bmp" and "convert in.bmp
// -negate out.bmp"; a plain "convert in.bmp out.bmp" is timed beside them to
// show the share of reading and writing the files). ImageMagick's hue 120
// turns the hue by 36 degrees and its saturation 60 takes away 40 percent:
// ours is hue 36, saturation -40. The way through a 24-bit work image
// (LayerToRgb, AdjustToneRgbBuffer, RgbToLayer) is timed for comparison.
// Best of five runs each. Prints a Markdown table.
#include <QCoreApplication>
#include <QImage>

#include <cstdio>
#include <functional>

#include "imaging/dib_layout.h"
#include "photo_document.h"
#include "platform/memory.h"
#include "plugins/kit/kit_blocks.h"
#include "plugins/kit/kit_filter_masks.h"
#include "plugins/kit/kit_layer_rgb.h"
#include "plugins/tonalis/dib_palette.h"
#include "plugins/tonalis/layer_index_map.h"
#include "plugins/tonalis/tone_adjust.h"

namespace {

constexpr int kSide = 2048;
constexpr int kHue = 36, kSaturation = -40, kLightness = 0;

using benchphoto::BestOfTimes;
using benchphoto::BestRun;
using benchphoto::Document;
using benchphoto::Times;

// A time in milliseconds, CPU time beside it.
QString Ms(const Times& t) { return benchphoto::Cell(t, true); }

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchphoto::Comparison run;
    if (int status = benchphoto::StartComparison(argc, argv, "tone_compare", "tone_compare", kSide, &run)) return status;
    const QString &bmp = run.bmp, &out = run.out;
    Document& doc = run.doc;
    MemHandle copy = GlobalDuplicate(doc.layers[0]);
    PluginToolRecord record{};
    record.layers = doc.layers;
    FilterMasks masks;  // the dialog's: all selected, nothing protected
    if (!copy || !masks.Take(nullptr, kSide, kSide)) return 1;

    // One preview step as the dialog computes it.
    const Times pixel = BestOfTimes(5, [&] {
        ImageColors colors;
        if (!ReadImageColors(doc.image, &colors)) return false;
        uint8_t table[256];
        BuildIndexTable(
            colors, [](uint32_t c) { return AdjustTone(c, kHue, kLightness, kSaturation, 0); }, table);
        return MapLayerIndexes(doc.layers[0], copy, kSide, kSide, table, masks.Protect(), masks.Selection(), &record) &&
               GlobalSwapBlocks(doc.layers[0], copy) && GlobalSwapBlocks(doc.layers[0], copy);
    });
    DibPaletteCopy palette;
    const Times paletteMode = BestOfTimes(5, [&] {
        if (!GetDibPalette(nullptr, doc.image, &palette)) return false;
        AdjustTonePalette(&palette, kHue, kSaturation, kLightness, 0);
        return ExchangeDibPalette(nullptr, doc.image, &palette) && ExchangeDibPalette(nullptr, doc.image, &palette);
    });
    const Times negative = BestOfTimes(5, [&] {
        ImageColors colors;
        if (!ReadImageColors(doc.image, &colors)) return false;
        uint8_t table[256];
        BuildIndexTable(colors, [](uint32_t c) { return c ^ 0xffffffu; }, table);
        return MapLayerIndexes(doc.layers[0], doc.layers[0], kSide, kSide, table, masks.Protect(), masks.Selection(),
                               &record);
    });
    // The same preview pixel by pixel through the 24-bit work image.
    RgbBuffer* rgb = LayerToRgb(doc.image, doc.layers, &record);
    const Times throughRgb = BestOfTimes(3, [&] {
        RgbBuffer* adjusted = AdjustToneRgbBuffer(rgb, kHue, kSaturation, kLightness, 0, masks.Protect(),
                                                  masks.Selection(), &record);
        bool ok = adjusted && RgbToLayer(doc.image, copy, adjusted, masks.Protect(), masks.Selection(), &record);
        FreeRgbBuffer(adjusted);
        return ok;
    });
    const Times toRgb = BestOfTimes(3, [&] {
        RgbBuffer* b = LayerToRgb(doc.image, doc.layers, &record);
        FreeRgbBuffer(b);
        return b != nullptr;
    });

    std::printf("| %d x %d, %lld colours | time |\n|---|---|\n", kSide, kSide, (long long)run.indexed.colorCount());
    std::printf("| ours: preview step, pixel mode (table per colour, write into the copy, exchange twice) | %s |\n", qPrintable(Ms(pixel)));
    std::printf("| ours: preview step, palette mode (adjust the copy, exchange twice) | %s |\n", qPrintable(Ms(paletteMode)));
    std::printf("| ours: negative (table per colour, in place) | %s |\n", qPrintable(Ms(negative)));
    std::printf("| ours, pixel by pixel: AdjustToneRgbBuffer and RgbToLayer | %s |\n", qPrintable(Ms(throughRgb)));
    std::printf("| ours, pixel by pixel: LayerToRgb (the dialog's start-up, not needed) | %s |\n", qPrintable(Ms(toRgb)));
    const QString convert = benchphoto::ImageMagickConvert();
    if (convert.isEmpty()) {
        std::printf("| ImageMagick | missing |\n");
    } else {
        const Times modulate = BestRun(3, convert, {bmp, "-modulate", "100,60,120", out});
        const Times negate = BestRun(3, convert, {bmp, "-negate", out});
        const Times plain = BestRun(3, convert, {bmp, out});
        std::printf("| ImageMagick convert -modulate 100,60,120 (BMP in, BMP out) | %s |\n", qPrintable(Ms(modulate)));
        std::printf("| ImageMagick convert -negate (BMP in, BMP out) | %s |\n", qPrintable(Ms(negate)));
        std::printf("| ImageMagick plain convert (BMP in, BMP out) | %s |\n", qPrintable(Ms(plain)));
    }
    FreeRgbBuffer(rgb);
    masks.Release();
    MemFree(copy);
    return 0;
}
