#include "imaging/edge_smooth.h"

#include <algorithm>
#include <cstring>

namespace dib {

namespace {

int Distance(const uint8_t* a, const uint8_t* b) {
    int d0 = int(a[0]) - b[0], d1 = int(a[1]) - b[1], d2 = int(a[2]) - b[2];
    return d0 * d0 + d1 * d1 + d2 * d2;
}

}  // namespace

void SmoothStrongEdges(const uint8_t* bgr, int width, int height, const DibRect& window,
                       int threshold, uint8_t* out) {
    int left = std::max(window.left, 0), top = std::max(window.top, 0);
    int right = std::min(window.right, width), bottom = std::min(window.bottom, height);
    if (right <= left || bottom <= top) return;
    size_t stride = size_t(width) * 3;
    size_t outStride = size_t(window.right - window.left) * 3;
    for (int y = top; y < bottom; ++y) {
        int y0 = std::max(y - 1, 0), y1 = std::min(y + 1, height - 1);
        uint8_t* o = out + size_t(y - window.top) * outStride + size_t(left - window.left) * 3;
        for (int x = left; x < right; ++x, o += 3) {
            int x0 = std::max(x - 1, 0), x1 = std::min(x + 1, width - 1);
            const uint8_t* p = bgr + size_t(y) * stride + size_t(x) * 3;
            bool edge = false;
            for (int ny = y0; ny <= y1 && !edge; ++ny)
                for (int nx = x0; nx <= x1 && !edge; ++nx)
                    edge = Distance(p, bgr + size_t(ny) * stride + size_t(nx) * 3) > threshold;
            if (!edge) {
                std::memcpy(o, p, 3);
                continue;
            }
            int sum[3] = {0, 0, 0}, n = 0;
            for (int ny = y0; ny <= y1; ++ny)
                for (int nx = x0; nx <= x1; ++nx, ++n) {
                    const uint8_t* q = bgr + size_t(ny) * stride + size_t(nx) * 3;
                    sum[0] += q[0];
                    sum[1] += q[1];
                    sum[2] += q[2];
                }
            for (int c = 0; c < 3; ++c) o[c] = uint8_t(sum[c] / n);
        }
    }
}

}  // namespace dib
