#include "tools/pen_tool.h"

#include <algorithm>

namespace tools {

int PenDirtyRadius(int penId, const CustomPenTable& pens) {
    if (penId < kPenCustomFirst || penId > kPenCustomLast) return 0;
    return pens[size_t(penId - kPenCustomFirst)].size;
}

DibRect PenSegmentRect(ImagePoint a, ImagePoint b, int penId, const CustomPenTable& pens) {
    const int r = PenDirtyRadius(penId, pens);
    return {std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r};
}

bool OutsideVisibleImage(ImagePoint p, int scrollX, int scrollY, int clientWidth, int clientHeight, int zoom) {
    if (zoom <= 0) zoom = 1;
    return p.x < scrollX / zoom || p.x >= (scrollX + clientWidth) / zoom || p.y < scrollY / zoom ||
           p.y >= (scrollY + clientHeight) / zoom;
}

}  // namespace tools
