#include "imaging/layer_transform.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/dib_geometry.h"

namespace {

// The locked rows of a layer given by its rectangle.
class LayerRows {
public:
    LayerRows(MemHandle layer, int left, int top, int right, int bottom) : lock_(layer) {
        int64_t w = int64_t(right) - left, h = int64_t(bottom) - top;
        if (!lock_ || !dib::LayerFits(lock_.size(), w, h)) return;
        width_ = int(w);
        height_ = int(h);
        stride_ = dib::LayerRowBytes(w);
        ok_ = true;
    }
    explicit operator bool() const { return ok_; }
    int width() const { return width_; }
    int height() const { return height_; }
    size_t stride() const { return stride_; }
    uint8_t* row(int r) const { return lock_.get() + LAYER_HEADER_SIZE + size_t(r) * stride_; }

private:
    MemLockGuard lock_;
    int width_ = 0, height_ = 0;
    size_t stride_ = 0;
    bool ok_ = false;
};

void SwapRows(uint8_t* a, uint8_t* b, uint8_t* tmp, size_t n) {
    std::memcpy(tmp, a, n);
    std::memcpy(a, b, n);
    std::memcpy(b, tmp, n);
}

}  // namespace

bool ShiftLayerLeftWrap(MemHandle layer, int left, int top, int right, int bottom) {
    LayerRows l(layer, left, top, right, bottom);
    if (!l) return false;
    for (int r = 0; r < l.height(); ++r) {
        uint8_t* p = l.row(r);
        std::rotate(p, p + 1, p + l.width());
    }
    return true;
}

bool ShiftLayerRightWrap(MemHandle layer, int left, int top, int right, int bottom) {
    LayerRows l(layer, left, top, right, bottom);
    if (!l) return false;
    for (int r = 0; r < l.height(); ++r) {
        uint8_t* p = l.row(r);
        std::rotate(p, p + l.width() - 1, p + l.width());
    }
    return true;
}

// Rows are stored bottom-up: moving the content up in the image moves each
// memory row one place higher, the top (last) row coming round to row 0.
bool ShiftLayerVerticalWrapA(MemHandle layer, int left, int top, int right, int bottom) {
    LayerRows l(layer, left, top, right, bottom);
    if (!l) return false;
    uint8_t* first = l.row(0);
    std::rotate(first, l.row(l.height() - 1), l.row(l.height()));
    return true;
}

bool ShiftLayerVerticalWrapB(MemHandle layer, int left, int top, int right, int bottom) {
    LayerRows l(layer, left, top, right, bottom);
    if (!l) return false;
    std::rotate(l.row(0), l.row(1), l.row(l.height()));
    return true;
}

bool MirrorLayerRect(MemHandle layer, int left, int top, int right, int bottom) {
    LayerRows l(layer, left, top, right, bottom);
    if (!l) return false;
    for (int r = 0; r < l.height(); ++r) std::reverse(l.row(r), l.row(r) + l.width());
    return true;
}

bool FlipLayerRect(MemHandle layer, int left, int top, int right, int bottom) {
    LayerRows l(layer, left, top, right, bottom);
    if (!l) return false;
    std::vector<uint8_t> tmp(l.stride());
    for (int r = 0; r < l.height() / 2; ++r)
        SwapRows(l.row(r), l.row(l.height() - 1 - r), tmp.data(), l.stride());
    return true;
}

bool FlipDibVertical(MemHandle image) {
    dib::LockedDib d(image);
    if (!d) return false;
    const dib::DibGeometry& g = d.geo();
    size_t stride = g.LibraryRow();
    if (!g.HoldsRows(stride)) return false;
    std::vector<uint8_t> tmp(stride);
    for (int r = 0; r < g.height / 2; ++r)
        SwapRows(d.Row(r, stride), d.Row(g.height - 1 - r, stride), tmp.data(), stride);
    return true;
}
