// The guide lines over the canvas, drawn into the view's back buffer after
// everything else and never into the image: the straight guide as a solid
// line from start to end (with an inverted circle around each end while its
// handles are edited), the radial guide as a fan of solid rays from its
// centre.
#pragma once

#include "view/canvas_raster.h"
#include "view/guide_settings.h"

namespace guide {

// Image point `p` at the zoom, moved to the client point `origin` of the
// image's top-left corner (kept within the range DrawLine takes).
view::ScreenPoint ToDevice(view::ScreenPoint p, int zoom, view::ScreenPoint origin);

// The radius of the handle circles in device pixels.
inline int HandleRadius(int zoom) { return zoom + 2; }

void DrawGuideLines(const view::PixelBuffer& buffer, const GuideSettings& settings, bool editing, int zoom,
                    view::ScreenPoint origin, const DibRect& clip);

}  // namespace guide
