// The arithmetic of the canvas view without widgets: zoom factors and their
// commands, the centring offsets of a maximised window, the painted area
// widened to whole image cells, the scroll position of a zoom at a point and
// the wheel step.
//
// Screen rectangles are DibRects with right and bottom exclusive.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/dib_layout.h"

namespace view {

// Zoom commands 34002..34007 choose 1, 2, 4, 6, 8 and 16 screen pixels per
// image pixel.
inline constexpr uint32_t kZoomFirstId = 34002;
inline constexpr uint32_t kZoomLastId = 34007;
inline constexpr std::array<int, 6> kZoomLevels{1, 2, 4, 6, 8, 16};
// A zoomed image side must stay below this many screen pixels.
inline constexpr int kMaxZoomedSide = 32768;

// The factor of a zoom command; 0 for any other id.
int ZoomOfCommand(uint32_t id);
// The command of a factor; 0 for a factor that is not a zoom level.
uint32_t ZoomCommandOf(int zoom);
// The zoom cycle: 1, 2, 4, 6, 8, then 1 again; 16 (and anything else) to 1.
int NextCycleZoom(int zoom);
// The command one level up (down); 0 at 16 (at 1) or for a factor that is
// not a zoom level.
uint32_t ZoomInCommand(int zoom);
uint32_t ZoomOutCommand(int zoom);
// True when width and height times the factor both stay below 32768.
bool ZoomFitsImage(int zoom, int width, int height);

struct Offsets {
    int x = 0;
    int y = 0;
    bool operator==(const Offsets&) const = default;
};
// Offsets that centre the zoomed image in a maximised window: half of what
// the window has left over less 4 (integer division); both 0 when the window
// is not maximised or either would not be positive.
Offsets CentringOffsets(bool maximised, int windowWidth, int windowHeight, int imageWidth,
                        int imageHeight, int zoom);

// The part of the zoomed image a paint covers: the clip box (client pixels
// with the scroll position added) taken relative to the image origin (less
// the centring offsets), its left and top rounded down and its right and
// bottom up to whole image cells, then clamped to the zoomed image. When the
// image is centred and the clip box leaves the image's area, the whole image
// is painted. An empty result paints nothing.
DibRect WidenClipToCells(const DibRect& clip, int zoom, Offsets centre, int imageWidth,
                         int imageHeight);
inline bool IsEmptyRect(const DibRect& r) { return r.right <= r.left || r.bottom <= r.top; }

// The scroll position that brings image coordinate `point` of a side of
// `imageSize` pixels into view at `zoom` with the window `windowSize` pixels
// long: (imageSize x zoom - windowSize) x point / imageSize with a scroll bar,
// else 0; never negative.
int ZoomScrollTarget(int imageSize, int zoom, int windowSize, int point, bool hasScrollBar);

// Pixels a wheel turn scrolls (positive: down): a turn away from the user
// (positive delta) counts a quarter of its delta (toward zero), one toward
// the user all of it; `lines` lines of `lineStep` pixels per notch of 120.
int WheelScrollPixels(int delta, int lineStep, int lines);

}  // namespace view
