// The hand tool's scrolling: the image follows the pointer in whole image
// pixels and stops at its edges.
#pragma once

#include "tools/draw_rects.h"

namespace tools {

// A hand drag: the scroll position at the button-down divided by the zoom,
// and the grab point relative to the window in image pixels.
struct HandGrab {
    ImagePoint start;
    ImagePoint grab;
};

// The grab of a button-down at image point `p` in a view scrolled to
// (scrollX, scrollY) device pixels.
HandGrab BeginHandGrab(int scrollX, int scrollY, int zoom, ImagePoint p);

// The scroll position (device pixels) that puts the grabbed image pixel
// under image point `p` of a view now scrolled to (scrollX, scrollY): the
// image moves in whole image pixels, and each coordinate stays within
// 0 .. total size - client size.
ImagePoint HandScrollTarget(const HandGrab& grab, int scrollX, int scrollY, int zoom, ImagePoint p,
                            int totalWidth, int totalHeight, int clientWidth, int clientHeight);

}  // namespace tools
