// Zoom tables, centring, the painted area in whole cells, scroll targets and
// the wheel step.
#include <gtest/gtest.h>

#include "view/view_geometry.h"

namespace {

using namespace view;

TEST(ZoomTable, CommandsAndFactors) {
    const int factors[] = {1, 2, 4, 6, 8, 16};
    for (uint32_t id = 34002; id <= 34007; ++id) {
        EXPECT_EQ(ZoomOfCommand(id), factors[id - 34002]);
        EXPECT_EQ(ZoomCommandOf(factors[id - 34002]), id);
    }
    EXPECT_EQ(ZoomOfCommand(34001), 0);
    EXPECT_EQ(ZoomOfCommand(34008), 0);
    EXPECT_EQ(ZoomCommandOf(3), 0u);
}

TEST(ZoomTable, CycleInAndOut) {
    struct Case {
        int zoom, cycle;
        uint32_t in, out;
    } cases[] = {
        {1, 2, 34003, 0},      {2, 4, 34004, 34002},  {4, 6, 34005, 34003},
        {6, 8, 34006, 34004},  {8, 1, 34007, 34005},  {16, 1, 0, 34006},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        EXPECT_EQ(NextCycleZoom(c.zoom), c.cycle);
        EXPECT_EQ(ZoomInCommand(c.zoom), c.in);
        EXPECT_EQ(ZoomOutCommand(c.zoom), c.out);
    }
}

TEST(ZoomTable, ZoomedSideStaysBelow32768) {
    struct Case {
        int zoom, width, height;
        bool fits;
    } cases[] = {
        {16, 2048, 100, false}, {16, 2047, 2047, true}, {8, 4096, 10, false},
        {8, 4095, 4095, true},  {16, 10, 2048, false},  {1, 4096, 4096, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ZoomFitsImage(c.zoom, c.width, c.height), c.fits) << c.zoom << " " << c.width << "x" << c.height;
}

TEST(Centring, OffsetsOfAMaximisedWindow) {
    struct Case {
        bool maximised;
        int ww, wh, iw, ih, zoom;
        Offsets expected;
    } cases[] = {
        {true, 804, 604, 100, 50, 2, {300, 250}},
        {true, 805, 605, 100, 50, 2, {300, 250}},   // integer division
        {false, 804, 604, 100, 50, 2, {0, 0}},      // not maximised
        {true, 804, 604, 500, 50, 2, {0, 0}},       // wider than the window
        {true, 804, 604, 400, 50, 2, {0, 0}},       // 804 - 800 - 4 = 0
        {true, 804, 200, 100, 100, 2, {0, 0}},      // one side too high: both 0
    };
    for (const Case& c : cases)
        EXPECT_EQ(CentringOffsets(c.maximised, c.ww, c.wh, c.iw, c.ih, c.zoom), c.expected)
            << c.ww << "x" << c.wh << " image " << c.iw << "x" << c.ih << " zoom " << c.zoom;
}

TEST(ClipBox, WidenedToWholeCellsAndClamped) {
    struct Case {
        DibRect clip;
        int zoom;
        Offsets centre;
        int iw, ih;
        DibRect expected;
    } cases[] = {
        {{5, 7, 13, 21}, 4, {}, 100, 100, {4, 4, 16, 24}},
        {{0, 0, 16, 16}, 4, {}, 100, 100, {0, 0, 16, 16}},   // already whole cells
        {{1, 1, 2, 2}, 6, {}, 100, 100, {0, 0, 6, 6}},
        {{90, 10, 500, 30}, 4, {}, 25, 100, {88, 8, 100, 32}},  // clamped to 25 x 4
        {{200, 0, 300, 10}, 2, {}, 50, 50, {0, 0, 0, 0}},    // beside the image
        {{0, 0, 1920, 1080}, 1, {}, 2048, 2048, {0, 0, 1920, 1080}},
        // Centred at (100, 50): relative to the image origin.
        {{110, 60, 119, 61}, 4, {100, 50}, 40, 40, {8, 8, 20, 12}},
        // Centred and the clip box leaving the image's area: the whole image.
        {{0, 0, 30, 30}, 4, {100, 50}, 40, 40, {0, 0, 160, 160}},
    };
    for (const Case& c : cases) {
        DibRect r = WidenClipToCells(c.clip, c.zoom, c.centre, c.iw, c.ih);
        EXPECT_EQ((std::array<int, 4>{r.left, r.top, r.right, r.bottom}),
                  (std::array<int, 4>{c.expected.left, c.expected.top, c.expected.right, c.expected.bottom}))
            << "clip " << c.clip.left << "," << c.clip.top << "," << c.clip.right << "," << c.clip.bottom
            << " zoom " << c.zoom;
    }
}

TEST(ZoomAtPoint, ScrollTarget) {
    EXPECT_EQ(ZoomScrollTarget(100, 4, 200, 50, true), (400 - 200) * 50 / 100);
    EXPECT_EQ(ZoomScrollTarget(100, 4, 200, 50, false), 0);   // no scroll bar
    EXPECT_EQ(ZoomScrollTarget(100, 1, 200, 50, true), 0);    // negative becomes 0
    EXPECT_EQ(ZoomScrollTarget(100, 16, 300, 99, true), (1600 - 300) * 99 / 100);
}

TEST(Wheel, TowardTheUserFullAwayAQuarter) {
    // Three lines of one image pixel at zoom 4 per notch.
    EXPECT_EQ(WheelScrollPixels(-120, 4, 3), 12);
    EXPECT_EQ(WheelScrollPixels(120, 4, 3), -3);
    EXPECT_EQ(WheelScrollPixels(-240, 4, 3), 24);
    EXPECT_EQ(WheelScrollPixels(3, 4, 3), 0);   // 3 / 4 is 0 toward zero
    EXPECT_EQ(WheelScrollPixels(0, 4, 3), 0);
}

}  // namespace
