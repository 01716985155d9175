#include "document/floating_selection_transform.h"

#include <algorithm>
#include <cmath>

namespace document {

namespace {

constexpr double kRadiansPerDegree = 0.017453292519444445;
// Sample points landing on a pixel border by rounding noise go to the pixel
// right of or below it.
constexpr double kBorderBias = 1e-7;

// Inverse mapping from a destination pixel to a source pixel.
class InverseMap {
public:
    explicit InverseMap(const FloatGeometry& g)
        : s_(OrderedRect(g.source)), d_(OrderedRect(g.destination)) {
        double a = g.angle * kRadiansPerDegree;
        cos_ = std::cos(a);
        sin_ = std::sin(a);
        sw_ = double(s_.right) - s_.left;
        sh_ = double(s_.bottom) - s_.top;
        double dw = double(d_.right) - d_.left, dh = double(d_.bottom) - d_.top;
        kx_ = sw_ > 0 ? dw / sw_ * g.scale : 0;
        ky_ = sh_ > 0 ? dh / sh_ * g.scale : 0;
        dcx_ = d_.left + dw / 2;
        dcy_ = d_.top + dh / 2;
        ikx_ = kx_ != 0 ? 1 / kx_ : 0;
        iky_ = ky_ != 0 ? 1 / ky_ : 0;
    }
    bool Usable() const { return kx_ != 0 && ky_ != 0 && std::isfinite(kx_) && std::isfinite(ky_); }
    int SourceWidth() const { return int(sw_); }
    int SourceHeight() const { return int(sh_); }

    // Image pixels the transformed source can cover (left, top, right,
    // bottom exclusive), not yet clipped.
    DibRect Reach() const {
        double hx = sw_ * std::abs(kx_) / 2, hy = sh_ * std::abs(ky_) / 2;
        double ex = std::abs(hx * cos_) + std::abs(hy * sin_);
        double ey = std::abs(hx * sin_) + std::abs(hy * cos_);
        return {int(std::floor(dcx_ - ex)) - 1, int(std::floor(dcy_ - ey)) - 1,
                int(std::ceil(dcx_ + ex)) + 1, int(std::ceil(dcy_ + ey)) + 1};
    }

    // The source pixel under destination pixel (x, y) of a row, its
    // centre's distance from the centre being RowDy(y); false outside.
    double RowDy(int y) const { return y + 0.5 - dcy_; }
    bool SourceInRow(int x, double dy, int* sx, int* sy) const {
        const double dx = x + 0.5 - dcx_;
        const double u = (dx * cos_ + dy * sin_) * ikx_ + sw_ / 2 + kBorderBias;
        const double v = (-dx * sin_ + dy * cos_) * iky_ + sh_ / 2 + kBorderBias;
        if (!(u >= 0 && v >= 0 && u < sw_ && v < sh_)) return false;
        *sx = int(u);
        *sy = int(v);
        return true;
    }

    // The pixels of row y between left and right (exclusive) whose source
    // point may lie in the source: the span where both source coordinates,
    // linear along the row, are inside, a pixel wider on each side for the
    // rounding. Every pixel of it is still tested with SourceInRow.
    void RowSpan(int y, int left, int right, int* from, int* to) const {
        double low = left, high = right;
        const double dy = y + 0.5 - dcy_;
        // u(x) = (x + 0.5 - dcx) cos / kx + (dy sin / kx + sw / 2), likewise v.
        auto limit = [&](double slope, double offset, double size) {
            if (slope == 0) {
                if (!(offset + kBorderBias >= 0 && offset + kBorderBias < size + 1)) high = low;
                return;
            }
            double a = (0 - offset) / slope, b = (size - offset) / slope;
            if (a > b) std::swap(a, b);
            low = std::max(low, std::floor(a) - 1);
            high = std::min(high, std::ceil(b) + 1);
        };
        limit(cos_ / kx_, (0.5 - dcx_) * cos_ / kx_ + dy * sin_ / kx_ + sw_ / 2, sw_);
        limit(-sin_ / ky_, -(0.5 - dcx_) * sin_ / ky_ + dy * cos_ / ky_ + sh_ / 2, sh_);
        low = std::clamp(low, double(left), double(right));
        *from = int(low);
        *to = int(std::clamp(high, low, double(right)));
    }

private:
    DibRect s_, d_;
    double cos_ = 1, sin_ = 0, sw_ = 0, sh_ = 0, kx_ = 0, ky_ = 0, dcx_ = 0, dcy_ = 0;
    double ikx_ = 0, iky_ = 0;
};

DibRect ClipReach(const DibRect& r, int width, int height) {
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width),
            std::min(r.bottom, height)};
}

}  // namespace

