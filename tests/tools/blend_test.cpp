// The tone blend of documents without layers: the mix by weight and the
// widening search for a matching palette entry.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "tools/blend.h"

namespace {

using tools::ResolveDrawColor;

struct Palette {
    std::array<PaletteEntry, 256> e{};
    // Unused entries far from anything the cases look for.
    Palette() { e.fill({255, 0, 255, 0}); }
    void Set(int i, int r, int g, int b) { e[size_t(i)] = {uint8_t(b), uint8_t(g), uint8_t(r), 0}; }
};

TEST(BlendTest, SearchWidensByFiveUntilAnEntryMatches) {
    // Old black, drawing colour (200, 100, 40), pattern 13 (weight 1825):
    // the blend is (36, 18, 7).
    struct Case {
        std::string what;
        int candidate, r, g, b;  // the one entry that can match
        int other, orR, orG, orB;  // an earlier entry, or -1
        int expected;
    };
    const Case cases[] = {
        {"within 5 on the first pass", 5, 40, 18, 7, -1, 0, 0, 0, 5},
        {"exactly 5 away waits for the second pass", 5, 41, 18, 7, -1, 0, 0, 0, 5},
        {"lowest index wins within one pass", 9, 36, 18, 7, 6, 36, 18, 10, 6},
        {"a nearer entry wins when only it is inside t", 9, 36, 18, 7, 6, 36, 18, 17, 9},
        {"the third pass uses 15", 5, 50, 18, 7, -1, 0, 0, 0, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Palette p;
        p.Set(0, 0, 0, 0);
        p.Set(1, 200, 100, 40);
        p.Set(c.candidate, c.r, c.g, c.b);
        if (c.other >= 0) p.Set(c.other, c.orR, c.orG, c.orB);
        // The old and drawing colours themselves are far from the blend.
        EXPECT_EQ(ResolveDrawColor(p.e.data(), 256, 13, 0, 1), c.expected);
    }
}

TEST(BlendTest, MixTruncatesTowardZero) {
    // Old 200, drawing 0, weight 1825: 200 - 36.5 truncates to 164, not 163.
    Palette p;
    p.Set(0, 200, 200, 200);
    p.Set(1, 0, 0, 0);
    p.Set(7, 168, 168, 168);  // 4 from 164, 5 from 163
    p.Set(8, 163, 163, 163);
    EXPECT_EQ(ResolveDrawColor(p.e.data(), 256, 13, 0, 1), 7);
}

TEST(BlendTest, SixteenColourDocumentsSearchTheFirstSixteenEntries) {
    Palette p;
    p.Set(0, 0, 0, 0);
    p.Set(1, 200, 200, 200);
    p.Set(20, 100, 100, 100);   // the exact half blend, out of reach
    p.Set(12, 112, 112, 112);   // 12 away: third pass
    EXPECT_EQ(ResolveDrawColor(p.e.data(), 256, 8, 0, 1), 20);
    EXPECT_EQ(ResolveDrawColor(p.e.data(), 16, 8, 0, 1), 12);
}

TEST(BlendTest, FullToneReturnsTheDrawingColour) {
    Palette p;
    EXPECT_EQ(ResolveDrawColor(p.e.data(), 256, 0, 3, 77), 77);
}

}  // namespace
