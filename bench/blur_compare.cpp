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
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

#include "imaging/dib_layout.h"
#include "platform/memory.h"
#include "plugins/hazewell/blur_rgb.h"
#include "plugins/kit/kit_layer_rgb.h"

namespace {

constexpr int kSide = 2048;

double BestOf3(const std::function<bool()>& run) {
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        if (!run()) return -1;
        best = std::min(best, t.nsecsElapsed() / 1e9);
    }
    return best;
}

// The indexed picture as a packed DIB and one layer holding its pixels.
struct Document {
    MemHandle image = nullptr;
    MemHandle layers[101] = {};
};

Document MakeDocument(const QImage& indexed) {
    Document d;
    const int w = indexed.width(), h = indexed.height();
    const size_t row = size_t((w + 3) & ~3);
    d.image = MemAlloc(40 + 1024 + row * size_t(h));
    d.layers[0] = MemAlloc(LAYER_HEADER_SIZE + row * size_t(h));
    MemLockGuard image(d.image), layer(d.layers[0]);
    *image.as<DibInfoHeader>() = {40, w, h, 1, 8, 0, 0, 0, 0, 256, 0};
    auto* table = reinterpret_cast<PaletteEntry*>(image.get() + 40);
    const QList<QRgb> colors = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        QRgb c = i < colors.size() ? colors[i] : 0;
        table[i] = {uint8_t(qBlue(c)), uint8_t(qGreen(c)), uint8_t(qRed(c)), 0};
    }
    layer.as<LayerHeader>()->right = w;
    layer.as<LayerHeader>()->bottom = h;
    for (int y = 0; y < h; ++y) {
        const uchar* in = indexed.constScanLine(h - 1 - y);
        std::memcpy(image.get() + 1064 + size_t(y) * row, in, size_t(w));
        std::memcpy(layer.get() + LAYER_HEADER_SIZE + size_t(y) * row, in, size_t(w));
    }
    return d;
}

bool RunConvert(const QString& convert, const QStringList& args) {
    QProcess p;
    p.start(convert, args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: blur_compare <photo> [work directory]\n");
        return 2;
    }
    QDir work(argc > 2 ? argv[2] : QDir::tempPath());
    QImage photo(argv[1]);
    if (photo.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QImage indexed = photo.convertToFormat(QImage::Format_RGB888)
                         .scaled(kSide, kSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    const QString bmp = work.filePath("blur_compare_in.bmp");
    const QString out = work.filePath("blur_compare_out.bmp");
    indexed.convertToFormat(QImage::Format_RGB888).save(bmp, "BMP");
    Document doc = MakeDocument(indexed);
    PluginToolRecord record{};
    RgbBuffer* rgb = LayerToRgb(doc.image, doc.layers, &record);
    if (!rgb) return 1;

    std::printf("| %d x %d, %lld colours | seconds |\n|---|---|\n", kSide, kSide, (long long)indexed.colorCount());
    for (int radius : {2, 8, 20}) {
        RgbBuffer* blurred = nullptr;
        double blur = BestOf3([&] {
            FreeRgbBuffer(blurred);
            blurred = BlurRgbBuffer(rgb, radius, nullptr, nullptr, &record);
            return blurred != nullptr;
        });
        double back = BestOf3([&] { return RgbToLayer(doc.image, doc.layers[0], blurred, nullptr, nullptr, &record); });
        double both = BestOf3([&] {
            RgbBuffer* b = BlurRgbBuffer(rgb, radius, nullptr, nullptr, &record);
            bool ok = b && RgbToLayer(doc.image, doc.layers[0], b, nullptr, nullptr, &record);
            FreeRgbBuffer(b);
            return ok;
        });
        std::printf("| ours, radius %d: blur | %.3f |\n", radius, blur);
        std::printf("| ours, radius %d: write-back | %.3f |\n", radius, back);
        std::printf("| ours, radius %d: blur and write-back | %.3f |\n", radius, both);
        FreeRgbBuffer(blurred);
    }
    const QString convert = QStandardPaths::findExecutable("convert");
    if (convert.isEmpty()) {
        std::printf("| ImageMagick | missing |\n");
    } else {
        double blur = BestOf3([&] { return RunConvert(convert, {bmp, "-blur", "10x3.3", out}); });
        double copy = BestOf3([&] { return RunConvert(convert, {bmp, out}); });
        std::printf("| ImageMagick convert -blur 10x3.3 (BMP in, BMP out) | %.3f |\n", blur);
        std::printf("| ImageMagick plain convert (BMP in, BMP out) | %.3f |\n", copy);
    }
    FreeRgbBuffer(rgb);
    MemFree(doc.image);
    MemFree(doc.layers[0]);
    QFile::remove(bmp);
    QFile::remove(out);
    return 0;
}
