#include "photo_document.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "imaging/dib_layout.h"

namespace benchphoto {

QImage IndexedPhoto(const QString& path, int side) {
    QImage photo(path);
    if (photo.isNull()) return {};
    return photo.convertToFormat(QImage::Format_RGB888)
        .scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
}

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

Comparison::~Comparison() {
    MemFree(doc.image);
    MemFree(doc.layers[0]);
    if (!bmp.isEmpty()) QFile::remove(bmp);
    if (!out.isEmpty()) QFile::remove(out);
}

int StartComparison(int argc, char** argv, const char* program, const char* stem, int side, Comparison* comparison) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <photo> [work directory]\n", program);
        return 2;
    }
    QDir work(argc > 2 ? argv[2] : QDir::tempPath());
    comparison->indexed = IndexedPhoto(QString::fromLocal8Bit(argv[1]), side);
    if (comparison->indexed.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    comparison->bmp = work.filePath(QStringLiteral("%1_in.bmp").arg(stem));
    comparison->out = work.filePath(QStringLiteral("%1_out.bmp").arg(stem));
    comparison->indexed.convertToFormat(QImage::Format_RGB888).save(comparison->bmp, "BMP");
    comparison->doc = MakeDocument(comparison->indexed);
    return 0;
}

}  // namespace benchphoto
