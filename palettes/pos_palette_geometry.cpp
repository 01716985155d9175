#include "palettes/pos_palette_geometry.h"

#include <algorithm>

namespace pospal {

namespace {

int AtLeast1(int v) { return v > 0 ? v : 1; }

int Share(int64_t thumb, int64_t part, int64_t whole) { return int(thumb * part / AtLeast1(int(whole))); }

}  // namespace

Size FitWindowSize(int width, int height) {
    width = AtLeast1(width);
    height = AtLeast1(height);
    const int m = std::max(width, height);
    width = std::max(width, m / 2);
    height = std::max(height, m / 2);
    return {int(int64_t(width) * 200 / m), int(int64_t(height) * 234 / m)};
}

DibRect ViewRectangle(int thumbWidth, int thumbHeight, const ViewPlace& place, int x, int y,
                      bool fromDocument) {
    const int canvasW = AtLeast1(place.canvasWidth);
    const int canvasH = AtLeast1(place.canvasHeight);
    const int w = Share(thumbWidth, place.windowWidth, canvasW);
    const int h = Share(thumbHeight, place.windowHeight, canvasH);
    if (fromDocument) {
        x += Share(thumbWidth, place.scrollX, int64_t(canvasW) * AtLeast1(place.scaleX));
        y += Share(thumbHeight, place.scrollY, int64_t(canvasH) * AtLeast1(place.scaleY));
    }
    DibRect r{x, y, x + w, y + h};
    if (r.right > thumbWidth) {
        const int shift = std::min(r.right - thumbWidth, std::max(0, int(r.left)));
        r.left -= shift;
        r.right -= shift;
    }
    if (r.bottom > thumbHeight) {
        const int shift = std::min(r.bottom - thumbHeight, std::max(0, int(r.top)));
        r.top -= shift;
        r.bottom -= shift;
    }
    if (r.left < 0) {
        r.right -= r.left;
        r.left = 0;
    }
    if (r.top < 0) {
        r.bottom -= r.top;
        r.top = 0;
    }
    r.left = std::clamp(int(r.left), 0, std::max(0, thumbWidth));
    r.right = std::clamp(int(r.right), 0, std::max(0, thumbWidth));
    r.top = std::clamp(int(r.top), 0, std::max(0, thumbHeight));
    r.bottom = std::clamp(int(r.bottom), 0, std::max(0, thumbHeight));
    return r;
}

int CanvasOffset(int canvasSize, int thumbOffset, int thumbSize) {
    return Share(canvasSize, thumbOffset, thumbSize);
}

}  // namespace pospal