FloatFrame TransformedFrame(const FloatGeometry& g) {
    DibRect d = OrderedRect(g.destination);
    double a = g.angle * kRadiansPerDegree, c = std::cos(a), s = std::sin(a);
    double cx = (double(d.left) + d.right) / 2, cy = (double(d.top) + d.bottom) / 2;
    const double corners[4][2] = {
        {double(d.left), double(d.top)}, {double(d.right), double(d.top)},
        {double(d.right), double(d.bottom)}, {double(d.left), double(d.bottom)}};
    FloatFrame frame{};
    for (int i = 0; i < 4; ++i) {
        double x = (corners[i][0] - cx) * g.scale, y = (corners[i][1] - cy) * g.scale;
        frame[size_t(i)] = {int32_t(std::lround(x * c - y * s + cx)),
                            int32_t(std::lround(x * s + y * c + cy))};
    }
    return frame;
}

void TransformMaskBits(const FloatGeometry& g, const MaskRectBits& source,
                       const MaskBits& destination) {
    InverseMap map(g);
    if (!map.Usable() || !destination.Valid()) return;
    DibRect r = ClipReach(map.Reach(), destination.width, destination.height);
    for (int y = r.top; y < r.bottom; ++y) {
        int from, to;
        map.RowSpan(y, r.left, r.right, &from, &to);
        const double dy = map.RowDy(y);
        for (int x = from; x < to; ++x) {
            int sx, sy;
            if (map.SourceInRow(x, dy, &sx, &sy) && source.Get(sx, sy)) destination.Put(x, y);
        }
    }
}

void TransformPixels(const FloatGeometry& g, const LayerPixels& source, const MaskRectBits* mask,
                     const LayerPixels& destination) {
    InverseMap map(g);
    if (!map.Usable() || !source.data || !destination.data) return;
    DibRect r = ClipReach(map.Reach(), destination.width, destination.rows);
    for (int y = r.top; y < r.bottom; ++y) {
        int from, to;
        map.RowSpan(y, r.left, r.right, &from, &to);
        const double dy = map.RowDy(y);
        uint8_t* row = &destination.At(0, y);
        for (int x = from; x < to; ++x) {
            int sx, sy;
            if (!map.SourceInRow(x, dy, &sx, &sy) || !source.Inside(sx, sy)) continue;
            if (mask && !mask->Get(sx, sy)) continue;
            row[x] = source.At(sx, sy);
        }
    }
}

void ScaleLayerPixels(const DibRect& sourceRect, const DibRect& destinationRect,
                      const LayerPixels& source, const LayerPixels& destination,
                      const MaskBits& selection, int ox, int oy) {
    if (!source.data || !destination.data || !selection.Valid()) return;
    DibRect s = OrderedRect(sourceRect), d = OrderedRect(destinationRect);
    int64_t sw = int64_t(s.right) - s.left, sh = int64_t(s.bottom) - s.top;
    int64_t dw = int64_t(d.right) - d.left, dh = int64_t(d.bottom) - d.top;
    if (dw <= 0 || dh <= 0) return;
    for (int64_t v = 0; v < dh; ++v) {
        int64_t ty = d.top + v;
        if (ty < 0 || ty >= destination.rows || ty >= selection.height) continue;
        int64_t sy = s.top + v * sh / dh + oy;
        for (int64_t u = 0; u < dw; ++u) {
            int64_t tx = d.left + u;
            if (tx < 0 || tx >= destination.width || tx >= selection.width) continue;
            if (!selection.Get(int(tx), int(ty))) continue;
            int64_t sx = s.left + u * sw / dw + ox;
            if (!source.Inside(sx, sy)) continue;
            destination.At(int(tx), int(ty)) = source.At(int(sx), int(sy));
        }
    }
}

}  // namespace document
