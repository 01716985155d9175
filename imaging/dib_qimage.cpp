#include "imaging/dib_qimage.h"

#include <cstring>
#include <vector>

#include "imaging/dib_geometry.h"

QImage DibToQImage(MemHandle image, const DibRect* rect, const LogicalPalette* palette) {
    dib::LockedDib d(image);
    if (!d) return QImage();
    const dib::DibGeometry& g = d.geo();
    size_t stride = g.DisplayRow();
    if (!g.HoldsRows(stride)) return QImage();
    DibRect whole{0, 0, g.width, g.height};
    dib::ClippedRect r = dib::ClipToImage(rect ? *rect : whole, g.width, g.height);
    if (r.empty()) return QImage();
    int w = r.width(), h = r.height();

    PaletteEntry table[256];
    dib::ReadColorTable(d.data(), g, table);

    if (g.Indexed()) {
        QImage out(w, h, QImage::Format_Indexed8);
        if (out.isNull()) return QImage();
        QList<QRgb> colors(256);
        for (int i = 0; i < 256; ++i) {
            if (palette)
                colors[i] = palette->Shown(i);
            else
                colors[i] = i < g.entries ? qRgb(table[i].red, table[i].green, table[i].blue)
                                          : qRgb(0, 0, 0);
        }
        out.setColorTable(colors);
        for (int y = 0; y < h; ++y)
            dib::ReadRowIndices(d.Row(g.height - 1 - (r.top + y), stride), g.bitCount, r.left, w,
                                out.scanLine(y));
        return out;
    }

    QImage out(w, h, QImage::Format_RGB32);
    if (out.isNull()) return QImage();
    std::vector<uint8_t> bgr(size_t(w) * 3);
    for (int y = 0; y < h; ++y) {
        dib::ReadRowBgr(d.Row(g.height - 1 - (r.top + y), stride), g.bitCount, r.left, w, table,
                        bgr.data());
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        const uint8_t* p = bgr.data();
        for (int x = 0; x < w; ++x, p += 3) line[x] = qRgb(p[2], p[1], p[0]);
    }
    return out;
}

namespace {

MemHandle NewDib(int width, int height, int bits, size_t tableBytes, size_t stride) {
    return dib::NewInfoDib(width, height, bits,
                           DIB_INFO_HEADER_SIZE + tableBytes + uint64_t(stride) * uint64_t(height));
}

bool IsIndexed(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Indexed8:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return image.colorCount() <= 256;
    default:
        return false;
    }
}

}  // namespace

MemHandle QImageToDib8(const QImage& indexed) {
    if (indexed.isNull() || !IsIndexed(indexed)) return nullptr;
    QImage src = indexed.format() == QImage::Format_Indexed8
                     ? indexed
                     : indexed.convertToFormat(QImage::Format_Indexed8);
    if (src.isNull()) return nullptr;
    int w = src.width(), h = src.height();
    size_t stride = dib::LayerRowBytes(w);
    MemHandle out = NewDib(w, h, 8, 1024, stride);
    MemLockGuard lock(out);
    if (!lock) return nullptr;
    auto* table = reinterpret_cast<PaletteEntry*>(lock.get() + DIB_INFO_HEADER_SIZE);
    const QList<QRgb> colors = src.colorTable();
    for (int i = 0; i < colors.size() && i < 256; ++i) {
        table[i].red = uint8_t(qRed(colors[i]));
        table[i].green = uint8_t(qGreen(colors[i]));
        table[i].blue = uint8_t(qBlue(colors[i]));
        table[i].alpha = 0;
    }
    uint8_t* bits = lock.get() + 1064;
    for (int y = 0; y < h; ++y)
        std::memcpy(bits + size_t(h - 1 - y) * stride, src.constScanLine(y), size_t(w));
    return out;
}

MemHandle QImageToDib24(const QImage& image) {
    if (image.isNull()) return nullptr;
    QImage src = image.format() == QImage::Format_RGB32 ? image
                                                        : image.convertToFormat(QImage::Format_RGB32);
    if (src.isNull()) return nullptr;
    int w = src.width(), h = src.height();
    size_t stride = dib::PaddedRowBytes(w, 24);
    MemHandle out = NewDib(w, h, 24, 0, stride);
    MemLockGuard lock(out);
    if (!lock) return nullptr;
    uint8_t* bits = lock.get() + DIB_INFO_HEADER_SIZE;
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        uint8_t* p = bits + size_t(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x, p += 3) {
            p[0] = uint8_t(qBlue(line[x]));
            p[1] = uint8_t(qGreen(line[x]));
            p[2] = uint8_t(qRed(line[x]));
        }
    }
    return out;
}

MemHandle QImageToDib(const QImage& image) {
    if (image.isNull()) return nullptr;
    return IsIndexed(image) ? QImageToDib8(image) : QImageToDib24(image);
}
