// The HSV conversions, the band weights, the tone adjustment and the palette
// copies, through a plug-in carrying them that is loaded for real.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "imaging/dib_create.h"
#include "platform/memory.h"
#include "platform/message_box_recorder.h"
#include "platform/module.h"
#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit_layer_rgb.h"     // the RgbBuffer record only
#include "plugins/tonalis/tone_adjust.h"   // the DibPaletteCopy record only
#include "tests/support/probe_library_test.h"

namespace {

using HsvFn = void (*)(uint32_t, int*);
using RgbFn = uint32_t (*)(int, int, int);
using SetFn = int (*)(int, int);
using WeightFn = int (*)(int, int);
using ToneFn = uint32_t (*)(uint32_t, int, int, int, int);
using PaletteAdjustFn = void (*)(DibPaletteCopy*, int, int, int, int);
using NewRgbFn = RgbBuffer* (*)(int, int);
using FreeRgbFn = void (*)(RgbBuffer*);
using BufferFn = RgbBuffer* (*)(const RgbBuffer*, int, int, int, int, const uint8_t*, const uint8_t*,
                                const PluginToolRecord*);
using PaletteFn = bool (*)(int, MemHandle, DibPaletteCopy*);

constexpr uint32_t Rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

class ToneTest : public kvtest::ProbeLibraryTest {
protected:
    ToneTest() : ProbeLibraryTest(TONALIS_PROBE) {}
};

TEST_F(ToneTest, ColoursToHsv) {
    auto hsv = Fn<HsvFn>("ProbeHsv");
    struct Case {
        const char* name;
        uint32_t color;
        int value, saturation, hue;
    };
    for (const Case& c : std::vector<Case>{
             {"red", Rgb(255, 0, 0), 100, 100, 0},
             {"green", Rgb(0, 255, 0), 100, 100, 120},
             {"blue", Rgb(0, 0, 255), 100, 100, 240},
             {"black", Rgb(0, 0, 0), 0, 0, 0},
             {"white", Rgb(255, 255, 255), 100, 0, 0},
             {"grey", Rgb(128, 128, 128), 50, 0, 0},
             {"red and green tie: red wins", Rgb(255, 255, 0), 100, 100, 60},
             {"green and blue tie: green wins", Rgb(0, 255, 255), 100, 100, 180},
             {"red and blue tie: red wins, brought into 0..359", Rgb(255, 0, 255), 100, 100, 300},
             {"red maximum, blue above green", Rgb(200, 50, 100), 78, 75, 340},
             {"red maximum, blue just above green", Rgb(255, 0, 10), 100, 100, 358},
             {"green maximum, truncated sector part", Rgb(10, 200, 100), 78, 95, 148},
             {"blue maximum", Rgb(100, 10, 200), 78, 95, 268},
         }) {
        int out[3] = {-1, -1, -1};
        hsv(c.color, out);
        EXPECT_EQ(out[0], c.value) << c.name;
        EXPECT_EQ(out[1], c.saturation) << c.name;
        EXPECT_EQ(out[2], c.hue) << c.name;
    }
}

TEST_F(ToneTest, HsvToColours) {
    auto rgb = Fn<RgbFn>("ProbeRgb");
    struct Case {
        int hue, saturation, value;
        uint32_t color;
    };
    for (const Case& c : std::vector<Case>{
             {0, 100, 100, Rgb(255, 0, 0)},
             {120, 100, 100, Rgb(0, 255, 0)},
             {240, 100, 100, Rgb(0, 0, 255)},
             {60, 100, 100, Rgb(255, 255, 0)},
             {300, 100, 100, Rgb(255, 0, 255)},
             {0, 0, 50, Rgb(127, 127, 127)},
             {200, 0, 50, Rgb(127, 127, 127)},
             {340, 75, 78, Rgb(198, 49, 99)},
             {0, 0, 0, Rgb(0, 0, 0)},
         })
        EXPECT_EQ(rgb(c.hue, c.saturation, c.value), c.color) << c.hue << " " << c.saturation << " " << c.value;
}

TEST_F(ToneTest, SettersWrapTheHueAndClampTheRest) {
    auto set = Fn<SetFn>("ProbeSet");
    struct Case {
        int which, in, out;
    };
    for (const Case& c : std::vector<Case>{{0, 359, 359}, {0, 360, 0}, {0, 725, 5}, {0, -30, 330}, {0, -360, 0},
                                           {1, 150, 100}, {1, -5, 0}, {1, 40, 40}, {2, 101, 100}, {2, -3, 0}})
        EXPECT_EQ(set(c.which, c.in), c.out) << c.which << " " << c.in;
}

TEST_F(ToneTest, BandWeights) {
    auto weight = Fn<WeightFn>("ProbeBandWeight");
    struct Case {
        const char* name;
        int hue, band, weight;
    };
    for (const Case& c : std::vector<Case>{
             {"greens: centre", 120, 3, 100},
             {"greens: 15 below", 105, 3, 100},
             {"greens: 15 above", 135, 3, 100},
             {"greens: 20 below", 100, 3, 84},
             {"greens: 20 above", 140, 3, 84},
             {"greens: 30 above", 150, 3, 50},
             {"greens: 45 below", 75, 3, 0},
             {"greens: 45 above", 165, 3, 0},
             {"greens: opposite", 300, 3, 0},
             {"reds: centre", 0, 1, 100},
             {"reds: 345", 345, 1, 100},
             {"reds: 340, 20 below", 340, 1, 84},
             {"reds: 20 above", 20, 1, 84},
             {"reds: 316", 316, 1, 4},
             {"reds: 315", 315, 1, 0},
             {"reds: 45", 45, 1, 0},
             {"magentas: 20 above, past 360", 320, 6, 84},
             {"magentas: 5", 5, 6, 0},
             {"all colours", 200, 0, 100},
             {"colourise", 200, -1, 100},
         })
        EXPECT_EQ(weight(c.hue, c.band), c.weight) << c.name;
}

TEST_F(ToneTest, AdjustTone) {
    auto tone = Fn<ToneFn>("ProbeAdjustTone");
    struct Case {
        const char* name;
        uint32_t color;
        int shift, lightness, saturation, band;
        uint32_t result;
    };
    for (const Case& c : std::vector<Case>{
             {"red with reds, shift 120", Rgb(255, 0, 0), 120, 0, 0, 1, Rgb(0, 255, 0)},
             {"red with greens, shift 120", Rgb(255, 0, 0), 120, 0, 0, 3, Rgb(255, 0, 0)},
             {"red with all colours, shift -120", Rgb(255, 0, 0), -120, 0, 0, 0, Rgb(0, 0, 255)},
             {"lightness 100", Rgb(200, 50, 100), 0, 100, 0, 0, Rgb(255, 255, 255)},
             {"lightness 100 on black", Rgb(0, 0, 0), 0, 100, 0, 0, Rgb(255, 255, 255)},
             {"lightness -100", Rgb(200, 50, 100), 0, -100, 0, 0, Rgb(0, 0, 0)},
             {"lightness -100 with a shift", Rgb(255, 255, 255), 40, -100, 30, 0, Rgb(0, 0, 0)},
             {"saturation -100: grey of the luminance", Rgb(255, 0, 0), 0, 0, -100, 0, Rgb(73, 73, 73)},
             {"saturation -100 after the round trip", Rgb(200, 50, 100), 0, 0, -100, 0, Rgb(96, 96, 96)},
             {"saturation 100 on a pure colour", Rgb(255, 0, 0), 0, 0, 100, 0, Rgb(255, 0, 0)},
             {"all zero: unchanged", Rgb(200, 50, 100), 0, 0, 0, 3, Rgb(200, 50, 100)},
             {"outside the band: the round trip only", Rgb(200, 50, 100), 90, 0, 0, 3, Rgb(198, 49, 99)},
             {"colourise defaults on white", Rgb(255, 255, 255), 120, 0, 25, -1, Rgb(191, 255, 191)},
             {"colourise defaults on red", Rgb(255, 0, 0), 120, 0, 25, -1, Rgb(55, 73, 55)},
             {"colourise defaults on black", Rgb(0, 0, 0), 120, 0, 25, -1, Rgb(0, 0, 0)},
             {"colourise, all zero: a grey", Rgb(255, 0, 0), 0, 0, 0, -1, Rgb(73, 73, 73)},
             {"colourise, lightness 100", Rgb(10, 20, 30), 120, 100, 25, -1, Rgb(255, 255, 255)},
             {"colourise, lightness -100", Rgb(250, 240, 230), 120, -100, 25, -1, Rgb(0, 0, 0)},
         })
        EXPECT_EQ(tone(c.color, c.shift, c.lightness, c.saturation, c.band), c.result) << c.name;
}

TEST_F(ToneTest, BufferAdjustsSelectedPixelsAndPaletteKeepsAlpha) {
    auto newRgb = Fn<NewRgbFn>("ProbeNewRgb");
    auto freeRgb = Fn<FreeRgbFn>("ProbeFreeRgb");
    auto adjust = Fn<BufferFn>("ProbeAdjustBuffer");
    RgbBuffer* in = newRgb(9, 2);
    for (int i = 0; i < in->stride * 2; ++i) in->data[i] = uint8_t(i * 7);
    std::vector<uint8_t> left(4, 0);  // 2 top-down rows of 2 bytes: x 0..3 selected
    left[0] = left[2] = 0xf0;
    auto pixel = [](const RgbBuffer* b, int x, int y) {
        const uint8_t* p = b->data + y * b->stride + 3 * x;
        return Rgb(p[2], p[1], p[0]);
    };
    RgbBuffer* out = adjust(in, 0, 0, 100, 0, nullptr, left.data(), nullptr);
    ASSERT_TRUE(out);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(pixel(out, x, y), x < 4 ? Rgb(255, 255, 255) : 0u) << x << "," << y;
    freeRgb(out);
    out = adjust(in, 0, 0, 0, 2, nullptr, left.data(), nullptr);  // nothing to do: a copy
    ASSERT_TRUE(out);
    EXPECT_EQ(std::memcmp(out->data, in->data, size_t(in->stride) * 2), 0);
    freeRgb(out);
    freeRgb(in);

    DibPaletteCopy palette;
    palette.count = 2;
    palette.entries[0] = {10, 20, 30, 7};
    palette.entries[1] = {0, 0, 255, 9};
    palette.entries[2] = {1, 2, 3, 4};  // past the count
    Fn<PaletteAdjustFn>("ProbeAdjustPalette")(&palette, 0, 0, -100, 0);
    EXPECT_EQ(palette.entries[0].red, 0);
    EXPECT_EQ(palette.entries[0].alpha, 7);
    EXPECT_EQ(palette.entries[1].red, 0);
    EXPECT_EQ(palette.entries[1].alpha, 9);
    EXPECT_EQ(palette.entries[2].blue, 1);
}

TEST_F(ToneTest, PaletteCopiesRefuseOtherCounts) {
    auto palette = Fn<PaletteFn>("ProbePalette");
    platform::MessageBoxRecorder boxes;
    MemHandle image = CreateDib8(4, 4, 0);
    {
        MemLockGuard lock(image);
        lock.as<DibInfoHeader>()->clrUsed = 16;
        auto* table = reinterpret_cast<PaletteEntry*>(lock.get() + 40);
        for (int i = 0; i < 16; ++i) table[i] = {uint8_t(i), 0, 0, 0};
    }
    DibPaletteCopy copy;
    ASSERT_TRUE(palette(0, image, &copy));
    EXPECT_EQ(copy.count, 16);
    EXPECT_EQ(copy.entries[15].blue, 15);
    copy.entries[3].blue = 200;
    ASSERT_TRUE(palette(2, image, &copy));  // exchanged
    EXPECT_EQ(copy.entries[3].blue, 3);
    ASSERT_TRUE(palette(1, image, &copy));  // written back
    DibPaletteCopy back;
    ASSERT_TRUE(palette(0, image, &back));
    EXPECT_EQ(back.entries[3].blue, 3);

    struct Case {
        int which, count;
        const char* text;
    };
    for (const Case& c : std::vector<Case>{{1, 17, "DIB_NumColor is not enough"},
                                           {2, 15, "えらーExchangePalette"},
                                           {2, 17, "えらーExchangePalette"}}) {
        boxes.Clear();
        copy.count = c.count;
        EXPECT_FALSE(palette(c.which, image, &copy));
        ASSERT_EQ(boxes.Requests().size(), 1u) << c.text;
        EXPECT_EQ(boxes.Requests()[0].text, c.text);
        EXPECT_EQ(boxes.Requests()[0].caption, "");
    }
    copy.count = 15;
    EXPECT_TRUE(palette(1, image, &copy));  // fewer colours may be written
    MemFree(image);

    boxes.Clear();
    MemHandle notADib = MemAlloc(8);
    EXPECT_FALSE(palette(0, notADib, &copy));
    EXPECT_FALSE(palette(1, notADib, &copy));
    EXPECT_FALSE(palette(2, notADib, &copy));
    ASSERT_EQ(boxes.Requests().size(), 3u);
    EXPECT_EQ(boxes.Requests()[0].text, "えらーGetPalette");
    EXPECT_EQ(boxes.Requests()[1].text, "えらーSetPalette");
    EXPECT_EQ(boxes.Requests()[2].text, "えらーSetPalette");
    MemFree(notADib);
}

}  // namespace
