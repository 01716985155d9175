// The gradient engines through the probe: t at chosen pixels for both
// shapes, clamping, equal points, points far out of the picture, and the
// two-colour engine's tone masks with their top-down rows.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "imaging/dib_create.h"
#include "imaging/dib_layout.h"
#include "platform/memory.h"
#include "platform/module.h"
#include "plugins/gradate/gradient.h"  // the GradParam record only

namespace {

using NewRgbFn = RgbBuffer* (*)(int, int);
using FreeRgbFn = void (*)(RgbBuffer*);
using InitFn = bool (*)(GradParam*, MemHandle, int, int, int, int, int, int);
using RgbFn = RgbBuffer* (*)(const RgbBuffer*, const GradParam*, int, const uint8_t*);
using IndexFn = bool (*)(MemHandle, MemHandle, MemHandle, const GradParam*, int);

constexpr int kWidth = 16, kHeight = 8;

class GradientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(probe) << ModLastError();
        image = CreateDib8(kWidth, kHeight, 0);
        MemLockGuard lock(image);
        auto* table = reinterpret_cast<PaletteEntry*>(lock.get() + 40);
        table[1] = {200, 100, 40, 0};  // blue, green, red
    }
    void TearDown() override { MemFree(image); }

    GradParam Param(int sx, int sy, int ex, int ey, int startIndex = 0, int endIndex = 1) {
        GradParam p{};
        EXPECT_TRUE(probe.symbol<InitFn>("ProbeInitGradParam")(&p, image, startIndex, endIndex, sx, sy, ex, ey));
        return p;
    }
    // The 24-bit gradient's blue, green, red at (x, bottom-up row y).
    std::vector<int> ColorAt(const GradParam& p, int shape, int x, int y) {
        RgbBuffer* work = probe.symbol<NewRgbFn>("ProbeNewRgb")(kWidth, kHeight);
        RgbBuffer* out = probe.symbol<RgbFn>("ProbeGradientRgb")(work, &p, shape, nullptr);
        const uint8_t* px = out->data + y * out->stride + 3 * x;
        std::vector<int> c{px[0], px[1], px[2]};
        probe.symbol<FreeRgbFn>("ProbeFreeRgb")(out);
        probe.symbol<FreeRgbFn>("ProbeFreeRgb")(work);
        return c;
    }

    MemHandle image = nullptr;
    platform::Module probe{GRADATE_PROBE};
};

TEST_F(GradientTest, ColoursAtChosenPixels) {
    struct Case {
        const char* name;
        int shape, sx, sy, ex, ey, x, y;
        std::vector<int> bgr;
    };
    const std::vector<int> start{0, 0, 0}, end{200, 100, 40}, half{100, 50, 20};
    for (const Case& c : {
             Case{"linear, half way", kGradLinear, 0, 0, 10, 0, 5, 3, half},
             Case{"linear, at the start", kGradLinear, 0, 0, 10, 0, 0, 7, start},
             Case{"linear, before the start", kGradLinear, 4, 0, 10, 0, 1, 0, start},
             Case{"linear, past the end", kGradLinear, 0, 0, 10, 0, 12, 1, end},
             Case{"linear, upward, a fifth", kGradLinear, 0, 0, 0, 10, 7, 2, {40, 20, 8}},
             Case{"linear, diagonal", kGradLinear, 0, 0, 4, 4, 3, 1, half},
             Case{"circular, 0.6", kGradCircular, 0, 0, 3, 4, 3, 0, {120, 60, 24}},
             Case{"circular, at the end", kGradCircular, 0, 0, 3, 4, 3, 4, end},
             Case{"circular, past the end", kGradCircular, 0, 0, 3, 4, 9, 7, end},
             Case{"circular, at the start", kGradCircular, 2, 2, 3, 4, 2, 2, start},
             // 200000^2 does not fit 32 bits.
             Case{"linear, points far out", kGradLinear, -100000, 0, 100000, 0, 0, 5, half},
             Case{"circular, points far out", kGradCircular, -100000, 3, 100000, 3, 0, 3, half},
         }) {
        EXPECT_EQ(ColorAt(Param(c.sx, c.sy, c.ex, c.ey), c.shape, c.x, c.y), c.bgr) << c.name;
    }
}

