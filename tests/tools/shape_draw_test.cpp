// The shape rasterisers against the pen they stand for: a thick outline is
// the square pen stamped at every pixel of the one-pixel outline, cut to the
// image; the ellipse rows cover their box, symmetric and nested.
#include <gtest/gtest.h>

#include <string>

#include "canvas.h"
#include "tools/draw_ops.h"
#include "tools/shape_draw.h"

namespace {

using namespace tools;
using toolstest::Canvas;
using toolstest::LayerSetup;

// Where the small canvas's pixel (0, 0) lies on the large one.
constexpr int kShift = 120;

ShapeBox Moved(const ShapeBox& b, int d) { return {b.left + d, b.top + d, b.right + d, b.bottom + d}; }

// The large canvas's part the small one shows, as rows of '#' and '.'.
std::string Region(Canvas& c, int x0, int y0, int w, int h) {
    std::string s;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) s += c.LayerAt(0, x, y) ? '#' : '.';
        s += '\n';
    }
    return s;
}

TEST(ShapeDrawTest, AThickEllipseOutlineIsThePenStampedAlongTheThinOne) {
    const ShapeBox boxes[] = {{-20, -15, 30, 22}, {5, 4, 9, 7}, {3, 2, 45, 6}, {10, -40, 14, 60}, {-90, -80, 3, 2}};
    for (const ShapeBox& box : boxes) {
        for (int pen : {2, 3, 7, 20}) {
            SCOPED_TRACE(testing::Message() << box.left << "," << box.top << " " << box.Width() << " x "
                                            << box.Height() << " pen " << pen);
            // The whole outline on a large canvas, stamped pixel by pixel.
            Canvas thin(400, 400, {LayerSetup{}});
            DrawEllipse(thin.target, Moved(box, kShift), 1);
            Canvas stamped(400, 400, {LayerSetup{}});
            for (int y = 0; y < 400; ++y)
                for (int x = 0; x < 400; ++x)
                    if (thin.LayerAt(0, x, y)) StampPenShape(stamped.target, x, y, pen, false);
            // The thick outline on a small canvas: only its part in the image.
            Canvas small(40, 30, {LayerSetup{}});
            DrawEllipse(small.target, box, pen);
            EXPECT_EQ(Region(small, 0, 0, 40, 30), Region(stamped, kShift, kShift, 40, 30));
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x) ASSERT_EQ(small.At(x, y), small.LayerAt(0, x, y));
        }
    }
}

TEST(ShapeDrawTest, ARectangleOutlineIsThePenStampedAlongItsFourEdges) {
    const ShapeBox boxes[] = {{-6, -4, 20, 17}, {3, 2, 4, 3}, {5, 6, 9, 8}, {2, 3, 35, 28}};
    for (const ShapeBox& drag : boxes) {
        for (int pen : {1, 2, 3, 6}) {
            SCOPED_TRACE(testing::Message() << drag.left << "," << drag.top << " pen " << pen);
            const ShapeBox stroke = StrokeBox(drag, pen, kOutlineCentre);
            const ShapeBox e = Moved(PenPathBox(stroke, pen), kShift);
            Canvas stamped(400, 400, {LayerSetup{}});
            const PenStamp stamp = pen == 1 ? PenStamp{} : PenStamp{StampKind::Box, 606, pen};
            const int l = int(e.left), t = int(e.top), r = int(e.right) - 1, b = int(e.bottom) - 1;
            StampPenLine(stamped.target, stamp, l, t, r, t, false);
            StampPenLine(stamped.target, stamp, r, t, r, b, false);
            StampPenLine(stamped.target, stamp, r, b, l, b, false);
            StampPenLine(stamped.target, stamp, l, b, l, t, false);
            Canvas small(40, 30, {LayerSetup{}});
            DrawRectOutline(small.target, stroke, pen);
            EXPECT_EQ(Region(small, 0, 0, 40, 30), Region(stamped, kShift, kShift, 40, 30));
        }
    }
}

TEST(ShapeDrawTest, EllipseRowsCoverTheirBoxSymmetricallyAndNested) {
    for (int64_t w : {1, 2, 3, 7, 8, 40, 101, 400})
        for (int64_t h : {1, 2, 3, 6, 9, 30, 200}) {
            SCOPED_TRACE(testing::Message() << w << " x " << h);
            int64_t previousWidth = -1;
            bool left = false, right = false;
            for (int64_t j = 0; j < h; ++j) {
                int64_t x0 = -1, x1 = -1, m0 = -1, m1 = -1;
                ASSERT_TRUE(ShapeEllipseRow(w, h, j, &x0, &x1));
                ASSERT_TRUE(ShapeEllipseRow(w, h, h - 1 - j, &m0, &m1));
                EXPECT_EQ(x0, w - 1 - x1);        // symmetric left and right
                EXPECT_EQ(std::pair(x0, x1), std::pair(m0, m1));  // top and bottom
                EXPECT_LE(x0, x1);
                left |= x0 == 0;
                right |= x1 == w - 1;
                // Widening down to the middle row.
                if (2 * j < h) EXPECT_GE(x1 - x0, previousWidth);
                previousWidth = x1 - x0;
            }
            EXPECT_TRUE(left && right);
        }
    int64_t x0, x1;
    EXPECT_FALSE(ShapeEllipseRow(5, 5, 5, &x0, &x1));
    EXPECT_FALSE(ShapeEllipseRow(5, 5, -1, &x0, &x1));
    // A box of 2^31 - 1 pixels a side is still exact.
    ASSERT_TRUE(ShapeEllipseRow(INT32_MAX, INT32_MAX, INT32_MAX / 2, &x0, &x1));
    EXPECT_EQ(x0, 0);
    EXPECT_EQ(x1, INT32_MAX - 1);
}

}  // namespace
