// The arithmetic of the guide lines, without widgets: the direction the
// guide palette shows, the end point its length and angle edits give, the
// limits of the stored values and the rays of the radial guide.
//
// Angles are degrees counter-clockwise on the screen from the positive x
// axis (up is 90); image y grows downwards.
#pragma once

#include <vector>

#include "view/canvas_raster.h"
#include "view/guide_settings.h"

namespace guide {

using view::ScreenPoint;

// The longest straight guide: the end stays within int however the
// length is typed, and so does the end times the zoom.
constexpr int kMaxLength = 32767;
// The longest ray factor: rays are min(zoom, 8) x 2048 device pixels long.
constexpr int kRayUnit = 2048;
constexpr int kMaxRayZoom = 8;

// A typed length into 0..kMaxLength.
int ClampLength(int length);
// A typed radial angle: negative becomes 0, above 120 becomes 180.
int RadialAngle(int angle);

// The direction from start to end in whole degrees 1..360: rounded up while
// the end lies level with or above the start (exactly right is 360), rounded
// down while it lies below.
int ShownDirection(ScreenPoint start, ScreenPoint end);
// The rounded distance between the points.
int RoundedDistance(ScreenPoint start, ScreenPoint end);

// The end for a new length (clamped; the direction from start to end is
// kept; start == end points right).
ScreenPoint EndForLength(ScreenPoint start, ScreenPoint end, int length);
// The end `length` away from start in direction `angle` (negative: 0).
ScreenPoint EndForAngle(ScreenPoint start, int length, int angle);

// The number of rays of the radial guide with step `angle` (0 or less, or
// above 360, count as 360).
int RayCount(int angle);
// The far end of ray i of n (device pixels from the centre): the first
// along +x, each next 360 / n degrees further counter-clockwise.
ScreenPoint RayOffset(int i, int n, int zoom);

// The state the guide palette's key gives: colour (four values), mode,
// length, angle, each brought into its range (mode outside 0..1 is 0,
// length into 0..kMaxLength, colours into 0..255, a radial angle by
// RadialAngle). The points are kept from `base`.
GuideSettings FromStoredValues(const GuideSettings& base, const std::vector<int>& values);

// The pen colour 0xffRRGGBB of the guide's first three colour values.
uint32_t PenColor(const GuideSettings& settings);

}  // namespace guide
