#include "tools/line_ends.h"

#include <algorithm>
#include <cmath>

namespace tools {

namespace {

// One axis of a solid line's ends: the far end is left out, and a thick
// line is pulled in by its half width at both ends. A line that turns
// round on the first rule goes through the second as well.
void AdjustAxis(int& s, int& e, int width) {
    const int lead = (width + 1) / 2;
    const int trail = (std::max(width - 3, 0) + 1) / 2;
    if (s < e) {
        e -= 1;
        if (width > 1) {
            s += lead;
            e -= trail;
        }
    }
    if (s > e) {
        s -= 1;
        if (width > 1) {
            e += lead;
            s -= trail;
        }
    }
}

}  // namespace

LineEnds AdjustSolidLineEnds(LineEnds l, int width) {
    if (l.sy == l.ey) AdjustAxis(l.sx, l.ex, width);
    if (l.sx == l.ex) AdjustAxis(l.sy, l.ey, width);
    return l;
}

DashedLine PlanDashedLine(LineEnds l, int width, int dash) {
    const bool thick = width > 1;
    if (thick) {
        if (l.sy == l.ey) l.sx -= 1;
        if (l.sx == l.ex) l.sy -= 1;
    }
    DashedLine plan;
    const double dx = l.ex - l.sx, dy = l.ey - l.sy;
    plan.length = std::sqrt(dx * dx + dy * dy);
    plan.angle = std::atan2(dy, dx);

    const int half = (dash + 1) / 2;
    const int back = dash % 2 + (dash - 2) / 2;  // used only for dash > 2
    if (l.sy == l.ey && l.sx != l.ex) {
        if (l.sx < l.ex) {
            if (thick) l.sx += half;
            l.ex -= half;
        } else {
            l.sx -= 1;
            if (thick) {
                l.sx -= 1;
                l.ex -= 1;
                if (dash > 2) l.sx -= back;
                l.sy -= width / 2;
                l.ey -= width / 2;
            }
        }
    } else if (l.sx == l.ex && l.sy != l.ey) {
        if (l.sy < l.ey) {
            l.ey -= 1;
            if (thick) {
                l.sy += 1;
                l.ey += 1;
                l.sx -= 1;
                l.ex -= 1;
                if (dash > 2) l.sy += back;
            }
        } else {
            l.sy -= 1;
            if (thick) {
                l.sy -= 1;
                l.ey -= 1;
                if (dash > 2) l.sy -= back;
            }
        }
    }

    if (thick) {
        if (l.sx != l.ex && l.sy != l.ey) {
            if (l.sy < l.ey) {
                if (l.ex < l.sx) {
                    l.sx -= width / 2;
                } else {
                    l.sx += 1;
                    l.sy += width / 2;
                }
            } else {
                if (l.ex > l.sx) {
                    l.sx += width / 2;
                    l.sy -= width / 2;
                } else {
                    l.sx -= width / 2;
                    l.sy -= width;
                }
            }
        }
        if (l.sx == l.ex) {
            if (l.sy < l.ey) {
                l.ey -= 1;
            } else {
                l.sx += 1, l.sy += 1, l.ex += 1, l.ey += 1;
            }
        }
        if (l.sy == l.ey && l.sx > l.ex) l.sx += 1, l.sy += 1, l.ex += 1, l.ey += 1;
    }
    plan.ends = l;
    return plan;
}

}  // namespace tools
