#include "dib_test_util.h"

using namespace kvtest;

namespace {

class DibScale : public ImagingTest {};

uint32_t Rgb(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

}  // namespace

TEST_F(DibScale, SevenToThreeWeighsTheEdgesFractionally) {
    std::vector<uint32_t> row;
    for (int v = 10; v <= 70; v += 10) row.push_back(Rgb(v, 2 * v, 255 - v));
    MemHandle src = MakeDib24({row});
    MemHandle out = ScaleDibToRgb24(src, 3, 1);
    Blocks blocks{out};
    ASSERT_NE(out, nullptr);
    EXPECT_FALSE(MemIsValid(src));
    // Destination pixels cover source [0, 7/3), [7/3, 14/3), [14/3, 7): weights
    // 1, 1, 1/3 | 2/3, 1, 2/3 | 1/3, 1, 1 of the source pixels.
    EXPECT_EQ(Pixel24(out, 0, 0), Rgb(17, 34, 237));   // 120/7, 240/7, 1665/7
    EXPECT_EQ(Pixel24(out, 1, 0), Rgb(40, 80, 215));   // exactly 280/7, 560/7, 1505/7
    EXPECT_EQ(Pixel24(out, 2, 0), Rgb(62, 125, 192));  // 440/7, 880/7, 1345/7
}

TEST_F(DibScale, SevenToThreeVertically) {
    std::vector<std::vector<uint32_t>> rows;
    for (int v = 10; v <= 70; v += 10) rows.push_back({Rgb(v, 0, 0)});
    MemHandle out = ScaleDibToRgb24(MakeDib24(rows), 1, 3);
    Blocks blocks{out};
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(Pixel24(out, 0, 0), Rgb(17, 0, 0));  // top rows first
    EXPECT_EQ(Pixel24(out, 0, 1), Rgb(40, 0, 0));
    EXPECT_EQ(Pixel24(out, 0, 2), Rgb(62, 0, 0));
}

struct SizeCase {
    int oldW, oldH, newW, newH;
};

class ScaleSizes : public ImagingTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ScaleSizes, ResultHasExactlyTheRequestedSizeAndKeepsAFlatColour) {
    const SizeCase& c = GetParam();
    std::vector<std::vector<uint32_t>> rows(size_t(c.oldH), std::vector<uint32_t>(size_t(c.oldW), 0x3c7bb1));
    MemHandle out = ScaleDibToRgb24(MakeDib24(rows), c.newW, c.newH);
    Blocks blocks{out};
    ASSERT_NE(out, nullptr);
    DibInfoHeader info = Info(out);
    EXPECT_EQ(info.width, c.newW);
    EXPECT_EQ(info.height, c.newH);
    EXPECT_EQ(info.bitCount, 24);
    EXPECT_EQ(info.clrUsed, 0u);
    EXPECT_EQ(MemSize(out), 40 + dib::PaddedRowBytes(c.newW, 24) * size_t(c.newH));
    for (int y = 0; y < c.newH; ++y)
        for (int x = 0; x < c.newW; ++x) ASSERT_EQ(Pixel24(out, x, y), 0x3c7bb1u) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScaleSizes,
                         ::testing::Values(SizeCase{11, 3, 15, 3}, SizeCase{7, 7, 3, 3},
                                           SizeCase{3, 11, 3, 15}, SizeCase{10, 10, 3, 7},
                                           SizeCase{1, 1, 5, 4}, SizeCase{13, 1, 1, 1}));

TEST_F(DibScale, LargeSourcesUseWideSums) {
    // 4200 x 4100 x 255 does not fit 32 bits.
    MemHandle src = CreateDib8(4200, 4100, 0);
    ASSERT_NE(src, nullptr);
    SetEntry(src, 0, 0xfefdfc);
    MemHandle out = ScaleDibToRgb24(src, 3, 2);
    Blocks blocks{out};
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(Pixel24(out, 0, 0), 0xfefdfcu);
    EXPECT_EQ(Pixel24(out, 2, 1), 0xfefdfcu);
}

TEST_F(DibScale, EightBitThroughItsColourTable) {
    MemHandle src = MakeDib8({{1, 2}, {2, 1}});
    SetEntry(src, 1, 0x102030);
    SetEntry(src, 2, 0x305070);
    MemHandle out = ScaleDibToRgb24(src, 4, 2);
    Blocks blocks{out};
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(Pixel24(out, 0, 0), 0x102030u);
    EXPECT_EQ(Pixel24(out, 1, 0), 0x102030u);
    EXPECT_EQ(Pixel24(out, 2, 0), 0x305070u);
    EXPECT_EQ(Pixel24(out, 3, 1), 0x102030u);

    MemHandle half = ScaleDibToRgb24(MakeDib8({{1, 2}}), 1, 1);
    blocks(half);
    // Entries of the new image default to black: (0 + 0) / 2.
    EXPECT_EQ(Pixel24(half, 0, 0), 0u);
}

TEST_F(DibScale, UnpaddedTwentyFourBitSourceIsRead) {
    MemHandle src = MakeDib24({{0x010203, 0x040506, 0x070809}, {0x0a0b0c, 0x0d0e0f, 0x101112}}, false);
    MemHandle out = ScaleDibToRgb24(src, 3, 2);
    Blocks blocks{out};
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(Pixel24(out, 2, 0), 0x070809u);
    EXPECT_EQ(Pixel24(out, 0, 1), 0x0a0b0cu);
}

TEST_F(DibScale, RefusalsKeepTheSource) {
    Blocks blocks;
    std::vector<MemHandle> unsupported = {MakeDib4({{1, 2}}), MakeDib1({{1}}), CreateDib8(2, 2, 2),
                                          CreateDib8(2, 2, 4)};
    for (MemHandle h : unsupported) {
        blocks(h);
        EXPECT_EQ(ScaleDibToRgb24(h, 4, 4), nullptr);
        EXPECT_TRUE(MemIsValid(h));
    }
    MemHandle img = blocks(MakeDib8(3, 3));
    EXPECT_EQ(ScaleDibToRgb24(img, 0, 4), nullptr);
    EXPECT_EQ(ScaleDibToRgb24(img, 4, -1), nullptr);
    EXPECT_TRUE(MemIsValid(img));
    EXPECT_EQ(ScaleDibToRgb24(nullptr, 4, 4), nullptr);

    // A header claiming more rows than the block holds.
    MemHandle lying = blocks(MakeDib24({{1, 2}}));
    {
        MemLockGuard l(lying);
        l.as<DibInfoHeader>()->height = 5000;
    }
    EXPECT_EQ(ScaleDibToRgb24(lying, 2, 2), nullptr);
    EXPECT_TRUE(MemIsValid(lying));

    LimitRoom(100);
    EXPECT_EQ(ScaleDibToRgb24(img, 40, 40), nullptr);
    EXPECT_TRUE(MemIsValid(img));
}
