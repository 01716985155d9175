// Pen stamps: their shapes, their clipping at the image's corners and edges,
// and which stamp each tool draws with.
#include <gtest/gtest.h>

#include <numbers>
#include <string>

#include "canvas.h"
#include "tools/draw_ops.h"
#include "tools/pen_stamps.h"

namespace {

using namespace tools;
using toolstest::Canvas;
using toolstest::LayerSetup;

PenStamp Runs(int pen) { return PenStamp{StampKind::Runs, pen}; }
PenStamp Shape(StampKind kind, int size) { return PenStamp{kind, 606, size}; }
PenStamp Turned(int w, int h, double angle) { return PenStamp{StampKind::Turned, 606, 1, w, h, angle}; }

struct NamedStamp {
    std::string name;
    PenStamp stamp;
};
std::vector<NamedStamp> AllStamps() {
    return {{"600", PenStamp{}},
            {"601", Runs(601)},
            {"602", Runs(602)},
            {"603", Runs(603)},
            {"604", Runs(604)},
            {"605", Runs(605)},
            {"box 7", Shape(StampKind::Box, 7)},
            {"box 8", Shape(StampKind::Box, 8)},
            {"round 8", Shape(StampKind::Ellipse, 8)},
            {"round 15", Shape(StampKind::Ellipse, 15)},
            {"turned 9x3", Turned(9, 3, 0.6)},
            {"turned thin", Turned(7, 1, 1.0)}};
}

int CountSet(Canvas& c) {
    int n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) n += c.LayerAt(0, x, y) != 0;
    return n;
}

TEST(StampTest, FixedPensCoverTheirRunsSymmetrically) {
    for (int pen = 601; pen <= 605; ++pen) {
        SCOPED_TRACE(pen);
        Canvas c(31, 31, {LayerSetup{}});
        StampPen(c.target, Runs(pen), 15, 15, false);
        int expected = 0;
        for (const PenRun& run : PenRuns(pen)) expected += run.length;
        EXPECT_EQ(CountSet(c), expected);
        for (int y = 0; y < 31; ++y)
            for (int x = 0; x < 31; ++x) {
                ASSERT_EQ(c.LayerAt(0, x, y), c.LayerAt(0, 30 - x, y));
                ASSERT_EQ(c.LayerAt(0, x, y), c.LayerAt(0, x, 30 - y));
            }
    }
}

TEST(StampTest, RoundCustomStampsMatchTheFixedPensOfTheirSize) {
    for (auto [size, pen] : {std::pair{5, 602}, {7, 603}}) {
        SCOPED_TRACE(size);
        Canvas round(21, 21, {LayerSetup{}}), fixed(21, 21, {LayerSetup{}});
        // An odd custom stamp's box sits one pixel up and left of its point.
        StampPen(round.target, Shape(StampKind::Ellipse, size), 11, 11, false);
        StampPen(fixed.target, Runs(pen), 10, 10, false);
        EXPECT_EQ(round.layerBytes(0), fixed.layerBytes(0));
    }
}

TEST(StampTest, CustomBoxTakesItsOddPixelLeftAndTop) {
    struct Case {
        int size, left, top, right, bottom;
    };
    for (const Case& c : {Case{1, 9, 9, 10, 10}, Case{2, 9, 9, 11, 11}, Case{7, 6, 6, 13, 13}, Case{8, 6, 6, 14, 14}}) {
        StampBox b = CustomStampBox(10, 10, c.size);
        EXPECT_EQ(b.left, c.left) << c.size;
        EXPECT_EQ(b.top, c.top) << c.size;
        EXPECT_EQ(b.right, c.right) << c.size;
        EXPECT_EQ(b.bottom, c.bottom) << c.size;
    }
    Canvas c(20, 20, {LayerSetup{}});
    StampPen(c.target, Shape(StampKind::Box, 7), 10, 10, false);
    EXPECT_EQ(CountSet(c), 49);
    EXPECT_EQ(c.LayerAt(0, 6, 6), 1);
    EXPECT_EQ(c.LayerAt(0, 12, 12), 1);
    EXPECT_EQ(c.LayerAt(0, 13, 12), 0);
}

