// Compares the colour reducer with pngquant and ImageMagick on photographs:
// time and PSNR against the source at 256 and 16 colours, no dithering.
//
//   reduce_compare <photo directory> [work directory]
//
// Each photograph is taken as it is and as a 2048 x 2048 tiling of itself.
// The engine is timed in process twice: the reduction alone, and with
// reading the PNG and writing the result as PNG (what the peers' times
// include, besides starting their process). Every time is the best of three
// runs, wall and CPU time apart; the last column sets the reduction's CPU
// time against convert's. A peer that is missing is reported as such. Prints
// a Markdown table.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "bench_timing.h"
#include "imaging/color_reduce.h"

namespace {

struct Source {
    QString name;
    QString path;  // 24-bit PNG
    QImage image;  // RGB888
};

double Psnr(const QImage& reference, const QImage& result) {
    QImage a = reference.convertToFormat(QImage::Format_RGB888);
    QImage b = result.convertToFormat(QImage::Format_RGB888);
    if (a.size() != b.size()) return -1;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar* p = a.constScanLine(y);
        const uchar* q = b.constScanLine(y);
        for (int i = 0; i < a.width() * 3; ++i) {
            double d = double(p[i]) - double(q[i]);
            sum += d * d;
        }
    }
    double mse = sum / (double(a.width()) * a.height() * 3);
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

int CountColours(const QImage& image) {
    std::vector<bool> seen(1 << 24);
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* p = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x, p += 3) {
            uint32_t k = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
            if (!seen[k]) seen[k] = true, ++n;
        }
    }
    return n;
}

// The engine on an RGB888 image; the result as an indexed image, the time of
// the reduction itself in `times`.
QImage ReduceWithEngine(const QImage& rgb, int colours, benchtiming::Times* times) {
    const int w = rgb.width(), h = rgb.height();
    const size_t row24 = (size_t(w) * 3 + 3) & ~size_t(3), row8 = (size_t(w) + 3) & ~size_t(3);
    std::vector<uint8_t> source(row24 * size_t(h)), pixels(row8 * size_t(h)), palette(1024);
    for (int y = 0; y < h; ++y) {
        const uchar* p = rgb.constScanLine(y);
        uint8_t* q = source.data() + size_t(h - 1 - y) * row24;
        for (int x = 0; x < w; ++x) q[x * 3] = p[x * 3 + 2], q[x * 3 + 1] = p[x * 3 + 1], q[x * 3 + 2] = p[x * 3];
    }
    *times = benchtiming::Measure([&] {
        return ReduceImageColors(source.data(), pixels.data(), w, h,
                                 reinterpret_cast<PaletteEntry*>(palette.data()), colours, 24, 0) != 0;
    });
    if (!times->ok()) return {};
    QImage out(w, h, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i) table.append(qRgb(palette[size_t(i) * 4 + 2], palette[size_t(i) * 4 + 1], palette[size_t(i) * 4]));
    out.setColorTable(table);
    for (int y = 0; y < h; ++y) memcpy(out.scanLine(y), pixels.data() + size_t(h - 1 - y) * row8, size_t(w));
    return out;
}

QString Cell(const benchtiming::Times& t, double psnr) {
    if (!t.ok()) return "failed";
    return QString("%1 / %2 dB").arg(benchtiming::Cell(t)).arg(psnr, 0, 'f', 2);
}


}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: reduce_compare <photo directory> [work directory]\n");
        return 2;
    }
    QDir photos(QString::fromLocal8Bit(argv[1]));
    QString work = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath() + "/kavolt-reduce-compare";
    QDir().mkpath(work);
    // The real programs, not wrappers in front of them.
    QString pngquant = QFileInfo(QStringLiteral("/usr/bin/pngquant")).isExecutable() ? "/usr/bin/pngquant" : "";
    QString convert = benchtiming::ImageMagickConvert();

    std::vector<Source> sources;
    for (const QFileInfo& f : photos.entryInfoList({"*.png", "*.PNG"}, QDir::Files, QDir::Name)) {
        QImage image = QImage(f.filePath()).convertToFormat(QImage::Format_RGB888);
        if (image.isNull()) continue;
        QString base = f.completeBaseName();
        Source plain{base, work + "/" + base + ".png", image};
        plain.image.save(plain.path);
        sources.push_back(plain);
        QImage tiled(2048, 2048, QImage::Format_RGB888);
        for (int y = 0; y < 2048; ++y)
            for (int x = 0; x < 2048; x += image.width()) {
                int n = std::min(image.width(), 2048 - x);
                memcpy(tiled.scanLine(y) + x * 3, image.constScanLine(y % image.height()), size_t(n) * 3);
            }
        Source big{base + " 2048²", work + "/" + base + "-2048.png", tiled};
        big.image.save(big.path);
        sources.push_back(big);
    }

    std::printf("| image | size | colours | target | engine (reduce) | engine (PNG in+out) | pngquant --nofs | "
                "convert +dither -colors | engine / convert (CPU) |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|\n");
    for (const Source& s : sources) {
        int distinct = CountColours(s.image);
        for (int colours : {256, 16}) {
            // The engine, best of three: the reduction alone, and with reading
            // and writing the PNG.
            benchtiming::Times reduce{1e9, 1e9};
            QImage engine;
            const benchtiming::Times whole = benchtiming::BestOfTimes(3, [&] {
                benchtiming::Times t;
                QImage loaded = QImage(s.path).convertToFormat(QImage::Format_RGB888);
                engine = ReduceWithEngine(loaded, colours, &t);
                reduce.wall = std::min(reduce.wall, t.wall);
                reduce.cpu = std::min(reduce.cpu, t.cpu);
                return t.ok() && engine.save(work + "/engine.png");
            });
            if (!whole.ok()) reduce = {};
            double enginePsnr = Psnr(s.image, engine);

            QString quantCell = "not installed", convertCell = "not installed", ratio = "-";
            if (!pngquant.isEmpty()) {
                QString out = work + "/pngquant.png";
                QFile::remove(out);
                benchtiming::Times t =
                    benchtiming::BestRun(3, pngquant, {"--nofs", "--force", "--output", out, QString::number(colours), s.path});
                quantCell = Cell(t, t.ok() ? Psnr(s.image, QImage(out)) : 0);
            }
            if (!convert.isEmpty()) {
                QString out = work + "/convert.png";
                benchtiming::Times t = benchtiming::BestRun(3, convert, {s.path, "+dither", "-colors", QString::number(colours), out});
                convertCell = Cell(t, t.ok() ? Psnr(s.image, QImage(out)) : 0);
                if (t.ok() && reduce.ok()) ratio = QString::number(reduce.cpu / t.cpu, 'f', 2);
            }
            std::printf("| %s | %dx%d | %d | %d | %s | %s | %s | %s | %s |\n", qPrintable(s.name), s.image.width(),
                        s.image.height(), distinct, colours, qPrintable(Cell(reduce, enginePsnr)),
                        qPrintable(benchtiming::Cell(whole)), qPrintable(quantCell), qPrintable(convertCell),
                        qPrintable(ratio));
            std::fflush(stdout);
        }
    }
    return 0;
}
