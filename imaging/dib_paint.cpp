#include "imaging/dib_paint.h"

#include <QPainter>
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "imaging/dib_geometry.h"
#include "imaging/dib_qimage.h"
#include "imaging/imaging_messages.h"

namespace {

int FillPalette(MemHandle image, LogicalPalette* palette, bool alpha) {
    if (!palette) return 0;
    dib::LockedDib d(image);
    if (!d || d.geo().entries <= 0) return 0;
    const dib::DibGeometry& g = d.geo();
    PaletteEntry table[256];
    dib::ReadColorTable(d.data(), g, table);
    LogicalPalette p;
    p.count = g.entries < 256 ? g.entries : 256;
    for (int i = 0; i < p.count; ++i) {
        const PaletteEntry& e = table[i];
        p.colors[size_t(i)] = (alpha && !g.core) ? qRgb(e.alpha, e.alpha, e.alpha)
                                                 : qRgb(e.red, e.green, e.blue);
    }
    *palette = p;
    return 1;
}

}  // namespace

int CreatePaletteFromDib(MemHandle image, LogicalPalette* palette) {
    return FillPalette(image, palette, false);
}

int CreateAlphaPaletteFromDib(MemHandle image, LogicalPalette* palette) {
    return FillPalette(image, palette, true);
}

int PaintDibToDc(QPainter* painter, const QRect& destination, MemHandle image,
                 const DibRect& source, const LogicalPalette* palette) {
    if (!painter || destination.isEmpty()) return 0;
    int64_t srcW = int64_t(source.right) - source.left, srcH = int64_t(source.bottom) - source.top;
    if (srcW <= 0 || srcH <= 0) return 0;
    QImage picture = DibToQImage(image, &source, palette);
    if (picture.isNull()) return 0;
    // The painted part keeps its place inside the destination.
    int clippedLeft = source.left < 0 ? 0 : source.left;
    int clippedTop = source.top < 0 ? 0 : source.top;
    double sx = double(destination.width()) / double(srcW);
    double sy = double(destination.height()) / double(srcH);
    QRectF target(destination.x() + (clippedLeft - source.left) * sx,
                  destination.y() + (clippedTop - source.top) * sy, picture.width() * sx,
                  picture.height() * sy);
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->drawImage(target, picture, QRectF(0, 0, picture.width(), picture.height()));
    painter->restore();
    return picture.height();
}

int PaintLayersOverUnderlay(QPainter* painter, const QRect& destination, MemHandle image,
                            const DibRect& source, const LogicalPalette* palette,
                            MemHandle underlay, const MemHandle* layers, int layerCount) {
    if (!painter || !image) return 0;
    MemHandle work = nullptr;
    {
        dib::LockedDib comp(image);
        if (!comp || comp.geo().bitCount != 8) return 0;
        const dib::DibGeometry& g = comp.geo();
        size_t compStride = g.PaddedRow();
        if (!g.HoldsRows(compStride)) return 0;

        // The 24-bit work image: the composite's header with 24 bits.
        size_t workStride = dib::PaddedRowBytes(g.width, 24);
        uint64_t workSize = DIB_INFO_HEADER_SIZE + uint64_t(workStride) * uint64_t(g.height);
        work = workSize <= SIZE_MAX ? MemAlloc(size_t(workSize)) : nullptr;
        MemLockGuard out(work);
        if (!out) {
            dib::ShowImagingMessage("轮廓合成内存不足");
            return 0;
        }
        auto* info = out.as<DibInfoHeader>();
        if (!g.core) std::memcpy(info, comp.data(), DIB_INFO_HEADER_SIZE);
        info->size = DIB_INFO_HEADER_SIZE;
        info->width = g.width;
        info->height = g.height;
        info->planes = 1;
        info->bitCount = 24;
        info->compression = 0;
        info->clrUsed = 0;
        info->clrImportant = 0;
        info->sizeImage = uint32_t(workStride * size_t(g.height));

        PaletteEntry colors[256];
        dib::ReadColorTable(comp.data(), g, colors);

        dib::LockedDib under(underlay);
        size_t underStride = under ? under.geo().DisplayRow() : 0;
        bool haveUnder = under && under.geo().HoldsRows(underStride);
        PaletteEntry underColors[256];
        if (haveUnder) dib::ReadColorTable(under.data(), under.geo(), underColors);

        // Layers that can cover pixels: visible ones of the composite's size.
        std::vector<std::unique_ptr<MemLockGuard>> locks;
        std::vector<const uint8_t*> index0Clear;  // draw mode 1: covers where index != 0
        bool coversAll = false;
        for (int i = 0; layers && i < layerCount; ++i) {
            auto lock = std::make_unique<MemLockGuard>(layers[i]);
            if (!*lock || !dib::LayerFits(lock->size(), g.width, g.height)) continue;
            const auto* head = lock->as<LayerHeader>();
            if (!head->visible) continue;
            if (head->drawMode == LAYER_DRAW_NORMAL) {
                coversAll = true;
                break;
            }
            index0Clear.push_back(lock->get() + LAYER_HEADER_SIZE);
            locks.push_back(std::move(lock));
        }
        size_t layerStride = dib::LayerRowBytes(g.width);

        dib::ClippedRect r = dib::ClipToImage(source, g.width, g.height);
        std::vector<uint8_t> underRow(haveUnder ? size_t(under.geo().width) * 3 : 0);
        for (int y = r.top; y < r.bottom; ++y) {
            int memRow = g.height - 1 - y;
            const uint8_t* c = comp.Row(memRow, compStride);
            uint8_t* o = out.get() + DIB_INFO_HEADER_SIZE + size_t(memRow) * workStride;
            int underEnd = r.left;  // pixels [r.left, underEnd) may show the underlay
            if (haveUnder && !coversAll && y < under.geo().height) {
                underEnd = std::min(r.right, under.geo().width);
                if (underEnd > r.left)
                    dib::ReadRowBgr(under.Row(under.geo().height - 1 - y, underStride),
                                    under.geo().bitCount, r.left, underEnd - r.left, underColors,
                                    underRow.data());
            }
            for (int x = r.left; x < r.right; ++x) {
                uint8_t* p = o + size_t(x) * 3;
                bool covered = x >= underEnd;
                for (size_t k = 0; !covered && k < index0Clear.size(); ++k)
                    covered = index0Clear[k][size_t(memRow) * layerStride + size_t(x)] != 0;
                if (covered) {
                    const PaletteEntry& e = colors[c[x]];
                    p[0] = e.blue;
                    p[1] = e.green;
                    p[2] = e.red;
                } else {
                    std::memcpy(p, underRow.data() + size_t(x - r.left) * 3, 3);
                }
            }
        }
    }
    int rows = PaintDibToDc(painter, destination, work, source, palette);
    MemFree(work);
    return rows;
}
