#include "imaging/dib_scale.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "imaging/dib_geometry.h"

namespace {

// One destination pixel's source pixels along one axis: source pixel i spans
// [i * newSize, (i + 1) * newSize) and destination pixel c spans
// [c * oldSize, (c + 1) * oldSize) on a common integer axis, so every overlap
// is an exact integer and each destination pixel's weights sum to oldSize.
struct Spans {
    std::vector<uint32_t> first;   // first source pixel of each destination pixel
    std::vector<uint32_t> offset;  // into weight, one more than destination pixels
    std::vector<uint32_t> weight;

    Spans(int oldSize, int newSize) {
        first.resize(size_t(newSize));
        offset.resize(size_t(newSize) + 1);
        for (int c = 0; c < newSize; ++c) {
            uint64_t a = uint64_t(c) * uint64_t(oldSize), b = a + uint64_t(oldSize);
            uint64_t i0 = a / uint64_t(newSize), i1 = (b - 1) / uint64_t(newSize);
            first[size_t(c)] = uint32_t(i0);
            offset[size_t(c)] = uint32_t(weight.size());
            for (uint64_t i = i0; i <= i1; ++i) {
                uint64_t lo = std::max(a, i * uint64_t(newSize));
                uint64_t hi = std::min(b, (i + 1) * uint64_t(newSize));
                weight.push_back(uint32_t(hi - lo));
            }
        }
        offset[size_t(newSize)] = uint32_t(weight.size());
    }
    uint32_t count(int c) const { return offset[size_t(c) + 1] - offset[size_t(c)]; }
};

// Sums of weight x channel: 32 bits are enough while old width x old height
// x 255 fits (every image up to 4096 x 4096), 64 bits beyond.
template <class Sum>
class Scaler {
public:
    Scaler(const dib::LockedDib& src, size_t srcStride, int newW, int newH)
        : src_(src), stride_(srcStride), oldW_(src.geo().width), oldH_(src.geo().height),
          newW_(newW), newH_(newH), xs_(oldW_, newW), ys_(oldH_, newH),
          bgr_(size_t(oldW_) * 3) {
        dib::ReadColorTable(src.data(), src.geo(), table_);
        for (auto& slot : cache_) {
            slot.row = -1;
            slot.sums.resize(size_t(newW) * 3);
        }
    }

    void Run(uint8_t* dstBits, size_t dstStride) {
        std::vector<Sum> acc(size_t(newW_) * 3);
        const Sum total = Sum(uint64_t(oldW_) * uint64_t(oldH_));
        for (int r = 0; r < newH_; ++r) {
            std::fill(acc.begin(), acc.end(), 0);
            uint32_t n = ys_.count(r);
            const uint32_t* wy = ys_.weight.data() + ys_.offset[size_t(r)];
            for (uint32_t k = 0; k < n; ++k) {
                const std::vector<Sum>& h = Horizontal(int(ys_.first[size_t(r)] + k));
                Sum w = Sum(wy[k]);
                for (size_t i = 0; i < acc.size(); ++i) acc[i] += w * h[i];
            }
            // Destination row r from the top is memory row newH - 1 - r.
            uint8_t* out = dstBits + size_t(newH_ - 1 - r) * dstStride;
            for (size_t i = 0; i < acc.size(); ++i) out[i] = uint8_t(acc[i] / total);
        }
    }

private:
    struct Slot {
        int row;
        std::vector<Sum> sums;
    };

    // Horizontally weighted sums of source row y (from the top), cached: the
    // rows of neighbouring destination rows overlap by at most one row when
    // shrinking and are the same one or two rows when growing.
    const std::vector<Sum>& Horizontal(int y) {
        Slot& slot = cache_[size_t(y) % cache_.size()];
        if (slot.row == y) return slot.sums;
        slot.row = y;
        const uint8_t* row = src_.Row(oldH_ - 1 - y, stride_);
        dib::ReadRowBgr(row, src_.geo().bitCount, 0, oldW_, table_, bgr_.data());
        Sum* s = slot.sums.data();
        for (int c = 0; c < newW_; ++c, s += 3) {
            uint32_t n = xs_.count(c);
            const uint32_t* wx = xs_.weight.data() + xs_.offset[size_t(c)];
            const uint8_t* p = bgr_.data() + size_t(xs_.first[size_t(c)]) * 3;
            Sum b = 0, g = 0, rr = 0;
            for (uint32_t k = 0; k < n; ++k, p += 3) {
                b += Sum(wx[k]) * p[0];
                g += Sum(wx[k]) * p[1];
                rr += Sum(wx[k]) * p[2];
            }
            s[0] = b;
            s[1] = g;
            s[2] = rr;
        }
        return slot.sums;
    }

    const dib::LockedDib& src_;
    size_t stride_;
    int oldW_, oldH_, newW_, newH_;
    Spans xs_, ys_;
    PaletteEntry table_[256];
    std::vector<uint8_t> bgr_;
    std::array<Slot, 3> cache_;
};

}  // namespace

MemHandle ScaleDibToRgb24(MemHandle image, int newWidth, int newHeight) {
    if (newWidth <= 0 || newHeight <= 0) return nullptr;
    MemHandle result;
    {
        dib::LockedDib src(image);
        if (!src) return nullptr;
        const dib::DibGeometry& g = src.geo();
        if (g.bitCount != 8 && g.bitCount != 24) return nullptr;
        size_t srcStride = g.DisplayRow();
        if (!g.HoldsRows(srcStride)) return nullptr;
        size_t dstStride = dib::PaddedRowBytes(newWidth, 24);
        uint64_t size = DIB_INFO_HEADER_SIZE + uint64_t(dstStride) * uint64_t(newHeight);
        if (size > SIZE_MAX) return nullptr;
        result = MemAlloc(size_t(size));
        MemLockGuard out(result);
        if (!out) return nullptr;
        auto* info = out.as<DibInfoHeader>();
        info->size = DIB_INFO_HEADER_SIZE;
        info->width = newWidth;
        info->height = newHeight;
        info->planes = 1;
        info->bitCount = 24;
        uint8_t* bits = out.get() + DIB_INFO_HEADER_SIZE;
        if (uint64_t(g.width) * uint64_t(g.height) <= UINT32_MAX / 255)
            Scaler<uint32_t>(src, srcStride, newWidth, newHeight).Run(bits, dstStride);
        else
            Scaler<uint64_t>(src, srcStride, newWidth, newHeight).Run(bits, dstStride);
    }
    MemFree(image);
    return result;
}
