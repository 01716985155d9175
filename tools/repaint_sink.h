// Where the drawing core asks for pixels to be shown again. The canvas view
// implements it: it turns image rectangles into client rectangles with its
// zoom, scroll position and centring.
#pragma once

#include "imaging/dib_layout.h"

namespace tools {

class RepaintSink {
public:
    virtual ~RepaintSink() = default;
    // Repaint the image pixels of `rect` (right and bottom exclusive) without
    // erasing; with `updateNow` the window is painted before returning.
    virtual void RepaintImageRect(const DibRect& rect, bool updateNow) = 0;
};

}  // namespace tools
