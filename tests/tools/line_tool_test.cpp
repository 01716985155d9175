// The line tool's solid and dashed lines: where their ends go and which
// pixels they cover, over lengths, widths and directions.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "canvas.h"
#include "tools/dashed_line.h"
#include "tools/draw_ops.h"
#include "tools/line_ends.h"

namespace {

using namespace tools;
using toolstest::Canvas;

// The composite as rows of '#' (written) and '.' (0).
std::vector<std::string> Picture(Canvas& c) {
    std::vector<std::string> rows;
    for (int y = 0; y < c.height(); ++y) {
        std::string row;
        for (int x = 0; x < c.width(); ++x) row += c.At(x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

std::string Joined(const std::vector<std::string>& rows) {
    std::string s;
    for (const auto& r : rows) s += r + "\n";
    return s;
}

struct SolidCase {
    const char* name;
    LineEnds drag;
    int width;
    LineEnds expected;
};

TEST(LineToolTest, SolidEndsLeaveOutTheEndPixelAndPullThickLinesIn) {
    const SolidCase cases[] = {
        {"right, 1", {10, 5, 20, 5}, 1, {10, 5, 19, 5}},
        {"left, 1", {20, 5, 10, 5}, 1, {19, 5, 10, 5}},
        {"down, 1", {3, 2, 3, 9}, 1, {3, 2, 3, 8}},
        {"up, 1", {3, 9, 3, 2}, 1, {3, 8, 3, 2}},
        {"diagonal stays", {1, 1, 7, 4}, 5, {1, 1, 7, 4}},
        {"point stays", {4, 4, 4, 4}, 3, {4, 4, 4, 4}},
        {"right, 2", {10, 5, 20, 5}, 2, {11, 5, 19, 5}},
        {"right, 5", {10, 5, 20, 5}, 5, {13, 5, 18, 5}},
        {"right, 8", {10, 5, 30, 5}, 8, {14, 5, 26, 5}},
        {"left, 5", {20, 5, 10, 5}, 5, {18, 5, 13, 5}},
        {"down, 4", {3, 2, 3, 12}, 4, {3, 4, 3, 10}},
        {"up, 4", {3, 12, 3, 2}, 4, {3, 10, 3, 4}},
        // Too short for its width: the first rule turns it round, the
        // second turns it back.
        {"short right, 5", {10, 5, 12, 5}, 5, {11, 5, 13, 5}},
        // Two pixels long, one wide: a single point, then nothing more.
        {"two pixels", {10, 5, 11, 5}, 1, {10, 5, 10, 5}},
    };
    for (const SolidCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AdjustSolidLineEnds(c.drag, c.width), c.expected);
    }
}

TEST(LineToolTest, OnePixelSolidLinesCoverTheDraggedPixelsButTheLast) {
    struct Case {
        const char* name;
        LineEnds drag;
        std::vector<std::string> picture;
    } cases[] = {
        {"right", {1, 1, 6, 1}, {"........", ".#####..", "........"}},
        {"left", {6, 1, 1, 1}, {"........", ".#####..", "........"}},
        {"diagonal keeps both ends", {1, 0, 6, 2}, {".##.....", "...##...", ".....##."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(8, 3);
        LineEnds l = AdjustSolidLineEnds(c.drag, 1);
        StampPenLine(canvas.target, PenStamp{}, l.sx, l.sy, l.ex, l.ey, false);
        EXPECT_EQ(Joined(Picture(canvas)), Joined(c.picture));
    }
}

struct PlanCase {
    const char* name;
    LineEnds drag;
    int width, dash;
    LineEnds expected;
    double angle;
};

TEST(LineToolTest, DashedEndsByDirectionWidthAndDashLength) {
    const double pi = 3.14159265358979323846;
    const PlanCase cases[] = {
        {"right 1x3", {2, 4, 20, 4}, 1, 3, {2, 4, 18, 4}, 0},
        {"left 1x3", {20, 4, 2, 4}, 1, 3, {19, 4, 2, 4}, pi},
        {"down 1x3", {4, 2, 4, 20}, 1, 3, {4, 2, 4, 19}, pi / 2},
        {"up 1x3", {4, 20, 4, 2}, 1, 3, {4, 19, 4, 2}, -pi / 2},
        {"right 3x4", {2, 4, 20, 4}, 3, 4, {3, 4, 18, 4}, 0},
        {"left 3x4", {20, 4, 2, 4}, 3, 4, {17, 4, 2, 4}, pi},
        {"left 4x2", {20, 4, 2, 4}, 4, 2, {18, 3, 2, 3}, pi},
        {"left 3x5", {20, 4, 2, 4}, 3, 5, {16, 4, 2, 4}, pi},
        {"down 3x4", {4, 2, 4, 20}, 3, 4, {3, 3, 3, 19}, pi / 2},
        {"down 3x5", {4, 2, 4, 20}, 3, 5, {3, 4, 3, 19}, pi / 2},
        {"up 3x4", {4, 20, 4, 2}, 3, 4, {5, 17, 5, 2}, -pi / 2},
        {"down-right 3x2", {2, 2, 12, 8}, 3, 2, {3, 3, 12, 8}, 0},
        {"down-left 5x2", {12, 2, 2, 8}, 5, 2, {10, 2, 2, 8}, 0},
        {"up-right 5x2", {2, 8, 12, 2}, 5, 2, {4, 6, 12, 2}, 0},
        {"up-left 5x2", {12, 8, 2, 2}, 5, 2, {10, 3, 2, 2}, 0},
        {"diagonal 1x2 stays", {12, 8, 2, 2}, 1, 2, {12, 8, 2, 2}, 0},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.name);
        DashedLine plan = PlanDashedLine(c.drag, c.width, c.dash);
        EXPECT_EQ(plan.ends, c.expected);
        if (c.drag.sx == c.drag.ex || c.drag.sy == c.drag.ey) {
            EXPECT_NEAR(plan.angle, c.angle, 1e-12);
        }
    }
}

TEST(LineToolTest, DashedLineLengthAndAngleAreTakenAfterTheThickStartMoves) {
    DashedLine plan = PlanDashedLine({2, 2, 5, 6}, 1, 3);
    EXPECT_DOUBLE_EQ(plan.length, 5.0);
    EXPECT_NEAR(plan.angle, std::atan2(4.0, 3.0), 1e-12);
    plan = PlanDashedLine({10, 4, 20, 4}, 3, 3);  // the start moves left first
    EXPECT_DOUBLE_EQ(plan.length, 11.0);
}

struct DashCase {
    const char* name;
    LineEnds drag;
    int width, dash, gap;
    std::vector<std::string> picture;
};

TEST(LineToolTest, DashSequences) {
    const DashCase cases[] = {
        {"right 1x3 gap 2", {0, 1, 14, 1}, 1, 3, 2,
         {
          "................",
          "##..###..###....",
          "................",
          "................",
          "................",
          "................",
          "................",
          "................",
          "................",
          "................"}},
        {"left 1x3 gap 2", {14, 1, 0, 1}, 1, 3, 2,
         {
          "................",
          "..###..###..###.",
          "................",
          "................",
          "................",
          "................",
          "................",
          "................",
          "................",
          "................"}},
        {"down 1x2 gap 1", {1, 0, 1, 9}, 1, 2, 1,
         {
          ".#..............",
          ".#..............",
          "................",
          ".#..............",
          ".#..............",
          "................",
          ".#..............",
          ".#..............",
          "................",
          "................"}},
        {"right 3x4 gap 3", {1, 3, 15, 3}, 3, 4, 3,
         {
          "................",
          "................",
          "####...####.....",
          "####...####.....",
          "####...####.....",
          "................",
          "................",
          "................",
          "................",
          "................"}},
        {"left 3x4 gap 3", {15, 3, 1, 3}, 3, 4, 3,
         {
          "................",
          "................",
          "....####...####.",
          "....####...####.",
          "....####...####.",
          "................",
          "................",
          "................",
          "................",
          "................"}},
        {"down-right 1x1 gap 1", {0, 0, 9, 5}, 1, 1, 1,
         {
          "#...............",
          "..#.............",
          "....#...........",
          "......#.........",
          "........#.......",
          "................",
          "................",
          "................",
          "................",
          "................"}},
        {"up-left 3x3 gap 3", {14, 8, 2, 2}, 3, 3, 3,
         {
          "................",
          "................",
          "......###.......",
          "......###.......",
          "......###...###.",
          "............###.",
          "............###.",
          "................",
          "................",
          "................"}},
    };
    for (const DashCase& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(16, 10);
        DashedLine plan = PlanDashedLine(c.drag, c.width, c.dash);
        DrawDashedLine(canvas.target, plan, DashStamp(c.width, c.dash, plan.angle), c.dash, c.gap);
        EXPECT_EQ(Joined(Picture(canvas)), Joined(c.picture));
    }
}

TEST(LineToolTest, DashedLineWritesTheCurrentLayerWithoutToneAndReportsItsRectangle) {
    Canvas c(16, 8, {toolstest::LayerSetup{1, LAYER_DRAW_NORMAL, 2}, toolstest::LayerSetup{1, LAYER_DRAW_INDEX0_CLEAR, 0}},
             1);
    c.target.SetTone(8, false, 7, 0);  // 50% tone: a dash still writes every pixel
    DashedLine plan = PlanDashedLine({1, 3, 15, 3}, 3, 4);
    DibRect r = DrawDashedLine(c.target, plan, DashStamp(3, 4, plan.angle), 4, 3);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.right, 11);
    EXPECT_EQ(r.bottom, 5);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool dash = y >= 2 && y <= 4 && (x <= 3 || (x >= 7 && x <= 10));
            ASSERT_EQ(c.LayerAt(1, x, y), dash ? 7 : 0) << x << "," << y;
            ASSERT_EQ(c.LayerAt(0, x, y), 2);
            ASSERT_EQ(c.At(x, y), dash ? 7 : 2);
        }
}

TEST(LineToolTest, DashedLineDrawsNothingWhileGuidesAreEdited) {
    Canvas c(16, 4);
    c.target.guideEditing = true;
    DashedLine plan = PlanDashedLine({0, 1, 14, 1}, 1, 3);
    DibRect r = DrawDashedLine(c.target, plan, DashStamp(1, 3, plan.angle), 3, 2);
    EXPECT_EQ(r.right, r.left);
    for (uint8_t b : c.compositeBytes()) ASSERT_EQ(b, 0);
}

}  // namespace
