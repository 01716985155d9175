#include "plugins/gradate/gradient.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "imaging/dib_geometry.h"

namespace {

// The pieces of t that stay the same over the picture.
struct TFactors {
    double startX, startY, dx, dy, length2;
};

TFactors FactorsOf(const GradParam& p, double zeroLength) {
    TFactors f{double(p.startX), double(p.startY), double(p.endX) - p.startX, double(p.endY) - p.startY, 0};
    f.length2 = f.dx * f.dx + f.dy * f.dy;
    if (f.length2 == 0) f.length2 = zeroLength;
    return f;
}

inline double Clamp01(double t) { return t < 0 ? 0 : (t > 1 ? 1 : t); }

inline double TAt(const TFactors& f, int shape, double x, double y) {
    const double rx = x - f.startX, ry = y - f.startY;
    if (shape == kGradCircular) return Clamp01(std::sqrt((ry * ry + rx * rx) / f.length2));
    return Clamp01((ry * f.dy + rx * f.dx) / f.length2);
}

inline bool Counts(const uint8_t* selection, const uint8_t* protect, int x, int topRow, int width) {
    if (selection && !MaskBit(selection, x, topRow, width)) return false;
    return !(protect && MaskBit(protect, x, topRow, width));
}

}  // namespace

double GradientT(const GradParam& p, int shape, int x, int y, double zeroLength) {
    return TAt(FactorsOf(p, zeroLength), shape, x, y);
}

bool InitGradParam(GradParam* param, MemHandle image, int startIndex, int endIndex, int startX, int startY,
                   int endX, int endY) {
    if (!param) return false;
    dib::LockedDib dib(image);
    if (!dib || (dib.geo().bitCount != 4 && dib.geo().bitCount != 8)) return false;
    PaletteEntry table[256];
    dib::ReadColorTable(dib.data(), dib.geo(), table);
    param->startIndex = uint8_t(startIndex);
    param->endIndex = uint8_t(endIndex);
    param->startColor = table[param->startIndex];
    param->endColor = table[param->endIndex];
    param->startX = startX;
    param->startY = startY;
    param->endX = endX;
    param->endY = endY;
    return true;
}

RgbBuffer* GradientRgbBuffer(const RgbBuffer* work, const GradParam& param, int shape,
                             const uint8_t* protectMask, const uint8_t* selectionMask,
                             const PluginToolRecord* record) {
    if (!work) return nullptr;
    RgbBuffer* out = NewRgbBuffer(work->width, work->height);
    if (!out) return nullptr;
    std::memset(out->data, 0, size_t(out->stride) * size_t(out->height));
    const TFactors f = FactorsOf(param, 0.001);
    const double start[3] = {double(param.startColor.blue), double(param.startColor.green),
                             double(param.startColor.red)};
    const double span[3] = {double(param.endColor.blue) - start[0], double(param.endColor.green) - start[1],
                            double(param.endColor.red) - start[2]};
    const ToolRowSpan rows = ToolRowSpanOf(record, work->width, work->height);
    for (int y = rows.firstRow; y < rows.endRow; ++y) {
        const int topRow = work->height - 1 - y;
        uint8_t* o = out->data + size_t(y) * size_t(out->stride);
        for (int x = rows.left; x < rows.right; ++x) {
            if (!Counts(selectionMask, protectMask, x, topRow, work->width)) continue;
            const double t = TAt(f, shape, x, y);
            for (int c = 0; c < 3; ++c) o[3 * x + c] = uint8_t(int(t * span[c] + start[c]));
        }
    }
    return out;
}

bool GradientPaletteIndex(MemHandle image, MemHandle layer, MemHandle layerCopy, const GradParam& param,
                          int shape, const uint8_t* protectMask, const uint8_t* selectionMask,
                          const PluginToolRecord* record) {
    int width, height;
    {
        dib::LockedDib dib(image);
        if (!dib || (dib.geo().bitCount != 4 && dib.geo().bitCount != 8)) return false;
        width = dib.geo().width;
        height = dib.geo().height;
    }
    MemLockGuard from(layer);
    MemLockGuard to(layerCopy);
    const uint8_t* in = LayerRows(from, width, height);
    uint8_t* rows = LayerRows(to, width, height);
    if (!in || !rows) return false;
    const size_t rowBytes = dib::LayerRowBytes(width);
    if (in != rows) std::memcpy(rows, in, rowBytes * size_t(height));
    const TFactors f = FactorsOf(param, 1.0);
    const ToolRowSpan span = ToolRowSpanOf(record, width, height);
    for (int y = span.firstRow; y < span.endRow; ++y) {
        const int topRow = height - 1 - y;
        const int maskRow = 4 * (3 - topRow % 4);
        uint8_t* out = rows + size_t(y) * rowBytes;
        for (int x = span.left; x < span.right; ++x) {
            if (!Counts(selectionMask, protectMask, x, topRow, width)) continue;
            const int k = int(TAt(f, shape, x, y) * 16 - 1);
            const bool end = k >= 0 && ((kGradToneMasks[k] >> (x % 4 + maskRow)) & 1);
            out[x] = end ? param.endIndex : param.startIndex;
        }
    }
    return true;
}
