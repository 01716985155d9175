// Dirty rectangles, rectangle normalising and clamping, grid snapping of
// points and the client rectangles of a repaint.
#include <gtest/gtest.h>

#include <string>

#include "tools/draw_rects.h"

namespace {

using namespace tools;

std::string Str(const DibRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

GridSnap Grid(int flags, int main = 16, int sub = 8) { return {flags, main, main, sub, sub}; }

TEST(RectsTest, DirtyRectangleGrowsToTheGridThenByOneThenByThePen) {
    struct Case {
        std::string what;
        DibRect in;
        GridSnap grid;
        int pen;
        const char* out;
    };
    const Case cases[] = {
        {"main grid: 20 grows to 31, then 32", {0, 0, 20, 20}, Grid(1), 600, "0,0,32,32"},
        {"then the pen margin", {5, 5, 20, 20}, Grid(1), 602, "2,2,35,35"},
        {"already at a cell end", {0, 0, 15, 15}, Grid(1), 600, "0,0,16,16"},
        {"sub grid", {0, 0, 20, 20}, Grid(2), 600, "0,0,24,24"},
        {"both: whichever comes first", {0, 0, 17, 17}, Grid(3, 16, 6), 600, "0,0,18,18"},
        {"no snap", {0, 0, 20, 20}, Grid(0), 600, "0,0,21,21"},
        {"unordered", {20, 20, 5, 5}, Grid(0), 601, "3,3,23,23"},
        {"clamped", {-4, 2, 90, 3}, Grid(0), 605, "0,0,64,12"},
        {"zero cell never snaps", {0, 0, 20, 20}, Grid(1, 0), 600, "0,0,21,21"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(SnapRectToGrid(c.in, c.grid, c.pen, 64, 48)), c.out) << c.what;
    EXPECT_EQ(Str(SnapRectToGridAlt({0, 0, 20, 20}, 602, 64, 48)), "0,0,24,24");
}

TEST(RectsTest, OrderingClampingAndInclusiveHelpers) {
    DibRect r{12, 9, -3, 2};
    EXPECT_EQ(Str(NormalizeImageRect(r, 10, 8)), "0,2,10,8");
    EXPECT_EQ(Str(ClampRectToImage(r, 10, 8)), "0,2,10,8");
    EXPECT_EQ(Str(ClampRectToImage({1, 1, 4, 4}, 10, 8)), "1,1,4,4");
    EXPECT_EQ(Str(MakeRectInclusive(r)), "-3,2,13,10");
    EXPECT_EQ(Str(SnapRectEndToGrid({3, 3, 20, 5}, Grid(1))), "3,3,32,16");
    EXPECT_EQ(Str(SnapRectEndToGridClamped({3, 3, 20, 5}, Grid(1), 30, 12)), "3,3,29,11");
    EXPECT_EQ(Str(SnapRectEndToGridClamped({-3, 3, 5, 5}, Grid(0), 30, 12)), "0,3,5,5");
}

TEST(RectsTest, GridSnapActive) {
    struct Case {
        GridSnap grid;
        int result;
    };
    const Case cases[] = {
        {Grid(0), 0}, {Grid(2), 1}, {Grid(1), 0}, {Grid(3, 16, 8), 1}, {Grid(3, 16, 16), 0}, {Grid(3, 8, 16), 0},
    };
    for (const Case& c : cases) {
        DibRect r{9, 0, 2, 0};
        EXPECT_EQ(GridSnapActive(r, c.grid), c.result) << c.grid.flags << " " << c.grid.subWidth;
        EXPECT_EQ(r.left, 2);
        EXPECT_EQ(r.right, 9);
    }
}

TEST(RectsTest, SnapPointGoesToTheNearestLineAndBackOnATie) {
    struct Case {
        std::string what;
        ImagePoint in;
        GridSnap grid;
        int axes;
        ImagePoint out;
    };
    const Case cases[] = {
        {"no snap", {5, 5}, Grid(0), kSnapBoth, {5, 5}},
        {"forward when nearer", {5, 3}, Grid(1, 8), kSnapBoth, {8, 0}},
        {"tie moves back", {4, 12}, Grid(1, 8), kSnapBoth, {0, 8}},
        {"on a line stays", {16, 8}, Grid(1, 8), kSnapBoth, {16, 8}},
        {"x only", {5, 5}, Grid(1, 8), kSnapX, {8, 5}},
        {"y only", {5, 5}, Grid(1, 8), kSnapY, {5, 8}},
        {"nearest of both grids", {13, 13}, Grid(3, 16, 6), kSnapBoth, {12, 12}},
        {"sub grid alone", {13, 14}, Grid(2, 16, 6), kSnapBoth, {12, 12}},
        {"left of the image", {-3, -5}, Grid(1, 8), kSnapBoth, {0, -8}},
    };
    for (const Case& c : cases) {
        ImagePoint p = SnapPoint(c.in, c.grid, c.axes);
        EXPECT_EQ(p.x, c.out.x) << c.what;
        EXPECT_EQ(p.y, c.out.y) << c.what;
    }
    // Heights snap y independently of widths.
    GridSnap tall{1, 4, 10, 8, 8};
    EXPECT_EQ(SnapPoint({3, 3}, tall), (ImagePoint{4, 0}));
}

TEST(RectsTest, RepaintCoversTheZoomedRectangleAndItsCentredCopy) {
    ClientRepaint plain = ImageToClientRect({1, 2, 3, 5}, 4, 8, 0, 0, 0);
    ASSERT_EQ(plain.count, 1);
    EXPECT_EQ(Str(plain.rects[0]), "-4,8,4,20");
    ClientRepaint centred = ImageToClientRect({1, 2, 3, 5}, 2, 0, 0, 30, 10);
    ASSERT_EQ(centred.count, 2);
    EXPECT_EQ(Str(centred.rects[0]), "2,4,6,10");
    EXPECT_EQ(Str(centred.rects[1]), "32,14,36,20");
}

}  // namespace
