#include "tools/border_trace.h"

#include <algorithm>
#include <functional>
#include <set>
#include <utility>

#include <gtest/gtest.h>

namespace {

using document::MaskBits;
using tools::BorderPoint;
using tools::TraceBorder;

// A mask block of `blockBytes` bytes (filled with `fill`) addressed at w x h,
// with only the rectangle [x0, x1) x [y0, y1) of the image set.
struct MaskFixture {
    std::vector<uint8_t> block;
    MaskBits bits;
    MaskFixture(int w, int h, size_t blockBytes = 0, uint8_t fill = 0) {
        const size_t need = document::MaskRowBytes(w) * size_t(h);
        block.assign(std::max(need, blockBytes), fill);
        bits = {block.data(), block.size(), w, h};
        // The image's own rows start clear; what lies past them stays as filled.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) bits.Row(y)[x >> 3] &= uint8_t(~(0x80 >> (x & 7)));
    }
    void Set(int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) bits.Put(x, y);
    }
};

std::set<std::pair<int, int>> AsSet(const std::vector<BorderPoint>& points) {
    std::set<std::pair<int, int>> s;
    for (const BorderPoint& p : points) s.insert({p.x, p.y});
    return s;
}

TEST(BorderTrace, CentreWidthOneTracesFirstAndLastPixelOfEveryRowAndColumn) {
    MaskFixture m(12, 12);
    m.Set(2, 3, 6, 7);  // x 2..5, y 3..6
    std::set<std::pair<int, int>> perimeter;
    for (int y = 3; y <= 6; ++y) perimeter.insert({2, y}), perimeter.insert({5, y});
    for (int x = 2; x <= 5; ++x) perimeter.insert({x, 3}), perimeter.insert({x, 6});
    EXPECT_EQ(AsSet(TraceBorder(m.bits, 1, tools::kBorderCentre)), perimeter);
}

TEST(BorderTrace, LeftEdgeColumnIsNotFoundFromTheRight) {
    MaskFixture m(6, 4);
    m.Set(0, 1, 1, 3);  // column 0, rows 1..2
    // Rows: from the left (0, y) twice; from the right nothing (down to 1).
    // Columns: column 0 from the top (0, 1) twice, from the bottom (0, 2) twice.
    const std::vector<BorderPoint> want = {{0, 1}, {0, 1}, {0, 2}, {0, 2},
                                           {0, 1}, {0, 1}, {0, 2}, {0, 2}};
    EXPECT_EQ(TraceBorder(m.bits, 1, tools::kBorderCentre), want);
}

struct OnePixelCase {
    int width;
    int position;
    std::vector<BorderPoint> points;
};

TEST(BorderTrace, OnePixelSelectionByWidthAndPosition) {
    const OnePixelCase cases[] = {
        {1, tools::kBorderCentre, {{5, 5}, {5, 5}, {5, 5}, {5, 5}, {5, 5}, {5, 5}, {5, 5}, {5, 5}}},
        {1, tools::kBorderOutside, {{4, 4}, {4, 6}, {6, 6}, {6, 4}, {4, 4}, {6, 4}, {6, 6}, {4, 6}}},
        // Inside 1 tests the pixel below / right from the left and top: clear.
        {1, tools::kBorderInside, {{5, 5}, {5, 5}}},
        {2, tools::kBorderCentre, {{5, 5}, {5, 5}, {6, 6}, {6, 5}, {5, 5}, {5, 5}, {6, 6}, {5, 6}}},
        // Outside 3: half 1, e 1 -> h = g = -1, l = f = 1 + 2 = 3.
        {3, tools::kBorderOutside, {{4, 4}, {4, 8}, {8, 8}, {8, 4}, {4, 4}, {8, 4}, {8, 8}, {4, 8}}},
        // Inside of width 2 or more needs a partner pixel 2 or more away: none.
        {2, tools::kBorderInside, {}},
        {100, tools::kBorderInside, {}},
    };
    for (const OnePixelCase& c : cases) {
        MaskFixture m(12, 12);
        m.Set(5, 5, 6, 6);
        EXPECT_EQ(TraceBorder(m.bits, c.width, c.position), c.points)
            << "width " << c.width << " position " << c.position;
    }
}

TEST(BorderTrace, InsideWidthThreeOfARectangle) {
    MaskFixture m(12, 12);
    m.Set(2, 2, 10, 10);  // x 2..9, y 2..9
    // h = g = 2, l = f = -2 + 2 = 0; a = 3, b = 2.
    std::vector<BorderPoint> want;
    for (int i = 0; i < 12; ++i) {
        if (i >= 2 && i + 3 <= 9) want.push_back({4, i + 2});
        if (i - 2 >= 2 && i <= 9) want.push_back({9, i});
    }
    for (int i = 0; i < 12; ++i) {
        if (i >= 2 && i + 3 <= 9) want.push_back({i + 2, 4});
        if (i - 2 >= 2 && i <= 9) want.push_back({i, 9});
    }
    EXPECT_EQ(TraceBorder(m.bits, 3, tools::kBorderInside), want);
}

TEST(BorderTrace, WidthIsClampedToOneToHundred) {
    MaskFixture m(40, 40);
    m.Set(3, 4, 30, 33);
    EXPECT_EQ(TraceBorder(m.bits, 0, tools::kBorderInside), TraceBorder(m.bits, 1, tools::kBorderInside));
    EXPECT_EQ(TraceBorder(m.bits, -3, tools::kBorderOutside), TraceBorder(m.bits, 1, tools::kBorderOutside));
    EXPECT_EQ(TraceBorder(m.bits, 101, tools::kBorderCentre), TraceBorder(m.bits, 100, tools::kBorderCentre));
    EXPECT_EQ(tools::ClampBorderWidth(0), 1);
    EXPECT_EQ(tools::ClampBorderWidth(101), 100);
}