TEST(StampTest, TurnedRectangleFollowsItsAngle) {
    struct Case {
        int w, h;
        double angle;
        int columns, rows;  // extent of the covered pixels
        int count;
    };
    const Case cases[] = {
        {6, 2, 0, 6, 2, 12},
        {6, 2, std::numbers::pi / 2, 2, 6, 12},
        {5, 1, 0, 5, 1, 5},                     // thin: a line of pixels
        {1, 5, 0, 1, 5, 5},
        {5, 1, std::numbers::pi / 4, 3, 3, 3},  // thin and diagonal: a connected line
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.w << "x" << k.h << " at " << k.angle);
        Canvas c(30, 30, {LayerSetup{}});
        StampPen(c.target, Turned(k.w, k.h, k.angle), 15, 15, false);
        int minX = 99, maxX = -1, minY = 99, maxY = -1;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x)
                if (c.LayerAt(0, x, y)) {
                    minX = std::min(minX, x), maxX = std::max(maxX, x);
                    minY = std::min(minY, y), maxY = std::max(maxY, y);
                }
        EXPECT_EQ(maxX - minX + 1, k.columns);
        EXPECT_EQ(maxY - minY + 1, k.rows);
        EXPECT_EQ(CountSet(c), k.count);
    }
}

// A stamp near the image's border writes exactly the part of the same stamp
// drawn on a larger image that falls inside, in the layer and the
// composite, and nothing in the row padding or outside.
TEST(StampTest, EveryStampIsClippedAtCornersAndEdges) {
    const int w = 18, h = 17, pad = 20;
    const std::pair<int, int> points[] = {{0, 0},      {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {w / 2, 0},
                                          {0, h / 2},  {w - 1, h / 2}, {w / 2, h - 1}, {-3, 5}, {5, h + 2},
                                          {-40, -40}};
    for (const NamedStamp& s : AllStamps())
        for (bool layered : {true, false})
            for (auto [x, y] : points) {
                SCOPED_TRACE(testing::Message() << s.name << (layered ? " layer" : " no layer") << " at " << x
                                                << "," << y);
                std::vector<LayerSetup> layers;
                if (layered) layers = {LayerSetup{1, LAYER_DRAW_INDEX0_CLEAR}};
                Canvas small(w, h, layers), big(w + 2 * pad, h + 2 * pad, layers);
                StampPen(small.target, s.stamp, x, y, false);
                StampPen(big.target, s.stamp, x + pad, y + pad, false);
                for (int py = 0; py < h; ++py)
                    for (int px = 0; px < w; ++px) {
                        ASSERT_EQ(small.At(px, py), big.At(px + pad, py + pad)) << px << "," << py;
                        if (layered) {
                            ASSERT_EQ(small.LayerAt(0, px, py), big.LayerAt(0, px + pad, py + pad));
                        }
                    }
                for (const auto& row : small.Rows())
                    for (size_t px = w; px < row.size(); ++px) ASSERT_EQ(row[px], 0) << "padding";
            }
}

class RecordingSink : public RepaintSink {
public:
    void RepaintImageRect(const DibRect& r, bool now) override {
        rects.push_back(r);
        immediate = immediate && now;
    }
    std::vector<DibRect> rects;
    bool immediate = true;
};

TEST(StampTest, FixedPensRepaintTheirBoxOnlyWhenAsked) {
    Canvas c(40, 40, {LayerSetup{}});
    RecordingSink sink;
    c.target.sink = &sink;
    StampPen(c.target, Runs(604), 20, 10, false);
    EXPECT_TRUE(sink.rects.empty());
    StampPen(c.target, Runs(604), 20, 10, true);
    ASSERT_EQ(sink.rects.size(), 1u);
    EXPECT_EQ(sink.rects[0].left, 13);
    EXPECT_EQ(sink.rects[0].top, 3);
    EXPECT_EQ(sink.rects[0].right, 28);
    EXPECT_EQ(sink.rects[0].bottom, 18);
    EXPECT_TRUE(sink.immediate);
    StampPen(c.target, PenStamp{}, 1, 1, true);  // a single pixel repaints nothing itself
    EXPECT_EQ(sink.rects.size(), 1u);
}

TEST(StampTest, EachToolChoosesItsStamp) {
    CustomPenTable pens = {{{7, 1}, {1, 0}, {15, 0}}};
    struct Case {
        std::string what;
        StampContext context;
        StampKind kind;
        int penId, size;
    };
    auto ctx = [](int tool, int pen) {
        StampContext c;
        c.toolId = tool;
        c.docPenId = pen;
        return c;
    };
    StampContext line3 = ctx(kToolLine, 605);
    line3.lineWidth = 3;
    StampContext line1 = ctx(kToolLine, 605);
    StampContext dashed = ctx(kToolLine, 605);
    dashed.lineOverride = true;
    dashed.overrideWidth = 4;
    dashed.overrideHeight = 2;
    StampContext dashedDot = dashed;
    dashedDot.overrideWidth = dashedDot.overrideHeight = 1;
    StampContext outline = ctx(kToolRectOutline, 601);
    outline.outlineWidth = 5;
    StampContext border = ctx(kToolPen, 603);
    border.borderLine = true;
    border.borderWidth = 9;
    StampContext border1 = border;
    border1.borderWidth = 1;
    const Case cases[] = {
        {"pen with a fixed pen", ctx(kToolPen, 603), StampKind::Runs, 603, 1},
        {"pen 600", ctx(kToolPen, 600), StampKind::Single, 600, 1},
        {"pen with square custom 606", ctx(kToolPen, 606), StampKind::Box, 606, 7},
        {"pen with custom of size 1", ctx(kToolPen, 607), StampKind::Single, 600, 1},
        {"pen with round custom 608", ctx(kToolPen, 608), StampKind::Ellipse, 608, 15},
        {"line width 3", line3, StampKind::Box, 606, 3},
        {"line width 1", line1, StampKind::Single, 600, 1},
        {"dashed line", dashed, StampKind::Turned, 606, 1},
        {"dashed line 1 by 1", dashedDot, StampKind::Single, 600, 1},
        {"outline width 5", outline, StampKind::Box, 606, 5},
        {"outline width 1", ctx(kToolEllipseOutline, 605), StampKind::Single, 600, 1},
        {"filled rectangle", ctx(kToolFilledRect, 605), StampKind::Single, 600, 1},
        {"filled ellipse", ctx(kToolFilledEllipse, 605), StampKind::Single, 600, 1},
        {"other tool", ctx(556, 602), StampKind::Runs, 602, 1},
        {"border line", border, StampKind::Box, 606, 9},
        {"border line width 1", border1, StampKind::Single, 600, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PenStamp s = ChooseStamp(c.context, pens);
        EXPECT_EQ(s.kind, c.kind);
        EXPECT_EQ(s.penId, c.penId);
        if (c.kind == StampKind::Box || c.kind == StampKind::Ellipse) {
            EXPECT_EQ(s.size, c.size);
        }
    }
    EXPECT_TRUE(ChooseStamp(ctx(kToolPen, 606), pens).repaintBox);
    EXPECT_FALSE(ChooseStamp(ctx(556, 606), pens).repaintBox);
    PenStamp turned = ChooseStamp(dashed, pens);
    EXPECT_EQ(turned.width, 4);
    EXPECT_EQ(turned.height, 2);
}

TEST(StampTest, MarginsAndLineWidthPens) {
    const std::pair<int, int> margins[] = {{600, 0}, {601, 2}, {602, 3}, {603, 4}, {604, 7},
                                           {605, 8}, {606, 4}, {607, 4}, {608, 4}, {599, 0}};
    for (auto [pen, m] : margins) EXPECT_EQ(PenRepaintMargin(pen), m) << pen;
    const std::pair<int, int> widths[] = {{1, 600}, {2, 601}, {3, 602}, {4, 602}, {5, 603}, {6, 603},
                                          {7, 604}, {12, 604}, {13, 605}, {100, 605}};
    for (auto [w, pen] : widths) EXPECT_EQ(LinePenIdForWidth(w), pen) << w;
}

}  // namespace
