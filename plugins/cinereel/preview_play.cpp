#include "plugins/cinereel/preview_play.h"

#include <algorithm>
#include <cstring>

namespace cinereel {

PlayOrder Recount(const SheetFrame* frames) {
    PlayOrder order;
    for (int i = 0; i < kSheetFrames; ++i) {
        const SheetFrame& f = frames[i];
        if (FrameEmpty(f)) continue;
        order.frames.push_back(i);
        order.width = std::max(order.width, f.right - f.left);
        order.height = std::max(order.height, f.bottom - f.top);
    }
    return order;
}

Offset PlaceFrame(int basePos, int W, int H, int w, int h) {
    const int dx = W - w, dy = H - h;
    switch (basePos) {
    case 1: return {dx / 2, 0};
    case 2: return {dx, 0};
    case 3: return {0, dy / 2};
    case 4: return {dx / 2, dy / 2};
    case 5: return {dx, dy / 2};
    case 6: return {0, dy};
    case 7: return {dx / 2, dy};
    case 8: return {dx, dy};
    default: return {0, 0};
    }
}

void CopyFrame(const uint8_t* bits, int stride, int imageW, int imageH, const SheetFrame& f, uint8_t* dst,
               int dstStride, int dstW, int dstH, int ox, int oy) {
    const int w = f.right - f.left, h = f.bottom - f.top;
    // Frame columns c and rows r with 0 <= left + c < imageW, 0 <= ox + c < dstW.
    const int c0 = std::max({0, -f.left, -ox});
    const int c1 = std::min({w, imageW - f.left, dstW - ox});
    const int r0 = std::max({0, -f.top, -oy});
    const int r1 = std::min({h, imageH - f.top, dstH - oy});
    if (c0 >= c1) return;
    for (int r = r0; r < r1; ++r) {
        const uint8_t* src = bits + size_t(imageH - 1 - f.top - r) * size_t(stride) + size_t(f.left + c0);
        std::memcpy(dst + size_t(oy + r) * size_t(dstStride) + size_t(ox + c0), src, size_t(c1 - c0));
    }
}

}  // namespace cinereel
