// BitPlane alone: strides and colours by depth, pixels in and out of the
// plane, refused values, colours through the palette or the bytes, and an
// own block that cannot be had.
#include <gtest/gtest.h>

#include <vector>

#include "platform/memory.h"
#include "plugins/floodkit/bit_plane.h"

namespace {

TEST(BitPlaneTest, DepthsGiveStridesColoursAndPixelRules) {
    struct Case {
        int bits;
        int stride;  // of width 13
        int colors;
        int maxValue;  // -1: no indexed pixels
    };
    const Case cases[] = {{1, 2, 2, 1}, {4, 8, 16, 15}, {8, 16, 256, 255}, {24, 40, 0, -1}, {32, 52, 0, -1}, {7, 0, 0, -1}};
    std::vector<PaletteEntry> palette(256);
    for (int i = 0; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0};
    for (const Case& c : cases) {
        BitPlane plane(13, 5, c.bits, nullptr, palette.data());
        EXPECT_EQ(plane.GetBitCount(), c.bits == 7 ? 0 : c.bits);
        EXPECT_EQ(plane.GetColorInfo(), c.colors) << c.bits;
        EXPECT_EQ(plane.GetRowInfo(true), c.stride) << c.bits;
        EXPECT_EQ(plane.GetRowInfo(false), 13);
        EXPECT_EQ(plane.GetHeight(), 5);
        EXPECT_EQ(plane.Valid(), c.bits != 7) << c.bits;
        if (c.maxValue < 0) {
            EXPECT_FALSE(plane.SetPixel(3, 2, 1)) << c.bits;
            EXPECT_EQ(plane.GetPixel(3, 2), -1) << c.bits;
            continue;
        }
        EXPECT_TRUE(plane.SetPixel(12, 4, c.maxValue));
        EXPECT_EQ(plane.GetPixel(12, 4), c.maxValue);
        EXPECT_FALSE(plane.SetPixel(11, 4, c.maxValue + 1));
        EXPECT_FALSE(plane.SetPixel(11, 4, -1));
        EXPECT_EQ(plane.GetPixel(11, 4), 0);
        for (auto [x, y] : {std::pair{-1, 0}, {13, 0}, {0, -1}, {0, 5}}) {
            EXPECT_FALSE(plane.SetPixel(x, y, 1)) << c.bits << " " << x << "," << y;
            EXPECT_EQ(plane.GetPixel(x, y), -1);
        }
        plane.Clear();
        EXPECT_EQ(plane.GetPixel(12, 4), 0);
    }
}

TEST(BitPlaneTest, PixelLayoutOfOneAndFourBits) {
    uint8_t bits[2] = {};
    BitPlane one(13, 1, 1, bits, nullptr);
    one.SetPixel(0, 0, 1);
    one.SetPixel(9, 0, 1);
    EXPECT_EQ(bits[0], 0x80);
    EXPECT_EQ(bits[1], 0x40);
    one.SetPixel(0, 0, 0);
    EXPECT_EQ(bits[0], 0);
    uint8_t nibbles[4] = {};
    BitPlane four(5, 1, 4, nibbles, nullptr);
    four.SetPixel(0, 0, 0xa);
    four.SetPixel(1, 0, 0x5);
    four.SetPixel(4, 0, 0xc);
    EXPECT_EQ(nibbles[0], 0xa5);
    EXPECT_EQ(nibbles[2], 0xc0);
}

TEST(BitPlaneTest, ColoursThroughThePaletteOrFromTheBytes) {
    std::vector<PaletteEntry> palette(256);
    for (int i = 0; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(255 - i), 7, 0};
    uint8_t indexed[4] = {0, 200, 0, 0};
    BitPlane eight(2, 1, 8, indexed, palette.data());
    PaletteEntry c{};
    ASSERT_TRUE(eight.GetColor(1, 0, &c));
    EXPECT_EQ(c.blue, 200);
    EXPECT_EQ(c.green, 55);
    EXPECT_FALSE(eight.GetColor(2, 0, &c));
    EXPECT_TRUE(eight.PaletteColor(255, &c));
    EXPECT_FALSE(eight.PaletteColor(256, &c));
    BitPlane sixteen(2, 1, 4, indexed, palette.data());
    EXPECT_TRUE(sixteen.PaletteColor(15, &c));
    EXPECT_FALSE(sixteen.PaletteColor(16, &c));
    BitPlane none(2, 1, 8, indexed, nullptr);
    EXPECT_FALSE(none.GetColor(1, 0, &c));

    uint8_t bgr[8] = {1, 2, 3, 4, 5, 6, 0, 0};
    BitPlane rgb(2, 1, 24, bgr, nullptr);
    ASSERT_TRUE(rgb.GetColor(1, 0, &c));
    EXPECT_EQ(c.blue, 4);
    EXPECT_EQ(c.green, 5);
    EXPECT_EQ(c.red, 6);
    BitPlane rgba(2, 1, 32, bgr, nullptr);
    ASSERT_TRUE(rgba.GetColor(1, 0, &c));
    EXPECT_EQ(c.blue, 5);
}

TEST(BitPlaneTest, AnOwnBlockThatCannotBeHadLeavesNoPlane) {
    const size_t blocks = MemBlockCount();
    MemSetLimit(MemBytesInUse() + 100);
    {
        BitPlane big(400, 400, 8, nullptr, nullptr);
        EXPECT_FALSE(big.Valid());
        EXPECT_FALSE(big.SetPixel(0, 0, 1));
        EXPECT_EQ(big.GetPixel(0, 0), -1);
        big.Clear();
        BitPlane small(40, 2, 8, nullptr, nullptr);
        EXPECT_TRUE(small.Valid());
    }
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_EQ(MemBlockCount(), blocks);
}

}  // namespace
