// The pen tool's repaint rectangles and its release test.
#include <gtest/gtest.h>

#include "tools/pen_tool.h"

namespace {

using namespace tools;

TEST(PenToolTest, SegmentRectangleReachesTheCustomSize) {
    const CustomPenTable pens = {{{7, 1}, {13, 0}, {15, 1}}};
    const struct {
        int pen, radius;
    } cases[] = {{600, 0}, {601, 0}, {605, 0}, {606, 7}, {607, 13}, {608, 15}, {0, 0}};
    for (auto c : cases) {
        EXPECT_EQ(PenDirtyRadius(c.pen, pens), c.radius) << c.pen;
        DibRect r = PenSegmentRect({10, 4}, {3, 8}, c.pen, pens);
        EXPECT_EQ(r.left, 3 - c.radius);
        EXPECT_EQ(r.top, 4 - c.radius);
        EXPECT_EQ(r.right, 10 + c.radius);
        EXPECT_EQ(r.bottom, 8 + c.radius);
    }
}

TEST(PenToolTest, ReleaseOutsideTheVisiblePart) {
    // Scrolled to (40, 80) at zoom 4 with a 100 x 60 client: image x 10..34,
    // y 20..34 are visible.
    const struct {
        ImagePoint p;
        bool outside;
    } cases[] = {{{10, 20}, false}, {{34, 34}, false}, {{9, 25}, true},
                 {{35, 25}, true},  {{20, 19}, true},  {{20, 35}, true}};
    for (auto c : cases) EXPECT_EQ(OutsideVisibleImage(c.p, 40, 80, 100, 60, 4), c.outside) << c.p.x << "," << c.p.y;
}

}  // namespace
