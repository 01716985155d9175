// Times the animation maker's GIF output (the tree, the encoding and the
// file) against ImageMagick cutting the same sheet into the same frames.
//
//   cinereel_gif_compare <photo directory> [work directory]
//
// The photographs are tiled into a 2048 x 2048 sheet reduced to 256 colours;
// the output writes its 64 cells of 256 x 256 as frames of 100 ms, looping.
// ImageMagick reads the sheet as an 8-bit BMP:
// "convert sheet.bmp -crop 256x256 +repage -set delay 10 -loop 0 out.gif",
// with the same run to "null:" beside it for its read and crop share. A
// 1024 x 512 sheet cut into 128 frames of 64 x 64 (the table's most) too.
// Best of five runs each, wall and CPU time apart (the last column sets
// their CPU times side by side); prints a Markdown table with the bytes
// written.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench_timing.h"
#include "imaging/dib_layout.h"
#include "plugins/cinereel/gif_output.h"
#include "plugins/loopcast/gif_tree.h"

namespace {

using benchtiming::Cell;
using benchtiming::Times;

QImage MakeSheet(const QString& photos, int w, int h) {
    QImage sheet(w, h, QImage::Format_RGB888);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    const QStringList names = QDir(photos).entryList({"*.png", "*.jpg", "*.ppm"}, QDir::Files, QDir::Name);
    const int side = std::max(w, h) / 2;
    int i = 0;
    for (int y = 0; y < h; y += side)
        for (int x = 0; x < w; x += side, ++i) {
            if (names.isEmpty()) break;
            QImage photo(QDir(photos).filePath(names[i % names.size()]));
            if (!photo.isNull()) p.drawImage(QRect(x, y, side, side), photo);
        }
    p.end();
    return sheet.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
}

void Compare(const QString& photos, const QDir& work, const QString& convertProgram, int w, int h, int cell) {
    const QImage sheet = MakeSheet(photos, w, h);
    const int stride = (w + 3) & ~3;
    std::vector<uint8_t> dib(DIB_INFO_HEADER_SIZE + 1024);
    const DibInfoHeader header{40, w, h, 1, 8, 0, 0, 0, 0, 256, 0};
    std::memcpy(dib.data(), &header, sizeof header);
    const QList<QRgb> colors = sheet.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < colors.size() ? colors[i] : 0;
        uint8_t* e = dib.data() + DIB_INFO_HEADER_SIZE + 4 * i;
        e[0] = uint8_t(qBlue(c));
        e[1] = uint8_t(qGreen(c));
        e[2] = uint8_t(qRed(c));
    }
    std::vector<uint8_t> bits(size_t(stride) * size_t(h));
    for (int y = 0; y < h; ++y) std::memcpy(bits.data() + size_t(h - 1 - y) * stride, sheet.constScanLine(y), size_t(w));
    SheetFrame frames[kSheetFrames] = {};
    int n = 0;
    for (int y = 0; y + cell <= h && n < kSheetFrames; y += cell)
        for (int x = 0; x + cell <= w && n < kSheetFrames; x += cell) frames[n++] = {x, y, x + cell, y + cell, 100, 0};
    const cinereel::GifSource source{dib.data(), dib.size(), bits.data(), stride, w, h};
    const cinereel::GifOptions options{true, false, false};
    const QString ours = work.filePath("cinereel_compare_ours.gif");
    const QByteArray oursPath = ours.toLocal8Bit();
    const Times output = benchtiming::BestOfTimes(5, [&] {
        GifFile* tree = nullptr;
        bool ok = cinereel::BuildAnimGif(frames, 0, source, options, &tree) == cinereel::GifBuild::Ok &&
                  cinereel::WriteAnimGif(oursPath.constData(), tree);
        GifFreeFile(tree);
        return ok;
    });
    const QString bmp = work.filePath("cinereel_compare_sheet.bmp");
    const QString theirs = work.filePath("cinereel_compare_convert.gif");
    sheet.save(bmp, "BMP");
    const QString crop = QStringLiteral("%1x%1").arg(cell);
    const Times convert = benchtiming::BestRun(
        5, convertProgram, {bmp, "-crop", crop, "+repage", "-set", "delay", "10", "-loop", "0", theirs});
    const Times readCrop = benchtiming::BestRun(5, convertProgram, {bmp, "-crop", crop, "+repage", "null:"});
    std::printf("| %d x %d sheet, %d frames of %d x %d | %s, %lld bytes | %s, %lld bytes | %s | %.1fx |\n", w, h, n,
                cell, cell, qPrintable(Cell(output)), (long long)QFileInfo(ours).size(), qPrintable(Cell(convert)),
                (long long)QFileInfo(theirs).size(), qPrintable(Cell(readCrop)),
                output.ok() && convert.ok() && output.cpu > 0 ? convert.cpu / output.cpu : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: cinereel_gif_compare <photo directory> [work directory]\n");
        return 2;
    }
    QDir work(argc > 2 ? argv[2] : QDir::tempPath());
    const QString convert = benchtiming::ImageMagickConvert();
    if (convert.isEmpty()) {
        std::fprintf(stderr, "ImageMagick's convert is not installed\n");
        return 1;
    }
    std::printf("| frames | ours | convert | convert to null: | ours faster (CPU) |\n|---|---|---|---|---|\n");
    Compare(QString::fromLocal8Bit(argv[1]), work, convert, 2048, 2048, 256);
    Compare(QString::fromLocal8Bit(argv[1]), work, convert, 1024, 512, 64);
    return 0;
}
