// The four-point curve: its clicks, control values, spline samples, pixels
// and the outline colour the palette does not hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas.h"
#include "tools/curve.h"

namespace {

using namespace tools;
using toolstest::Canvas;

CurveState Clicked(std::vector<ImagePoint> points, int zoom) {
    CurveState curve;
    for (ImagePoint p : points) curve.AddClick(p, zoom);
    return curve;
}

TEST(CurveTest, ClicksAreKeptTimesTheZoomAndTheFourthFinishes) {
    CurveState curve;
    EXPECT_TRUE(curve.StartsNew());
    EXPECT_EQ(curve.AddClick({1, 2}, 4), CurveState::Click::kStarted);
    EXPECT_TRUE(curve.active);
    EXPECT_EQ(curve.Polygon(), (std::vector<ImagePoint>{{4, 8}, {4, 8}}));
    curve.MoveRubber({5, 6}, 4);
    EXPECT_EQ(curve.Polygon(), (std::vector<ImagePoint>{{4, 8}, {20, 24}}));
    EXPECT_EQ(curve.AddClick({3, 3}, 4), CurveState::Click::kAdded);
    EXPECT_FALSE(curve.StartsNew());
    EXPECT_EQ(curve.AddClick({7, 1}, 4), CurveState::Click::kAdded);
    EXPECT_FALSE(curve.TakeForDrawing());  // three points draw nothing
    EXPECT_EQ(curve.AddClick({9, 9}, 4), CurveState::Click::kFinished);
    EXPECT_EQ(curve.Polygon(), (std::vector<ImagePoint>{{4, 8}, {12, 12}, {28, 4}, {36, 36}, {36, 36}}));
    EXPECT_TRUE(curve.TakeForDrawing());
    EXPECT_FALSE(curve.TakeForDrawing());  // written once
    EXPECT_TRUE(curve.StartsNew());
    EXPECT_EQ(curve.AddClick({0, 0}, 4), CurveState::Click::kStarted);
    EXPECT_EQ(curve.count, 1);
    EXPECT_FALSE(curve.drawn);
}

TEST(CurveTest, ControlValuesPullTheInnerPairTogetherAndDoubleTheEnd) {
    CurveControl c = ControlOf(Clicked({{0, 0}, {12, 0}, {12, 12}, {0, 12}}, 2), 2);
    EXPECT_EQ(c.x, (std::array<double, 5>{0, 12, 12, 0, 0}));
    EXPECT_EQ(c.y, (std::array<double, 5>{0, 3, 9, 12, 12}));
}

TEST(CurveTest, KernelIsTheUniformCubicBSpline) {
    const struct {
        double t, w;
    } cases[] = {{0, 4.0 / 6}, {1, 1.0 / 6}, {-1, 1.0 / 6}, {0.5, 23.0 / 48}, {1.5, 1.0 / 48}, {-1.5, 1.0 / 48},
                 {2, 0}, {-2.5, 0}};
    for (auto c : cases) EXPECT_DOUBLE_EQ(BSplineKernel(c.t), c.w) << c.t;
    for (double t = -1; t <= 5; t += 0.125) {
        double sum = 0;
        for (int k = -3; k <= 8; ++k) sum += BSplineKernel(t - k);
        EXPECT_NEAR(sum, 1.0, 1e-12) << t;
    }
}

TEST(CurveTest, SamplesOfFixedPoints) {
    CurveControl c = ControlOf(Clicked({{0, 0}, {12, 0}, {12, 12}, {0, 12}}, 1), 1);
    const struct {
        double t;
        ImagePoint p;
    } cases[] = {{-1, {0, 0}}, {0, {2, 0}}, {1, {10, 3}}, {2, {10, 8}}, {3, {2, 11}}, {4, {0, 12}}, {5, {0, 12}}};
    for (auto s : cases) EXPECT_EQ(CurvePointAt(c, s.t), s.p) << s.t;

    std::vector<ImagePoint> samples = CurveSamples(c);
    ASSERT_EQ(samples.size(), 121u);
    EXPECT_EQ(samples.front(), (ImagePoint{0, 0}));
    EXPECT_EQ(samples.back(), (ImagePoint{0, 12}));  // the end point is reached
    for (ImagePoint p : samples) {
        EXPECT_TRUE(p.x >= 0 && p.x <= 12 && p.y >= 0 && p.y <= 12);
    }
}

TEST(CurveTest, CurvePixels) {
    Canvas canvas(14, 14);
    CurveState curve = Clicked({{1, 1}, {12, 1}, {12, 12}, {1, 12}}, 4);
    ASSERT_TRUE(curve.TakeForDrawing());
    DrawCurve(canvas.target, PenStamp{}, CurveSamples(ControlOf(curve, 4)));
    std::string picture;
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 14; ++x) picture += canvas.At(x, y) ? '#' : '.';
        picture += '\n';
    }
    EXPECT_EQ(picture,
              "..............\n"
              ".####.........\n"
              ".....###......\n"
              "........##....\n"
              ".........##...\n"
              "...........#..\n"
              "...........#..\n"
              "...........#..\n"
              ".........##...\n"
              "........##....\n"
              ".....###......\n"
              ".####.........\n"
              ".#............\n"
              "..............\n");
    EXPECT_EQ(CurveBounds(curve, 4).left, 1);
    EXPECT_EQ(CurveBounds(curve, 4).right, 12);
}

TEST(CurveTest, CoincidingClicksPlotASingleSpot) {
    Canvas canvas(9, 9);
    CurveState curve = Clicked({{4, 4}, {4, 4}, {4, 4}, {4, 4}}, 2);
    DrawCurve(canvas.target, PenStamp{}, CurveSamples(ControlOf(curve, 2)));
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) ASSERT_EQ(canvas.At(x, y), x == 4 && y == 4 ? 1 : 0);
}

TEST(CurveTest, PreviewColourIsOneThePaletteDoesNotHold) {
    std::vector<PaletteEntry> palette(256, PaletteEntry{0, 0, 0, 0});
    EXPECT_EQ(CurvePreviewColor(palette.data(), 256).blue, 248);
    // Every blue step taken: the first green step.
    for (int i = 0; i < 32; ++i) palette[size_t(i)] = {uint8_t(248 - 8 * i), 255, 255, 0};
    PaletteEntry c = CurvePreviewColor(palette.data(), 256);
    EXPECT_EQ((std::array<int, 3>{c.blue, c.green, c.red}), (std::array<int, 3>{255, 248, 255}));
    // Only the first 16 entries count in a 16-colour document.
    c = CurvePreviewColor(palette.data(), 16);
    EXPECT_EQ((std::array<int, 3>{c.blue, c.green, c.red}), (std::array<int, 3>{120, 255, 255}));
    // Every candidate taken: the search ends with the fixed colour.
    for (int i = 0; i < 32; ++i) {
        palette[size_t(32 + i)] = {255, uint8_t(248 - 8 * i), 255, 0};
        palette[size_t(64 + i)] = {255, 255, uint8_t(248 - 8 * i), 0};
    }
    c = CurvePreviewColor(palette.data(), 256);
    EXPECT_EQ((std::array<int, 3>{c.blue, c.green, c.red}),
              (std::array<int, 3>{kCurvePreviewFallback.blue, kCurvePreviewFallback.green, kCurvePreviewFallback.red}));
}

}  // namespace
