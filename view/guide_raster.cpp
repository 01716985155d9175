#include "view/guide_raster.h"

#include <algorithm>
#include <cstdint>

#include "view/guide_geometry.h"

namespace guide {

namespace {
constexpr int64_t kDeviceLimit = int64_t(1) << 28;

int Device(int value, int zoom, int origin) {
    return int(std::clamp(int64_t(value) * zoom + origin, -kDeviceLimit, kDeviceLimit));
}
}  // namespace

view::ScreenPoint ToDevice(view::ScreenPoint p, int zoom, view::ScreenPoint origin) {
    return {Device(p.x, zoom, origin.x), Device(p.y, zoom, origin.y)};
}

void DrawGuideLines(const view::PixelBuffer& buffer, const GuideSettings& s, bool editing, int zoom,
                    view::ScreenPoint origin, const DibRect& clip) {
    const uint32_t pen = PenColor(s);
    const view::ScreenPoint start = ToDevice({s.startX, s.startY}, zoom, origin);
    if (s.mode == 1) {
        const int n = RayCount(s.angle);
        for (int i = 0; i < n; ++i) {
            const view::ScreenPoint d = RayOffset(i, n, zoom);
            view::DrawLine(buffer, start, {start.x + d.x, start.y + d.y}, pen, clip);
        }
        return;
    }
    const view::ScreenPoint end = ToDevice({s.endX, s.endY}, zoom, origin);
    view::DrawLine(buffer, start, end, pen, clip);
    if (!editing) return;
    const int r = HandleRadius(zoom);
    auto circle = [&](view::ScreenPoint c) {
        view::InvertEllipse(buffer, {c.x - r, c.y - r, c.x + r + 1, c.y + r + 1}, clip);
    };
    circle(start);
    // Two circles in one place would invert each other away.
    if (!(end == start)) circle(end);
}

}  // namespace guide
