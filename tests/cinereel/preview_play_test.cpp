// The preview's frame rules without windows: the play order, the placement
// by base position and the clipped copy of a frame out of layer 0.
#include <gtest/gtest.h>

#include "plugins/cinereel/preview_play.h"

namespace {

using cinereel::Offset;

TEST(PreviewPlay, PlacesA10x6FrameInA32x16LargestByBasePosition) {
    const Offset expected[10] = {{0, 0}, {11, 0}, {22, 0}, {0, 5}, {11, 5}, {22, 5}, {0, 10}, {11, 10}, {22, 10}, {0, 0}};
    for (int p = 0; p < 10; ++p) EXPECT_EQ(cinereel::PlaceFrame(p, 32, 16, 10, 6), expected[p]) << p;
    EXPECT_EQ(cinereel::PlaceFrame(-1, 32, 16, 10, 6), (Offset{0, 0}));
}

TEST(PreviewPlay, RecountTakesTheNonEmptyFramesAndTheirLargestSize) {
    SheetFrame frames[kSheetFrames] = {};
    frames[2] = {0, 0, 50, 0, 100, 0};   // 50 x 0: empty
    frames[3] = {0, 0, 20, 4, 100, 0};
    frames[7] = {5, 5, 9, 35, 100, 0};
    cinereel::PlayOrder order = cinereel::Recount(frames);
    EXPECT_EQ(order.frames, (std::vector<int>{3, 7}));
    EXPECT_EQ(order.width, 20);
    EXPECT_EQ(order.height, 30);
}

TEST(PreviewPlay, CopyReadsOnlyInsideTheImageAndTheTarget) {
    // A 4 x 3 image, rows bottom-up with stride 4: pixel (x, y) = 10 y + x + 1.
    uint8_t bits[12];
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) bits[(2 - y) * 4 + x] = uint8_t(10 * y + x + 1);
    uint8_t dst[5 * 4];
    std::fill(std::begin(dst), std::end(dst), 0xEE);
    const SheetFrame half{2, 1, 6, 5, 100, 0};  // 4 x 4, half outside to the right and below
    cinereel::CopyFrame(bits, 4, 4, 3, half, dst, 5, 5, 4, 1, 0);
    const uint8_t expected[20] = {0xEE, 13, 14, 0xEE, 0xEE, 0xEE, 23, 24, 0xEE, 0xEE,
                                  0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_TRUE(std::equal(std::begin(dst), std::end(dst), expected));
    const SheetFrame before{-2, -1, 2, 2, 100, 0};  // left of and above the image
    std::fill(std::begin(dst), std::end(dst), 0);
    cinereel::CopyFrame(bits, 4, 4, 3, before, dst, 5, 5, 4, 0, 0);
    EXPECT_EQ(dst[5 * 1 + 2], 1);
    EXPECT_EQ(dst[5 * 1 + 3], 2);
    EXPECT_EQ(dst[5 * 0 + 2], 0);
    EXPECT_EQ(dst[5 * 1 + 1], 0);
}

}  // namespace
