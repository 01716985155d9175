// The selection tools' geometry: the rubber band under each constraint
// (with sizes up to the largest int), the scale handles and the edges they
// drag, snapping of the scale frame, and the rotate tool's angles.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <vector>

#include "tools/selection_geometry.h"

namespace tools {
namespace {

std::vector<int> V(const DibRect& r) { return {r.left, r.top, r.right, r.bottom}; }

BandRule Rule(int shape, int constraint, int w, int h) {
    BandRule rule;
    rule.shape = shape;
    rule.constraint = constraint;
    rule.width = w;
    rule.height = h;
    rule.imageWidth = 64;
    rule.imageHeight = 48;
    return rule;
}

TEST(SelectionBandTest, FreeBandsIncludeBothPointsInAnyDirection) {
    struct Case {
        ImagePoint s, p;
        std::vector<int> want;
    };
    for (const Case& c : {Case{{5, 5}, {5, 5}, {5, 5, 6, 6}}, Case{{9, 7}, {2, 3}, {2, 3, 10, 8}},
                          Case{{0, 47}, {63, 0}, {0, 0, 64, 48}}}) {
        ImagePoint s = c.s;
        EXPECT_EQ(V(SelectionBand(Rule(kShapeRect, kConstraintFree, 1, 1), s, c.p)), c.want);
        EXPECT_EQ(s, c.s);
    }
}

TEST(SelectionBandTest, RatioBandsScaleByWidthAndHeightOverTheLarger) {
    struct Case {
        int shape, w, h;
        ImagePoint s, p;
        std::vector<int> want;
    };
    const std::vector<Case> cases = {
        // Rectangles: the shorter side's distance, scaled by W / M and H / M.
        {kShapeRect, 1, 1, {10, 10}, {20, 14}, {10, 10, 14, 14}},
        {kShapeRect, 2, 1, {10, 10}, {20, 14}, {10, 10, 14, 12}},
        {kShapeRect, 1, 2, {10, 10}, {2, 30}, {6, 10, 10, 18}},
        {kShapeRect, 3, 3, {10, 10}, {10, 30}, {10, 10, 10, 10}},  // no width: empty
        // Ellipses: each distance scaled on its own.
        {kShapeEllipse, 2, 1, {10, 10}, {20, 14}, {10, 10, 20, 12}},
        {kShapeEllipse, 1, 4, {30, 30}, {10, 10}, {25, 10, 30, 30}},
        // Clamped to the image.
        {kShapeRect, 1, 1, {60, 40}, {0, 47}, {53, 40, 60, 47}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.shape << " " << c.w << "x" << c.h << " to " << c.p.x << "," << c.p.y);
        ImagePoint s = c.s;
        EXPECT_EQ(V(SelectionBand(Rule(c.shape, kConstraintRatio, c.w, c.h), s, c.p)), c.want);
    }
}

TEST(SelectionBandTest, FixedBandsSitAtThePointerWithTheTypedSize) {
    ImagePoint s{3, 3};
    EXPECT_EQ(V(SelectionBand(Rule(kShapeRect, kConstraintFixed, 16, 8), s, {20, 30})),
              (std::vector<int>{20, 30, 36, 38}));
    EXPECT_EQ(s, (ImagePoint{20, 30}));
    // Near the edge the band is cut at the image.
    EXPECT_EQ(V(SelectionBand(Rule(kShapeEllipse, kConstraintFixed, 16, 8), s, {60, 45})),
              (std::vector<int>{60, 45, 64, 48}));
}

TEST(SelectionBandTest, TheLargestTypedSizesDoNotOverflow) {
    for (int constraint : {kConstraintRatio, kConstraintFixed}) {
        for (int shape : {kShapeRect, kShapeEllipse}) {
            SCOPED_TRACE(testing::Message() << constraint << " " << shape);
            ImagePoint s{10, 10};
            DibRect r = SelectionBand(Rule(shape, constraint, INT_MAX, INT_MAX), s, {40, 30});
            EXPECT_GE(r.left, 0);
            EXPECT_LE(r.right, 64);
            EXPECT_LE(r.bottom, 48);
            EXPECT_LE(r.left, r.right);
        }
    }
    ImagePoint s{10, 10};
    EXPECT_EQ(V(SelectionBand(Rule(kShapeRect, kConstraintRatio, INT_MAX, 1), s, {40, 30})),
              (std::vector<int>{10, 10, 30, 10}));
    EXPECT_EQ(V(SelectionBand(Rule(kShapeRect, kConstraintFixed, INT_MAX, INT_MAX), s, {40, 30})),
              (std::vector<int>{40, 30, 64, 48}));
}

TEST(ScaleHandleTest, HitsCornersFirstThenSidesWithinTwoPixels) {
    const DibRect r{10, 20, 30, 40};
    struct Case {
        ImagePoint p;
        int flags;
        int cursor;
    };
    const std::vector<Case> cases = {
        {{10, 20}, kScaleLeft | kScaleTop, 1},     {{12, 22}, kScaleLeft | kScaleTop, 1},
        {{31, 41}, kScaleRight | kScaleBottom, 1}, {{8, 42}, kScaleLeft | kScaleBottom, 2},
        {{32, 18}, kScaleRight | kScaleTop, 2},    {{9, 30}, kScaleLeft, 4},
        {{32, 25}, kScaleRight, 4},                {{20, 18}, kScaleTop, 3},
        {{20, 42}, kScaleBottom, 3},               {{20, 30}, 0, 0},
        {{7, 30}, 0, 0},                           {{20, 43}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x << "," << c.p.y);
        EXPECT_EQ(HitTestScaleHandle(r, c.p), c.flags);
        EXPECT_EQ(ScaleHandleCursor(c.flags), c.cursor);
    }
    // A frame so small that the squares overlap: top-left is tested first,
    // then bottom-right.
    EXPECT_EQ(HitTestScaleHandle({10, 10, 12, 12}, {11, 11}), kScaleLeft | kScaleTop);
    EXPECT_EQ(HitTestScaleHandle({10, 10, 13, 13}, {13, 12}), kScaleRight | kScaleBottom);
}

TEST(ScaleHandleTest, AReversedFrameSwapsTheEdgesTheHandleMoves) {
    struct Case {
        DibRect frame;
        int flags, want;
    };
    const std::vector<Case> cases = {
        {{10, 10, 20, 20}, kScaleLeft | kScaleTop, kScaleLeft | kScaleTop},
        {{20, 10, 10, 20}, kScaleLeft | kScaleTop, kScaleRight | kScaleTop},
        {{10, 20, 20, 10}, kScaleLeft | kScaleTop, kScaleLeft | kScaleBottom},
        {{20, 20, 10, 10}, kScaleRight | kScaleBottom, kScaleLeft | kScaleTop},
        // A side handle keeps to its own side.
        {{20, 20, 10, 10}, kScaleRight, kScaleLeft},
        {{20, 20, 10, 10}, kScaleBottom, kScaleTop},
        {{20, 10, 10, 20}, kScaleBottom, kScaleBottom},
    };
    for (const Case& c : cases) EXPECT_EQ(OrientScaleFlags(c.flags, c.frame), c.want);
    // The right edge dragged past the left reverses the frame; its size is
    // reported negative.
    DibRect f = DragScaleFrame({10, 10, 19, 19}, kScaleRight, {5, 30});
    EXPECT_EQ(V(f), (std::vector<int>{10, 10, 5, 19}));
    EXPECT_EQ(ScaleFrameWidth(f), -6);
    EXPECT_EQ(ScaleFrameHeight(f), 10);
}

TEST(ScaleHandleTest, SnappingAlignsTheFrameWithWholeCells) {
    EXPECT_EQ(V(SnapScaleFrame({3, 5, 13, 17}, 8, 4)), (std::vector<int>{0, 4, 15, 19}));
    // Reversed sides keep their direction.
    EXPECT_EQ(V(SnapScaleFrame({13, 17, 3, 5}, 8, 4)), (std::vector<int>{15, 19, 0, 4}));
    EXPECT_EQ(V(SnapScaleFrame({3, 5, 13, 17}, 0, 0)), (std::vector<int>{3, 5, 13, 17}));
    int w = -1, h = -1;
    ScaleSnapCell({0, 16, 16, 4, 4}, &w, &h);
    EXPECT_EQ(std::vector<int>({w, h}), std::vector<int>({0, 0}));
    ScaleSnapCell({1, 16, 12, 4, 3}, &w, &h);
    EXPECT_EQ(std::vector<int>({w, h}), std::vector<int>({16, 12}));
    ScaleSnapCell({3, 16, 12, 4, 3}, &w, &h);
    EXPECT_EQ(std::vector<int>({w, h}), std::vector<int>({4, 3}));
}

TEST(RotateGeometryTest, TheAreaIsASquareAroundTheCentreCutToTheImage) {
    EXPECT_EQ(V(RotateArea({10, 10, 40, 22}, 64, 48)), (std::vector<int>{5, 0, 45, 36}));
    EXPECT_EQ(V(RotateArea({0, 0, 64, 48}, 64, 48)), (std::vector<int>{0, 0, 63, 47}));
    EXPECT_TRUE(InRotateArea({5, 0, 45, 36}, {45, 36}));
    EXPECT_FALSE(InRotateArea({5, 0, 45, 36}, {46, 10}));
}

TEST(RotateGeometryTest, AnglesAreWholeDegreesClockwiseAndShiftGivesSteps) {
    const RotateCentre c{10, 10};
    EXPECT_EQ(PointAngle(c, {20, 10}), 0);
    // The program's factor (57.29577950560105) is a hair below 180 / pi: a
    // quarter or a half turn reads one degree less.
    EXPECT_EQ(PointAngle(c, {10, 20}), 89);
    EXPECT_EQ(PointAngle(c, {10, 0}), -89);
    EXPECT_EQ(PointAngle(c, {0, 10}), 179);
    EXPECT_EQ(PointAngle(c, {20, 13}), 16);  // 16.7 toward zero
    EXPECT_EQ(DragAngle(0, 90, 0, false), 90);
    EXPECT_EQ(DragAngle(350, 30, 0, false), 20);
    EXPECT_EQ(DragAngle(10, -90, 90, false), 190);
    std::set<int> steps;
    for (int pointer = -179; pointer <= 180; ++pointer)
        for (int start : {0, 37, 300}) steps.insert(DragAngle(start, pointer, 12, true));
    EXPECT_EQ(steps, (std::set<int>{0, 45, 90, 135, 180, 225, 270, 315}));
}

}  // namespace
}  // namespace tools
