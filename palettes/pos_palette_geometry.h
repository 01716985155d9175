// The arithmetic of the position palette, free of widgets: the window size
// that fits an image, and where the red rectangle that marks the visible
// part of the canvas lies in the thumbnail. Rectangles keep right and bottom
// exclusive.
#pragma once

#include <cstdint>

#include "imaging/dib_layout.h"

namespace pospal {

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// The palette window for an image: m = the larger side; each side is raised
// to at least m / 2; the window is width x 200 / m by height x 234 / m
// pixels. An empty image counts as 1 x 1.
Size FitWindowSize(int width, int height);

// Where the view stands on the canvas.
struct ViewPlace {
    int canvasWidth = 1;   // image size x zoom, plus a shown ruler
    int canvasHeight = 1;
    int windowWidth = 0;   // the view window
    int windowHeight = 0;
    int scrollX = 0;       // scroll position x scroll scale
    int scrollY = 0;
    int scaleX = 1;        // scroll scale of each axis
    int scaleY = 1;
};

// The view rectangle in a thumbnail of `thumbWidth` x `thumbHeight`: as wide
// as the thumbnail's share of the view window, at (x, y), to which the
// thumbnail's share of the scroll position is added when `fromDocument`;
// then kept inside the thumbnail (moved back left or up, not past 0) and
// clipped to it. Zero sizes and scales count as 1.
DibRect ViewRectangle(int thumbWidth, int thumbHeight, const ViewPlace& place, int x, int y,
                      bool fromDocument);

// The canvas point the view scrolls to for a rectangle at (left, top):
// canvas size x left / thumbnail size.
int CanvasOffset(int canvasSize, int thumbOffset, int thumbSize);

}  // namespace pospal