TEST_F(GradientTest, EqualPoints) {
    const GradParam p = Param(5, 5, 5, 5);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            EXPECT_EQ(ColorAt(p, kGradLinear, x, y), (std::vector<int>{0, 0, 0})) << x << "," << y;
            const std::vector<int> circular = x == 5 && y == 5 ? std::vector<int>{0, 0, 0}
                                                                : std::vector<int>{200, 100, 40};
            EXPECT_EQ(ColorAt(p, kGradCircular, x, y), circular) << x << "," << y;
        }
}

TEST_F(GradientTest, InitRefusesImagesThatAreNotIndexed) {
    MemHandle rgb = CreateDib8(4, 4, 3);
    GradParam p{};
    p.startX = 77;
    EXPECT_FALSE(probe.symbol<InitFn>("ProbeInitGradParam")(&p, rgb, 0, 1, 0, 0, 1, 1));
    EXPECT_EQ(p.startX, 77);
    MemFree(rgb);
}

// The two-colour engine on an 8 x 6 layer, rows written top-down:
// 's' the start index, 'E' the end index.
TEST_F(GradientTest, TwoColourMasks) {
    constexpr int w = 8, h = 6;
    MemHandle small = CreateDib8(w, h, 0);
    auto newLayer = [&] {
        MemHandle layer = MemAlloc(LAYER_HEADER_SIZE + 8 * h);
        MemLockGuard lock(layer);
        lock.as<LayerHeader>()->right = w;
        lock.as<LayerHeader>()->bottom = h;
        std::memset(lock.get() + LAYER_HEADER_SIZE, 77, 8 * h);
        return layer;
    };
    MemHandle layer = newLayer(), copy = newLayer();
    struct Case {
        const char* name;
        int sx, ex;
        std::vector<std::string> rows;
    };
    const std::string s(w, 's'), e(w, 'E');
    for (const Case& c : {
             Case{"t = 0", 100, 200, {s, s, s, s, s, s}},
             Case{"t = 1", -200, -100, {e, e, e, e, e, e}},
             // 0 < t < 1/8: mask 0x0001, bit 0 is column 0 of the block's last row.
             Case{"t just above 0", -1, 99, {s, s, s, "EsssEsss", s, s}},
             // t = 0.5: mask 0xA5A5, every second pixel.
             Case{"t = 0.5", -1000, 1000,
                  {"sEsEsEsE", "EsEsEsEs", "sEsEsEsE", "EsEsEsEs", "sEsEsEsE", "EsEsEsEs"}},
         }) {
        GradParam p{};
        ASSERT_TRUE(probe.symbol<InitFn>("ProbeInitGradParam")(&p, small, 3, 9, c.sx, 2, c.ex, 2));
        ASSERT_TRUE(probe.symbol<IndexFn>("ProbeGradientIndex")(small, layer, copy, &p, kGradLinear));
        MemLockGuard lock(copy);
        std::vector<std::string> rows;
        for (int top = 0; top < h; ++top) {
            const uint8_t* row = lock.get() + LAYER_HEADER_SIZE + (h - 1 - top) * 8;
            std::string text;
            for (int x = 0; x < w; ++x) text += row[x] == 9 ? 'E' : (row[x] == 3 ? 's' : '?');
            rows.push_back(text);
        }
        EXPECT_EQ(rows, c.rows) << c.name;
    }
    // Equal points: a zero length counts as 1 (circular: the end index but at the point).
    GradParam p{};
    ASSERT_TRUE(probe.symbol<InitFn>("ProbeInitGradParam")(&p, small, 3, 9, 2, 2, 2, 2));
    ASSERT_TRUE(probe.symbol<IndexFn>("ProbeGradientIndex")(small, layer, copy, &p, kGradCircular));
    {
        MemLockGuard lock(copy);
        const uint8_t* px = lock.get() + LAYER_HEADER_SIZE;
        EXPECT_EQ(px[2 * 8 + 2], 3);
        EXPECT_EQ(px[2 * 8 + 3], 9);
        EXPECT_EQ(px[0], 9);
    }
    MemFree(layer);
    MemFree(copy);
    MemFree(small);
}

}  // namespace
