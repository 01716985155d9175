// The back buffer's pixel work: the zoomed image, grid lines and the
// inverting outlines with the platform's end-point rules.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "view/canvas_raster.h"
#include "view/overlay.h"

namespace {

using namespace view;

constexpr uint32_t kBase = 0xff102030u;
constexpr uint32_t kInv = kBase ^ 0x00ffffffu;

struct Buffer {
    Buffer(int w, int h) : pixels(size_t(w) * size_t(h), kBase), buffer{pixels.data(), w, h, w} {}
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(buffer.width) + size_t(x)]; }
    // Inverted pixels as (x, y).
    std::set<std::pair<int, int>> Inverted() const {
        std::set<std::pair<int, int>> out;
        for (int y = 0; y < buffer.height; ++y)
            for (int x = 0; x < buffer.width; ++x)
                if (At(x, y) == kInv) out.insert({x, y});
        return out;
    }
    bool Clean() const {
        for (uint32_t p : pixels)
            if (p != kBase) return false;
        return true;
    }
    DibRect All() const { return {0, 0, buffer.width, buffer.height}; }
    std::vector<uint32_t> pixels;
    PixelBuffer buffer;
};

using Pixels = std::set<std::pair<int, int>>;

TEST(InvertLine, LastPointLeftOut) {
    struct Case {
        ScreenPoint a, b;
        Pixels expected;
    } cases[] = {
        {{1, 1}, {4, 1}, {{1, 1}, {2, 1}, {3, 1}}},
        {{4, 1}, {1, 1}, {{4, 1}, {3, 1}, {2, 1}}},
        {{2, 0}, {2, 3}, {{2, 0}, {2, 1}, {2, 2}}},
        {{2, 3}, {2, 0}, {{2, 3}, {2, 2}, {2, 1}}},
        {{0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        {{0, 0}, {4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {{5, 5}, {5, 5}, {}},
    };
    for (const Case& c : cases) {
        Buffer b(8, 8);
        InvertLine(b.buffer, c.a, c.b, b.All());
        EXPECT_EQ(b.Inverted(), c.expected) << c.a.x << "," << c.a.y << " -> " << c.b.x << "," << c.b.y;
    }
}

// The solid line takes InvertLine's pixels, and a clip (or ends far outside
// the buffer) leaves exactly those inside it.
TEST(DrawLine, SamePixelsAsTheInvertedLineInsideTheClip) {
    constexpr uint32_t kPen = 0xff0a0b0cu;
    const DibRect clip{5, 4, 31, 22};
    const ScreenPoint lines[][2] = {{{0, 0}, {35, 25}},  {{35, 2}, {1, 20}},   {{3, 24}, {9, 0}},
                                    {{20, 1}, {20, 23}}, {{33, 10}, {-4, 10}}, {{7, 7}, {8, 19}},
                                    {{-30, -50}, {60, 70}}};
    for (const auto& l : lines) {
        Buffer inverted(36, 26), drawn(36, 26);
        InvertLine(inverted.buffer, l[0], l[1], inverted.All());
        DrawLine(drawn.buffer, l[0], l[1], kPen, clip);
        for (int y = 0; y < 26; ++y)
            for (int x = 0; x < 36; ++x) {
                const bool inClip = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
                const bool expected = inClip && inverted.At(x, y) == kInv;
                ASSERT_EQ(drawn.At(x, y) == kPen, expected) << l[0].x << "," << l[0].y << " (" << x << "," << y << ")";
            }
    }
    // A ray thousands of pixels long through the buffer.
    Buffer longRay(36, 26);
    DrawLine(longRay.buffer, {10, 10}, {10 + 16384, 10 - 5000}, kPen, longRay.All());
    EXPECT_EQ(longRay.At(10, 10), kPen);
    EXPECT_EQ(longRay.At(35, 2) == kPen || longRay.At(35, 3) == kPen, true);
}

TEST(InvertPolyline, ClosedRectangleTouchesEachPixelOnce) {
    Buffer b(10, 10);
    ScreenPoint pts[] = {{1, 2}, {6, 2}, {6, 7}, {1, 7}, {1, 2}};
    InvertPolyline(b.buffer, pts, 5, b.All());
    Pixels expected;
    for (int x = 1; x <= 6; ++x) expected.insert({x, 2}), expected.insert({x, 7});
    for (int y = 2; y <= 7; ++y) expected.insert({1, y}), expected.insert({6, y});
    EXPECT_EQ(b.Inverted(), expected);
}

TEST(InvertFrame, StripsWithoutOverlap) {
    Buffer b(10, 10);
    InvertFrame(b.buffer, {2, 2, 7, 5}, b.All());
    Pixels expected;
    for (int x = 2; x < 7; ++x) expected.insert({x, 2}), expected.insert({x, 4});
    expected.insert({2, 3});
    expected.insert({6, 3});
    EXPECT_EQ(b.Inverted(), expected);
}

TEST(InvertEllipse, InsideItsBoxTouchingEverySide) {
    struct Case {
        DibRect box;
    } cases[] = {{{0, 0, 8, 6}}, {{1, 1, 9, 7}}, {{2, 3, 15, 20}}, {{0, 0, 1, 1}}, {{3, 3, 5, 4}}};
    for (const Case& c : cases) {
        Buffer b(24, 24);
        InvertEllipse(b.buffer, c.box, b.All());
        Pixels got = b.Inverted();
        ASSERT_FALSE(got.empty());
        int minX = 99, minY = 99, maxX = -1, maxY = -1;
        for (auto [x, y] : got) {
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
        EXPECT_EQ((std::array<int, 4>{minX, minY, maxX + 1, maxY + 1}),
                  (std::array<int, 4>{c.box.left, c.box.top, c.box.right, c.box.bottom}));
        // Symmetric about both axes of the box.
        for (auto [x, y] : got) {
            EXPECT_TRUE(got.count({c.box.left + c.box.right - 1 - x, y}));
            EXPECT_TRUE(got.count({x, c.box.top + c.box.bottom - 1 - y}));
        }
    }
}

TEST(Overlay, EveryShapeDrawnTwiceRestoresTheBuffer) {
    std::vector<OverlayShape> shapes = {
        {OverlayShape::Polyline, {{0, 0}, {20, 7}, {3, 15}, {0, 0}}, {}},
        {OverlayShape::Ellipse, {}, {2, 2, 19, 13}},
        {OverlayShape::Frame, {}, {1, 1, 18, 12}},
        {OverlayShape::Block, {}, {5, 5, 9, 9}},
    };
    for (const OverlayShape& s : shapes) {
        Buffer b(24, 24);
        RenderOverlayShape(b.buffer, s, {1, 2}, b.All());
        EXPECT_FALSE(b.Clean());
        RenderOverlayShape(b.buffer, s, {1, 2}, b.All());
        EXPECT_TRUE(b.Clean()) << "kind " << s.kind;
    }
}

TEST(Overlay, ToggleTakesTheSameShapeOut) {
    OverlayList list;
    OverlayShape frame{OverlayShape::Frame, {}, {1, 1, 5, 5}};
    OverlayShape other{OverlayShape::Frame, {}, {1, 1, 5, 6}};
    list.Toggle(frame);
    list.Toggle(other);
    EXPECT_EQ(list.size(), 2u);
    list.Toggle(frame);
    EXPECT_EQ(list.size(), 1u);
    Buffer b(8, 8);
    list.Render(b.buffer, {0, 0}, b.All());
    Buffer expected(8, 8);
    RenderOverlayShape(expected.buffer, other, {0, 0}, expected.All());
    EXPECT_EQ(b.pixels, expected.pixels);
}

TEST(Overlay, ClippedOutlinePaintsOnlyInsideTheClip) {
    Buffer b(16, 16);
    InvertEllipse(b.buffer, {-10, -10, 30, 30}, {4, 4, 8, 8});
    for (auto [x, y] : b.Inverted()) {
        EXPECT_GE(x, 4);
        EXPECT_LT(x, 8);
        EXPECT_GE(y, 4);
        EXPECT_LT(y, 8);
    }
    Buffer whole(16, 16);
    InvertLine(whole.buffer, {-100, 3}, {100, 3}, whole.All());
    EXPECT_EQ(whole.Inverted().size(), 16u);
}

TEST(Stretch, EachImagePixelBecomesAZoomBlock) {
    // 3 x 2 image, bottom-up rows padded to 4.
    const uint8_t bits[] = {4, 5, 6, 0, 1, 2, 3, 0};
    IndexedImage image{bits, 3, 2, 4};
    uint32_t colors[256];
    for (int i = 0; i < 256; ++i) colors[i] = 0xff000000u | uint32_t(i);
    for (int zoom : {1, 2, 3, 16}) {
        Buffer b(60, 40);
        StretchIndexed(b.buffer, image, zoom, {5, 3}, colors, b.All());
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) {
                int ix = (x - 5) / zoom, iy = (y - 3) / zoom;
                bool inside = x >= 5 && y >= 3 && ix < 3 && iy < 2;
                uint32_t want = inside ? colors[iy == 0 ? 1 + ix : 4 + ix] : kBase;
                ASSERT_EQ(b.At(x, y), want) << "zoom " << zoom << " at " << x << "," << y;
            }
    }
}

TEST(Grid, LinesOnTheLastScreenRowAndColumnOfEachCell) {
    struct Case {
        int zoom, cell;
        std::vector<int> lines;  // screen rows (and columns) over 0..63
    } cases[] = {
        {1, 16, {15, 31, 47, 63}},
        {1, 2, {}},            // 2 screen pixels: too fine
        {2, 2, {3, 7, 11, 15, 19, 23, 27, 31, 35, 39, 43, 47, 51, 55, 59, 63}},
        {4, 8, {31, 63}},
        {1, 4, {3, 7, 11, 15, 19, 23, 27, 31, 35, 39, 43, 47, 51, 55, 59, 63}},
    };
    for (const Case& c : cases) {
        Buffer rows(64, 64), cols(64, 64);
        DibRect painted{0, 0, 64, 64};
        DrawGridRows(rows.buffer, painted, {0, 0}, c.zoom, c.cell, 0xffff0000u, rows.All());
        DrawGridColumns(cols.buffer, painted, {0, 0}, c.zoom, c.cell, 0xffff0000u, cols.All());
        std::vector<int> gotRows, gotCols;
        for (int i = 0; i < 64; ++i) {
            if (rows.At(0, i) == 0xffff0000u) gotRows.push_back(i);
            if (cols.At(i, 0) == 0xffff0000u) gotCols.push_back(i);
        }
        EXPECT_EQ(gotRows, c.lines) << "zoom " << c.zoom << " cell " << c.cell;
        EXPECT_EQ(gotCols, c.lines) << "zoom " << c.zoom << " cell " << c.cell;
    }
}

TEST(Grid, PaintedRectangleStartingInsideACell) {
    // Zoom 2, cell 3: image rows 2, 5, 8 end cells; painting rows from image
    // row 4 (screen 8) on draws screen rows 11 and 17.
    Buffer b(8, 24);
    DrawGridRows(b.buffer, {0, 8, 8, 20}, {0, 0}, 2, 3, 0xff00ff00u, b.All());
    std::vector<int> got;
    for (int y = 0; y < 24; ++y)
        if (b.At(0, y) == 0xff00ff00u) got.push_back(y);
    EXPECT_EQ(got, (std::vector<int>{11, 17}));
}

}  // namespace
