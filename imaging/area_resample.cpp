#include "imaging/area_resample.h"

#include <algorithm>
#include <array>
#include <vector>

namespace dib {

namespace {

// The old pixels of new pixels c0 .. c1 - 1 along one axis, with their
// overlaps; each new pixel's weights sum to oldSize.
struct Spans {
    int c0 = 0;
    std::vector<uint32_t> first;   // first old pixel of each new pixel
    std::vector<uint32_t> offset;  // into weight, one more than new pixels
    std::vector<uint32_t> weight;

    Spans(int oldSize, int newSize, int from, int to) : c0(from) {
        first.resize(size_t(to - from));
        offset.resize(size_t(to - from) + 1);
        for (int c = from; c < to; ++c) {
            uint64_t a = uint64_t(c) * uint64_t(oldSize), b = a + uint64_t(oldSize);
            uint64_t i0 = a / uint64_t(newSize), i1 = (b - 1) / uint64_t(newSize);
            first[size_t(c - from)] = uint32_t(i0);
            offset[size_t(c - from)] = uint32_t(weight.size());
            for (uint64_t i = i0; i <= i1; ++i) {
                uint64_t lo = std::max(a, i * uint64_t(newSize));
                uint64_t hi = std::min(b, (i + 1) * uint64_t(newSize));
                weight.push_back(uint32_t(hi - lo));
            }
        }
        offset[size_t(to - from)] = uint32_t(weight.size());
    }
    uint32_t count(int c) const { return offset[size_t(c - c0) + 1] - offset[size_t(c - c0)]; }
    uint32_t start(int c) const { return first[size_t(c - c0)]; }
    const uint32_t* weights(int c) const { return weight.data() + offset[size_t(c - c0)]; }
};

// Sums of weight x channel: 32 bits are enough while old width x old height
// x 255 fits (every picture up to 4096 x 4096), 64 bits beyond.
template <class Sum>
class Resampler {
public:
    Resampler(int oldW, int oldH, int newW, int newH, const DibRect& win, const BgrRowSource& source)
        : source_(source), oldW_(oldW), oldH_(oldH), win_(win), xs_(oldW, newW, win.left, win.right),
          ys_(oldH, newH, win.top, win.bottom), bgr_(size_t(oldW) * 3) {
        for (auto& slot : cache_) {
            slot.row = -1;
            slot.sums.resize(size_t(win.right - win.left) * 3);
        }
    }

    void Run(const BgrRowSink& sink) {
        size_t n3 = size_t(win_.right - win_.left) * 3;
        std::vector<Sum> acc(n3);
        std::vector<uint8_t> out(n3);
        const uint64_t total = uint64_t(oldW_) * uint64_t(oldH_);
        // sum / total by the reciprocal: the estimate is off by at most one
        // (the quotient is at most 255), the two steps make it exact.
        const double reciprocal = 1.0 / double(total);
        auto divide = [total, reciprocal](Sum sum) {
            uint64_t q = uint64_t(double(sum) * reciprocal);
            if (q * total > sum) --q;
            else if ((q + 1) * total <= sum) ++q;
            return q;
        };
        for (int r = win_.top; r < win_.bottom; ++r) {
            std::fill(acc.begin(), acc.end(), 0);
            uint32_t n = ys_.count(r);
            const uint32_t* wy = ys_.weights(r);
            for (uint32_t k = 0; k < n; ++k) {
                const std::vector<Sum>& h = Horizontal(int(ys_.start(r) + k));
                Sum w = Sum(wy[k]);
                for (size_t i = 0; i < n3; ++i) acc[i] += w * h[i];
            }
            for (size_t i = 0; i < n3; ++i) out[i] = uint8_t(divide(acc[i]));
            sink(r, out.data());
        }
    }

private:
    struct Slot {
        int row;
        std::vector<Sum> sums;
    };

    // Horizontally weighted sums of old row y, cached: the rows of
    // neighbouring new rows overlap by at most one row when shrinking and
    // are the same one or two rows when growing.
    const std::vector<Sum>& Horizontal(int y) {
        Slot& slot = cache_[size_t(y) % cache_.size()];
        if (slot.row == y) return slot.sums;
        slot.row = y;
        source_(y, bgr_.data());
        Sum* s = slot.sums.data();
        for (int c = win_.left; c < win_.right; ++c, s += 3) {
            uint32_t n = xs_.count(c);
            const uint32_t* wx = xs_.weights(c);
            const uint8_t* p = bgr_.data() + size_t(xs_.start(c)) * 3;
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

    const BgrRowSource& source_;
    int oldW_, oldH_;
    DibRect win_;
    Spans xs_, ys_;
    std::vector<uint8_t> bgr_;
    std::array<Slot, 3> cache_;
};

}  // namespace

void AreaResample(int oldWidth, int oldHeight, int newWidth, int newHeight, const DibRect& window,
                  const BgrRowSource& source, const BgrRowSink& sink) {
    if (oldWidth <= 0 || oldHeight <= 0 || newWidth <= 0 || newHeight <= 0) return;
    DibRect win{std::max(window.left, 0), std::max(window.top, 0), std::min(window.right, newWidth),
                std::min(window.bottom, newHeight)};
    if (win.right <= win.left || win.bottom <= win.top) return;
    if (uint64_t(oldWidth) * uint64_t(oldHeight) <= UINT32_MAX / 255)
        Resampler<uint32_t>(oldWidth, oldHeight, newWidth, newHeight, win, source).Run(sink);
    else
        Resampler<uint64_t>(oldWidth, oldHeight, newWidth, newHeight, win, source).Run(sink);
}

}  // namespace dib
