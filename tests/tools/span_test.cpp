// Horizontal runs: clipping to the image, the no-layer blend, guide editing,
// and lines of stamps.
#include <gtest/gtest.h>

#include <string>

#include "canvas.h"
#include "tools/blend.h"
#include "tools/draw_ops.h"
#include "tools/line_walk.h"

namespace {

using namespace tools;
using toolstest::Canvas;
using toolstest::LayerSetup;

// The row as a string of '#' for written and '.' for untouched pixels.
std::string RowOf(Canvas& c, int y) {
    std::string s;
    for (int x = 0; x < c.width(); ++x) s += c.LayerAt(0, x, y) ? '#' : '.';
    return s;
}

TEST(SpanTest, RunsAreClippedToTheImage) {
    struct Case {
        int x, y, count;
        const char* row1;  // row 1 afterwards ("" when no row changes)
    };
    const Case cases[] = {
        {2, 1, 3, "..###..."},   {-3, 1, 5, "##......"},  {6, 1, 5, "......##"}, {-2, 1, 20, "########"},
        {-5, 1, 5, ""},          {8, 1, 2, ""},           {0, -1, 3, ""},        {0, 4, 3, ""},
        {2, 1, 0, ""},           {2, 1, -4, ""},          {7, 1, 1, ".......#"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.x << "," << k.y << " x" << k.count);
        Canvas c(8, 4, {LayerSetup{}});
        FillSpan(c.target, k.x, k.y, k.count);
        for (int y = 0; y < 4; ++y) {
            std::string want = (y == 1 && *k.row1) ? k.row1 : "........";
            EXPECT_EQ(RowOf(c, y), want) << "row " << y;
            for (int x = 0; x < 8; ++x) EXPECT_EQ(c.At(x, y), c.LayerAt(0, x, y));
        }
        for (const auto& row : c.Rows()) EXPECT_EQ(row.size(), 8u);
    }
}

TEST(SpanTest, GuideEditingDrawsNothing) {
    Canvas c(8, 4, {LayerSetup{}});
    c.target.guideEditing = true;
    FillSpan(c.target, 0, 0, 8);
    StampPen(c.target, PenStamp{StampKind::Runs, 602}, 3, 2, false);
    StampPen(c.target, PenStamp{}, 3, 2, false);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(RowOf(c, y), "........");
}

TEST(SpanTest, WithoutLayersRunsBlendAndPixelsDither) {
    Canvas c(16, 2);
    PaletteEntry* pal = c.palette();
    for (int i = 0; i < 256; ++i) pal[i] = {0, 0, 0, 0};
    pal[1] = {200, 200, 200, 0};  // drawing colour
    pal[2] = {100, 100, 100, 0};  // the half blend of black and it
    c.target.SetTone(8, true, 1, 0);
    FillSpan(c.target, 0, 0, 16);
    for (int x = 0; x < 16; ++x) EXPECT_EQ(c.At(x, 0), 2) << x;
    // The single pixel goes through the mask instead of the blend.
    for (int x = 0; x < 4; ++x) WritePixel(c.target, x, 1);
    EXPECT_EQ(c.At(0, 1), 0);
    EXPECT_EQ(c.At(1, 1), 1);
    EXPECT_EQ(c.At(2, 1), 0);
    EXPECT_EQ(c.At(3, 1), 1);
    // Full tone writes the colour itself.
    c.target.SetTone(0, true, 1, 0);
    FillSpan(c.target, 0, 0, 16);
    for (int x = 0; x < 16; ++x) EXPECT_EQ(c.At(x, 0), 1);
}

TEST(SpanTest, LinesVisitBothEndsAlongTheMajorAxis) {
    struct Case {
        int x0, y0, x1, y1;
        std::vector<std::pair<int, int>> points;
    };
    const Case cases[] = {
        {0, 0, 0, 0, {{0, 0}}},
        {0, 0, 3, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
        {0, 0, 2, 1, {{0, 0}, {1, 0}, {2, 1}}},
        {0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        {4, 2, 0, 0, {{4, 2}, {3, 2}, {2, 1}, {1, 1}, {0, 0}}},
        {1, 0, 0, 3, {{1, 0}, {1, 1}, {0, 2}, {0, 3}}},
        {0, 0, -2, -2, {{0, 0}, {-1, -1}, {-2, -2}}},
    };
    for (const Case& k : cases) {
        std::vector<std::pair<int, int>> got;
        WalkLine(k.x0, k.y0, k.x1, k.y1, [&](int x, int y) { got.emplace_back(x, y); });
        EXPECT_EQ(got, k.points) << k.x0 << "," << k.y0 << " to " << k.x1 << "," << k.y1;
    }
}

TEST(SpanTest, SpacingSkipsPointsAfterEachStamp) {
    for (auto [skip, row] : {std::pair{0, "##########"}, {1, "#.#.#.#.#."}, {2, "#..#..#..#"}}) {
        Canvas c(10, 1, {LayerSetup{}});
        StampPenLine(c.target, PenStamp{}, 0, 0, 9, 0, false, skip);
        EXPECT_EQ(RowOf(c, 0), row) << skip;
    }
}

}  // namespace
