#include "tools/hand_scroll.h"

#include <algorithm>

namespace tools {

namespace {

int Clamped(int value, int total, int client) { return std::max(std::min(value, total - client), 0); }

}  // namespace

HandGrab BeginHandGrab(int scrollX, int scrollY, int zoom, ImagePoint p) {
    if (zoom < 1) zoom = 1;
    HandGrab g;
    g.start = {scrollX / zoom, scrollY / zoom};
    g.grab = {p.x - g.start.x, p.y - g.start.y};
    return g;
}

ImagePoint HandScrollTarget(const HandGrab& g, int scrollX, int scrollY, int zoom, ImagePoint p,
                            int totalWidth, int totalHeight, int clientWidth, int clientHeight) {
    if (zoom < 1) zoom = 1;
    const ImagePoint c{scrollX / zoom, scrollY / zoom};
    return {Clamped((g.grab.x + c.x + g.start.x - p.x) * zoom, totalWidth, clientWidth),
            Clamped((g.grab.y + c.y + g.start.y - p.y) * zoom, totalHeight, clientHeight)};
}

}  // namespace tools
