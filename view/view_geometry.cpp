#include "view/view_geometry.h"

#include <algorithm>
#include <cmath>

namespace view {

int ZoomOfCommand(uint32_t id) {
    if (id < kZoomFirstId || id > kZoomLastId) return 0;
    return kZoomLevels[id - kZoomFirstId];
}

uint32_t ZoomCommandOf(int zoom) {
    for (size_t i = 0; i < kZoomLevels.size(); ++i)
        if (kZoomLevels[i] == zoom) return kZoomFirstId + uint32_t(i);
    return 0;
}

int NextCycleZoom(int zoom) {
    switch (zoom) {
    case 1: return 2;
    case 2: return 4;
    case 4: return 6;
    case 6: return 8;
    default: return 1;
    }
}

uint32_t ZoomInCommand(int zoom) {
    uint32_t id = ZoomCommandOf(zoom);
    return id && id < kZoomLastId ? id + 1 : 0;
}

uint32_t ZoomOutCommand(int zoom) {
    uint32_t id = ZoomCommandOf(zoom);
    return id && id > kZoomFirstId ? id - 1 : 0;
}

bool ZoomFitsImage(int zoom, int width, int height) {
    return int64_t(zoom) * width < kMaxZoomedSide && int64_t(zoom) * height < kMaxZoomedSide;
}

Offsets CentringOffsets(bool maximised, int windowWidth, int windowHeight, int imageWidth,
                        int imageHeight, int zoom) {
    if (!maximised) return {};
    Offsets o{(windowWidth - imageWidth * zoom - 4) / 2, (windowHeight - imageHeight * zoom - 4) / 2};
    if (o.x <= 0 || o.y <= 0) return {};
    return o;
}

namespace {
int FloorTo(int v, int step) {
    int q = v / step;
    if (v % step != 0 && v < 0) --q;
    return q * step;
}
int CeilTo(int v, int step) { return -FloorTo(-v, step); }
}  // namespace

DibRect WidenClipToCells(const DibRect& clip, int zoom, Offsets centre, int imageWidth,
                         int imageHeight) {
    if (zoom < 1 || imageWidth < 1 || imageHeight < 1) return {};
    const int fullW = imageWidth * zoom;
    const int fullH = imageHeight * zoom;
    DibRect r{clip.left - centre.x, clip.top - centre.y, clip.right - centre.x,
              clip.bottom - centre.y};
    bool centred = centre.x != 0 || centre.y != 0;
    if (centred && (r.left < 0 || r.top < 0 || r.right > fullW || r.bottom > fullH))
        return {0, 0, fullW, fullH};
    r.left = std::clamp(FloorTo(r.left, zoom), 0, fullW);
    r.top = std::clamp(FloorTo(r.top, zoom), 0, fullH);
    r.right = std::clamp(CeilTo(r.right, zoom), 0, fullW);
    r.bottom = std::clamp(CeilTo(r.bottom, zoom), 0, fullH);
    if (IsEmptyRect(r)) return {};
    return r;
}

int ZoomScrollTarget(int imageSize, int zoom, int windowSize, int point, bool hasScrollBar) {
    if (!hasScrollBar || imageSize <= 0) return 0;
    int64_t pos = (int64_t(imageSize) * zoom - windowSize) * point / imageSize;
    return pos < 0 ? 0 : int(pos);
}

int WheelScrollPixels(int delta, int lineStep, int lines) {
    if (delta > 0) delta /= 4;
    // Rounded to the nearest pixel, halves away from zero.
    double pixels = -double(delta) * lineStep * lines / 120.0;
    return int(std::lround(pixels));
}

}  // namespace view
