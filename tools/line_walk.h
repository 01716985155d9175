// Bresenham's walk from one point to another, both ends included: one step
// along the major axis per point, the error term starting at half the major
// distance.
#pragma once

#include <algorithm>
#include <cstdlib>

namespace tools {

// Calls visit(x, y) for each of the max(|dx|, |dy|) + 1 points.
template <class Visit>
void WalkLine(int x0, int y0, int x1, int y1, Visit&& visit) {
    int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    int sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
    bool xMajor = dx >= dy;
    int major = std::max(dx, dy), minor = std::min(dx, dy);
    int err = major / 2;
    int x = x0, y = y0;
    for (int i = 0;; ++i) {
        visit(x, y);
        if (i == major) break;
        if (xMajor) x += sx; else y += sy;
        err -= minor;
        if (err < 0) {
            err += major;
            if (xMajor) y += sy; else x += sx;
        }
    }
}

}  // namespace tools
