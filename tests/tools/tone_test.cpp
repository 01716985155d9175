// Tone levels, their commands, the dither patterns and the mask anchored to
// image coordinates.
#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "canvas.h"
#include "tools/draw_ops.h"
#include "tools/tone.h"

namespace {

using namespace tools;
using toolstest::Canvas;
using toolstest::LayerSetup;

TEST(ToneTest, EveryPatternHasItsBitCountAndRepeatsEveryFourPixels) {
    for (int p = 0; p < kToneLevels; ++p) {
        SCOPED_TRACE(p);
        int bits = 0;
        for (int r = 0; r < 16; ++r) {
            uint16_t row = TonePatterns[size_t(p)][size_t(r)];
            bits += std::popcount(row);
            EXPECT_EQ(row, TonePatterns[size_t(p)][size_t(r % 4)]);
            // Four equal nibbles: period 4 across as well.
            EXPECT_EQ(row, uint16_t((row & 0xF) * 0x1111));
        }
        EXPECT_EQ(bits, 256 - 16 * p);
    }
}

TEST(ToneTest, CommandsSetLevelPatternAndMenuText) {
    struct Case {
        int id, level, pattern;
        const char* text;
    };
    const Case cases[] = {
        {636, 0, 15, "6.25%"}, {637, 1, 14, "12.5%"}, {638, 2, 13, "18.25%"}, {643, 7, 8, "50%"},
        {644, 8, 7, "56.25%"}, {650, 14, 1, "93.75%"}, {651, 15, 0, "100%"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ASSERT_TRUE(IsToneCommand(c.id));
        EXPECT_EQ(ToneLevelOfCommand(c.id), c.level);
        EXPECT_EQ(TonePatternOfCommand(c.id), c.pattern);
        EXPECT_EQ(TonePatternOfLevel(c.level), c.pattern);
        EXPECT_EQ(ToneCommandOfLevel(c.level), c.id);
        EXPECT_EQ(std::string(ToneCommandText(c.id)), c.text);
    }
    EXPECT_EQ(ToneCommandText(635), nullptr);
    EXPECT_EQ(ToneCommandText(652), nullptr);
}

TEST(ToneTest, AViewStartsSolidAndFollowsItsCommands) {
    ToneState tone;
    EXPECT_EQ(tone.level, 15);
    EXPECT_EQ(tone.pattern, 0);
    EXPECT_TRUE(tone.Checks(651));
    EXPECT_TRUE(tone.Choose(640));
    EXPECT_EQ(tone.level, 4);
    EXPECT_EQ(tone.pattern, 11);
    EXPECT_TRUE(tone.Checks(640));
    EXPECT_FALSE(tone.Checks(651));
    EXPECT_FALSE(tone.Choose(652));
    EXPECT_EQ(tone.level, 4);
}

TEST(ToneTest, WeightsStepBy625ButEntryThirteen) {
    for (int p = 0; p < kToneLevels; ++p)
        EXPECT_EQ(ToneWeights[size_t(p)], p == 13 ? 1825 : 10000 - 625 * p) << p;
}

TEST(ToneTest, MaskHoldsTheColourWhereThePatternIsSet) {
    ToneMask mask(15, 42);  // 8888 0000 0000 0000
    EXPECT_EQ(mask.At(0, 0), 42);
    EXPECT_EQ(mask.At(4, 0), 42);
    EXPECT_EQ(mask.At(1, 0), -1);
    EXPECT_EQ(mask.At(0, 1), -1);
    EXPECT_EQ(mask.At(16, 16), 42);  // wraps every 16 pixels
    ToneMask solid(0, 7);
    for (int16_t v : solid.entries()) EXPECT_EQ(v, 7);
}

// Fills a 16 x 16 block from (x0, y0) on layer 0 at a tone level.
void FillBlock(Canvas& c, int level, int x0, int y0) {
    c.target.SetTone(TonePatternOfLevel(level), false, 9, 0);
    for (int y = y0; y < y0 + 16; ++y) FillSpan(c.target, x0, y, 16);
}

TEST(ToneTest, HalfToneIsACheckerboardAnchoredAtEvenImageCoordinates) {
    // Whatever the block's start, set pixels are those with x + y even.
    for (auto [x0, y0] : {std::pair{0, 0}, {3, 5}, {1, 0}, {7, 2}}) {
        SCOPED_TRACE(testing::Message() << x0 << "," << y0);
        Canvas c(40, 40, {LayerSetup{}});
        FillBlock(c, 7, x0, y0);
        for (int y = y0; y < y0 + 16; ++y)
            for (int x = x0; x < x0 + 16; ++x) {
                uint8_t want = (x + y) % 2 == 0 ? 9 : 0;
                ASSERT_EQ(c.LayerAt(0, x, y), want) << x << "," << y;
                ASSERT_EQ(c.At(x, y), want) << x << "," << y;
            }
    }
}

TEST(ToneTest, SinglePixelsFollowTheSameAnchoredMask) {
    Canvas c(20, 20, {LayerSetup{}});
    c.target.SetTone(TonePatternOfLevel(7), false, 9, 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) WritePixel(c.target, x, y);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(c.LayerAt(0, x, y), (x + y) % 2 == 0 ? 9 : 0);
}

TEST(ToneTest, FullLevelIsSolidAndDropsNothingElse) {
    Canvas c(20, 20, {LayerSetup{}});
    FillBlock(c, 15, 2, 2);
    for (int y = 2; y < 18; ++y)
        for (int x = 2; x < 18; ++x) ASSERT_EQ(c.LayerAt(0, x, y), 9);
}

TEST(ToneTest, StartingAnOperationDropsToneFlagAndSecondColourBelowFullLevel) {
    DrawTarget t;
    t.SetTone(0, true, 5, 6);
    EXPECT_TRUE(t.directWrite);
    EXPECT_EQ(t.color2, 6);
    t.SetTone(3, true, 5, 6);
    EXPECT_FALSE(t.directWrite);
    EXPECT_EQ(t.color2, 0);
    EXPECT_EQ(t.color, 5);
}

}  // namespace
