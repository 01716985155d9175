// Nearest palette colour and the windowed area resampling.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "imaging/area_resample.h"
#include "imaging/palette_match.h"

namespace {

PaletteEntry Bgr(int b, int g, int r) { return {uint8_t(b), uint8_t(g), uint8_t(r), 0}; }

TEST(NearestColor, LeastDistanceLowestIndexOnTiesAndNoneAtTheBound) {
    const PaletteEntry table[] = {Bgr(255, 255, 255), Bgr(0, 0, 20), Bgr(0, 20, 0), Bgr(0, 0, 20)};
    struct Case {
        int count, b, g, r, want;
    };
    const Case cases[] = {
        {4, 0, 10, 10, 1},   // 1 and 2 both at 200: the lower index
        {4, 0, 0, 20, 1},    // 1 and 3 the same colour
        {4, 0, 0, 0, 1},     // white is far, 1 nearer
        {1, 0, 0, 0, -1},    // white alone is 3 x 255 x 255 away: not below the bound
        {1, 1, 0, 0, 0},     // one step nearer
        {0, 9, 9, 9, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dib::NearestColorIndex(table, c.count, uint8_t(c.b), uint8_t(c.g), uint8_t(c.r)), c.want)
            << c.count << " " << c.b << "," << c.g << "," << c.r;
        dib::NearestColorCache cache(table, c.count);
        for (int twice = 0; twice < 2; ++twice)
            EXPECT_EQ(cache.Find(uint8_t(c.b), uint8_t(c.g), uint8_t(c.r)), c.want);
    }
}

// The cache searches its own ordering of the table: it must give exactly
// NearestColorIndex's answers, ties and repeated entries included.
TEST(NearestColor, CacheAgreesWithTheFullSearch) {
    std::mt19937 random(7);
    for (int count : {1, 2, 16, 200, 256}) {
        std::vector<PaletteEntry> table;
        for (int i = 0; i < count; ++i) {
            // Coarse values make ties and equal greens common; some repeats.
            if (i > 0 && random() % 5 == 0) table.push_back(table[random() % table.size()]);
            else table.push_back(Bgr(int(random() % 9) * 32, int(random() % 9) * 32, int(random() % 9) * 32));
        }
        dib::NearestColorCache cache(table.data(), count);
        for (int n = 0; n < 20000; ++n) {
            int b = int(random() % 256), g = int(random() % 256), r = int(random() % 256);
            if (n % 2) b = b / 16 * 16, g = g / 16 * 16, r = r / 16 * 16;  // halfway points
            ASSERT_EQ(cache.Find(uint8_t(b), uint8_t(g), uint8_t(r)),
                      dib::NearestColorIndex(table.data(), count, uint8_t(b), uint8_t(g), uint8_t(r)))
                << count << " " << b << "," << g << "," << r;
        }
    }
}

TEST(AreaResample, AWindowGivesThePixelsOfTheWholeResult) {
    const int ow = 7, oh = 5, nw = 11, nh = 3;
    auto source = [&](int y, uint8_t* bgr) {
        for (int x = 0; x < ow; ++x)
            for (int c = 0; c < 3; ++c) bgr[3 * x + c] = uint8_t(x * 31 + y * 17 + c * 50);
    };
    std::vector<uint8_t> whole(size_t(nw * nh * 3));
    dib::AreaResample(ow, oh, nw, nh, {0, 0, nw, nh}, source, [&](int y, const uint8_t* bgr) {
        std::copy_n(bgr, nw * 3, whole.begin() + y * nw * 3);
    });
    // Window columns 3..8 of rows 1..2, and a window reaching past the size.
    for (DibRect w : {DibRect{3, 1, 9, 3}, DibRect{-4, 2, 20, 9}}) {
        int l = std::max(w.left, 0), r = std::min(w.right, nw);
        std::vector<int> rows;
        dib::AreaResample(ow, oh, nw, nh, w, source, [&](int y, const uint8_t* bgr) {
            rows.push_back(y);
            for (int i = 0; i < (r - l) * 3; ++i)
                ASSERT_EQ(bgr[i], whole[size_t(y * nw * 3 + l * 3 + i)]) << y << " " << i;
        });
        EXPECT_EQ(rows.front(), std::max(w.top, 0));
        EXPECT_EQ(rows.back(), std::min(w.bottom, nh) - 1);
    }
}

}  // namespace
