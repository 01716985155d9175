// The ticks and numbers of the canvas rulers, by zoom, scroll position and
// centring offset.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>

#include "view/ruler_marks.h"

namespace view {
inline void PrintTo(const RulerLabel& l, std::ostream* out) { *out << "(" << l.d << ", " << l.text << ")"; }
inline void PrintTo(const RulerText& t, std::ostream* out) {
    *out << "(" << t.x << ", " << t.y << ", " << t.text << ")";
}
}  // namespace view

namespace {

using view::RulerOrientation;

std::optional<int> TickAt(const view::RulerMarks& marks, int d) {
    for (const view::RulerTick& tick : marks.ticks)
        if (tick.d == d) return tick.s;
    return std::nullopt;
}

std::vector<view::RulerLabel> Labels(RulerOrientation o, int zoom, int scroll, int centre, int extent) {
    return view::ComputeRulerMarks(o, zoom, scroll, centre, extent).labels;
}

TEST(RulerMarksTest, TicksByZoom) {
    struct Case {
        int zoom, scroll, centre, d;
        std::optional<int> s;
    };
    const Case cases[] = {
        // Zoom 1: every 10 pixels, longer every 50 and 100, none in between.
        {1, 0, 0, 0, 10},   {1, 0, 0, 100, 10}, {1, 0, 0, 50, 13}, {1, 0, 0, 10, 16},
        {1, 0, 0, 30, 16},  {1, 0, 0, 5, {}},   {1, 0, 0, 1, {}},
        // Zoom 4: every 4 pixels, the longest every 400.
        {4, 0, 0, 4, 20},   {4, 0, 0, 40, 16},  {4, 0, 0, 200, 13}, {4, 0, 0, 400, 10},
        {4, 0, 0, 2, {}},   {4, 0, 0, 399, {}},
        // Zoom 2, 6, 16.
        {2, 0, 0, 2, 20},   {2, 0, 0, 200, 10}, {6, 0, 0, 300, 13}, {16, 0, 0, 160, 16},
        {16, 0, 0, 8, {}},
        // Scrolled and centred: the pattern follows p, also below 0.
        {1, 30, 0, 0, 16},  {1, 30, 0, 70, 10}, {1, 0, 150, 50, 10}, {1, 0, 150, 100, 13},
        {1, 0, 150, 140, 16}, {1, 0, 155, 0, {}}, {1, 0, 155, 5, 13},
    };
    for (const Case& c : cases) {
        auto marks = view::ComputeRulerMarks(RulerOrientation::Horizontal, c.zoom, c.scroll, c.centre, 1000);
        EXPECT_EQ(TickAt(marks, c.d), c.s) << "zoom " << c.zoom << " scroll " << c.scroll << " centre "
                                           << c.centre << " d " << c.d;
    }
}

TEST(RulerMarksTest, NumbersByZoom) {
    using L = view::RulerLabel;
    const RulerOrientation h = RulerOrientation::Horizontal;
    EXPECT_EQ(Labels(h, 1, 0, 0, 250), (std::vector<L>{{0, "0"}, {100, "100"}, {200, "200"}}));
    EXPECT_EQ(Labels(h, 4, 0, 0, 600), (std::vector<L>{{0, "0"}, {200, "50"}, {400, "100"}}));
    EXPECT_EQ(Labels(h, 8, 0, 0, 200), (std::vector<L>{{0, "0"}, {80, "10"}, {160, "20"}}));
    EXPECT_EQ(Labels(h, 2, 0, 0, 250), (std::vector<L>{{0, "0"}, {100, "50"}, {200, "100"}}));
    EXPECT_EQ(Labels(h, 16, 0, 0, 400), (std::vector<L>{{0, "0"}, {160, "10"}, {320, "20"}}));
    // Before the origin the numbers count up again.
    EXPECT_EQ(Labels(h, 1, 0, 150, 200), (std::vector<L>{{50, "100"}, {150, "0"}}));
    EXPECT_EQ(Labels(h, 4, 0, 300, 400), (std::vector<L>{{100, "50"}, {300, "0"}}));
    // Scrolled: the first number lies where its position falls.
    EXPECT_EQ(Labels(h, 1, 130, 0, 100), (std::vector<L>{{70, "200"}}));
}

TEST(RulerMarksTest, OtherZoomsShowNothing) {
    for (int zoom : {0, 3, 5, 7, 12, 32, -1}) {
        auto marks = view::ComputeRulerMarks(RulerOrientation::Horizontal, zoom, 0, 0, 500);
        EXPECT_TRUE(marks.ticks.empty() && marks.labels.empty()) << zoom;
    }
}

TEST(RulerMarksTest, VerticalNumbersAreStackedDigits) {
    EXPECT_EQ(view::VerticalRulerDigits(1234), "1234");
    EXPECT_EQ(view::VerticalRulerDigits(0), "0");
    EXPECT_EQ(view::VerticalRulerDigits(12345), "2345");  // at most four digits
    EXPECT_EQ(view::VerticalRulerDigits(10234), "234");   // then leading zeros skipped
    EXPECT_EQ(view::VerticalRulerDigits(100), "100");
    const RulerOrientation v = RulerOrientation::Vertical;
    EXPECT_EQ(Labels(v, 1, 12300, 0, 1), (std::vector<view::RulerLabel>{{0, "2300"}}));
    EXPECT_EQ(Labels(v, 8, 0, 0, 100), (std::vector<view::RulerLabel>{{0, "0"}, {80, "10"}}));

    using T = view::RulerText;
    EXPECT_EQ(view::RulerLabelTexts(v, {40, "1234"}),
              (std::vector<T>{{2, 41, "1"}, {2, 52, "2"}, {2, 63, "3"}, {2, 74, "4"}}));
    EXPECT_EQ(view::RulerLabelTexts(v, {0, "0"}), (std::vector<T>{{2, 1, "0"}}));
    EXPECT_EQ(view::RulerLabelTexts(RulerOrientation::Horizontal, {40, "1234"}),
              (std::vector<T>{{40, 1, "1234"}}));
}

}  // namespace
