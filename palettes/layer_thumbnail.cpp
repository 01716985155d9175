#include "palettes/layer_thumbnail.h"

#include <vector>

#include "document/pelmark_doc.h"
#include "imaging/dib_geometry.h"

namespace layer_palette {

namespace {

// The layer's pixel rows (bottom row first) when its block holds the image.
const uint8_t* LayerBits(const MemLockGuard& lock, const CPelmarkDoc& doc) {
    if (!lock || doc.m_nWidth <= 0 || doc.m_nHeight <= 0) return nullptr;
    if (!dib::LayerFits(lock.size(), doc.m_nWidth, doc.m_nHeight)) return nullptr;
    return lock.get() + LAYER_HEADER_SIZE;
}

MemHandle LayerHandle(const CPelmarkDoc& doc, int layer) {
    return layer >= 0 && layer < int(doc.m_hLayers.size()) ? doc.m_hLayers[size_t(layer)] : nullptr;
}

// Source coordinate of each thumbnail column or row.
std::vector<int> SampleSteps(int thumb, int source) {
    std::vector<int> steps(static_cast<size_t>(thumb));
    for (int i = 0; i < thumb; ++i) steps[size_t(i)] = int(int64_t(i) * source / thumb);
    return steps;
}

}  // namespace

int GetThumbPixel(int x, int y, const CPelmarkDoc& doc, int layer) {
    if (x < 0 || y < 0 || x >= doc.m_nWidth || y >= doc.m_nHeight) return -1;
    MemLockGuard lock(LayerHandle(doc, layer));
    const uint8_t* bits = LayerBits(lock, doc);
    if (!bits) return 0;
    return bits[size_t(doc.m_nHeight - 1 - y) * dib::LayerRowBytes(doc.m_nWidth) + size_t(x)];
}

std::array<QRgb, 256> CompositeColors(const CPelmarkDoc& doc) {
    std::array<QRgb, 256> colors;
    colors.fill(qRgb(0, 0, 0));
    dib::LockedDib image(doc.m_hImage);
    if (!image) return colors;
    PaletteEntry table[256];
    dib::ReadColorTable(image.data(), image.geo(), table);
    for (int i = 0; i < 256; ++i) colors[size_t(i)] = qRgb(table[i].red, table[i].green, table[i].blue);
    return colors;
}

QImage LayerThumbnail(const CPelmarkDoc& doc, int layer, QSize size,
                      const std::array<QRgb, 256>& colors) {
    if (size.isEmpty()) return {};
    MemLockGuard lock(LayerHandle(doc, layer));
    const uint8_t* bits = LayerBits(lock, doc);
    if (!bits) return {};
    QImage thumb(size, QImage::Format_Indexed8);
    thumb.setColorTable(QList<QRgb>(colors.begin(), colors.end()));
    const size_t stride = dib::LayerRowBytes(doc.m_nWidth);
    const std::vector<int> xs = SampleSteps(size.width(), doc.m_nWidth);
    const std::vector<int> ys = SampleSteps(size.height(), doc.m_nHeight);
    for (int j = 0; j < size.height(); ++j) {
        const uint8_t* row = bits + size_t(doc.m_nHeight - 1 - ys[size_t(j)]) * stride;
        uchar* out = thumb.scanLine(j);
        for (int i = 0; i < size.width(); ++i) out[i] = row[xs[size_t(i)]];
    }
    return thumb;
}

QImage UnderlayThumbnail(MemHandle underlay, QSize size) {
    if (size.isEmpty()) return {};
    dib::LockedDib dib(underlay);
    if (!dib) return {};
    const dib::DibGeometry& g = dib.geo();
    if (g.bitCount != 8 && g.bitCount != 24 && g.bitCount != 32) return {};
    const size_t rowBytes = g.PaddedRow();
    if (!g.HoldsRows(rowBytes)) return {};
    PaletteEntry table[256];
    if (g.bitCount == 8) dib::ReadColorTable(dib.data(), g, table);
    const int bytes = g.BytesPerPixel();
    QImage thumb(size, QImage::Format_RGB32);
    const std::vector<int> xs = SampleSteps(size.width(), g.width);
    const std::vector<int> ys = SampleSteps(size.height(), g.height);
    for (int j = 0; j < size.height(); ++j) {
        const uint8_t* row = dib.Row(g.height - 1 - ys[size_t(j)], rowBytes);
        auto* out = reinterpret_cast<QRgb*>(thumb.scanLine(j));
        for (int i = 0; i < size.width(); ++i) {
            const uint8_t* p = row + size_t(xs[size_t(i)]) * size_t(bytes);
            if (bytes == 1) {
                const PaletteEntry& e = table[*p];
                out[i] = qRgb(e.red, e.green, e.blue);
            } else {
                out[i] = qRgb(p[2], p[1], p[0]);
            }
        }
    }
    return thumb;
}

}  // namespace layer_palette