// The block is sized for a larger image and every bit past the image is set
// (an earlier selection): selections touching each edge are traced as if
// nothing lay beyond the image.
TEST(BorderTrace, BitsOutsideTheImageAreNeverRead) {
    struct Edge {
        int x0, y0, x1, y1;
    };
    const int w = 13, h = 11;
    const Edge edges[] = {{0, 3, 6, 8}, {7, 3, 13, 8}, {3, 0, 9, 5}, {3, 6, 9, 11}, {0, 0, 13, 11}};
    for (const Edge& e : edges) {
        MaskFixture clean(w, h);
        MaskFixture stale(w, h, 64 * 64 / 8, 0xFF);
        clean.Set(e.x0, e.y0, e.x1, e.y1);
        stale.Set(e.x0, e.y0, e.x1, e.y1);
        for (int width : {5, 100})
            for (int position : {tools::kBorderInside, tools::kBorderCentre, tools::kBorderOutside})
                EXPECT_EQ(TraceBorder(stale.bits, width, position), TraceBorder(clean.bits, width, position))
                    << e.x0 << "," << e.y0 << " width " << width << " position " << position;
    }
}

// The scans written out plainly from the rule, on a grid of booleans where
// everything outside the image is clear: the reference for the table below.
std::vector<BorderPoint> ReferenceTrace(const std::vector<std::vector<bool>>& sel, int c, int position) {
    const int height = int(sel.size()), width = int(sel[0].size());
    auto m = [&](int x, int y) { return x >= 0 && y >= 0 && x < width && y < height && sel[size_t(y)][size_t(x)]; };
    const int e = c % 2 == 1 ? 1 : 0, half = c / 2, ceilHalf = (c + 1) / 2;
    int h = 0, l = 0, f = 0, g = 0, a = 0, b = 0;
    if (position == tools::kBorderInside) {
        if (c >= 2) h = g = ceilHalf, l = f = -ceilHalf;
        a = c, b = c - 1;
    } else if (position == tools::kBorderOutside) {
        if (c < 2)
            l = f = 1, h = g = -1;
        else
            l = f = half, h = g = -half;
    }
    if (c > 1) f += e + 1, l += e + 1;
    std::vector<BorderPoint> out;
    const bool centre = position == tools::kBorderCentre, outside = position == tools::kBorderOutside;
    for (int i = 0; i < height; ++i) {
        for (int j = 0; j < width; ++j)
            if (m(j, i) && m(j, i + a)) {
                out.push_back({j + h, i + g});
                if (centre) out.push_back({j + h, i + 2 * g});
                if (outside) out.push_back({j + h, i + g + c + 1});
                break;
            }
        for (int n = width - 1; n >= 1; --n)
            if (m(n, i) && m(n, i - b)) {
                out.push_back({n + l, i + f});
                if (centre) out.push_back({n + l, i});
                if (outside) out.push_back({n + l, i + f - c - 1});
                break;
            }
    }
    for (int i = 0; i < width; ++i) {
        for (int j = 0; j < height; ++j)
            if (m(i, j) && m(i + a, j)) {
                out.push_back({i + h, j + g});
                if (centre) out.push_back({i + 2 * h, j + g});
                if (outside) out.push_back({i + h + c + 1, j + g});
                break;
            }
        for (int n = height - 1; n >= 1; --n)
            if (m(i, n) && m(i - b, n)) {
                out.push_back({i + l, n + f});
                if (centre) out.push_back({i, n + f});
                if (outside) out.push_back({i + l - c - 1, n + f});
                break;
            }
    }
    return out;
}

TEST(BorderTrace, ShapesByWidthAndPositionMatchTheReference) {
    const int w = 150, h = 140;
    struct Shape {
        const char* name;
        std::function<bool(int, int)> inside;
    };
    const Shape shapes[] = {
        {"rectangle", [](int x, int y) { return x >= 10 && x < 130 && y >= 7 && y < 121; }},
        {"ellipse",
         [](int x, int y) {
             const double dx = (x - 74.5) / 60.0, dy = (y - 69.0) / 45.0;
             return dx * dx + dy * dy <= 1.0;
         }},
        {"one pixel", [](int x, int y) { return x == 75 && y == 70; }},
        // Wider than the image's last column and touching three edges.
        {"edge band", [](int x, int y) { return y < 40 || x == 0 || x == w - 1; }},
    };
    for (const Shape& shape : shapes) {
        MaskFixture m(w, h);
        std::vector<std::vector<bool>> grid(static_cast<size_t>(h), std::vector<bool>(static_cast<size_t>(w)));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (shape.inside(x, y)) m.bits.Put(x, y), grid[size_t(y)][size_t(x)] = true;
        for (int width : {1, 2, 3, 100})
            for (int position : {tools::kBorderInside, tools::kBorderCentre, tools::kBorderOutside})
                EXPECT_EQ(TraceBorder(m.bits, width, position), ReferenceTrace(grid, width, position))
                    << shape.name << " width " << width << " position " << position;
    }
}

TEST(BorderTrace, NothingWithoutAMask) {
    EXPECT_TRUE(TraceBorder(MaskBits{}, 3, tools::kBorderOutside).empty());
}

}  // namespace
