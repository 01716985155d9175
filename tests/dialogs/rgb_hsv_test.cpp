// The integer RGB and HSV conversions of the colour edit dialog.
#include <gtest/gtest.h>

#include "dialogs/rgb_hsv.h"

namespace {

struct ToHsvCase {
    ChosenColor rgb;
    HsvValues hsv;
};

TEST(RgbToHsv, KnownColours) {
    const ToHsvCase cases[] = {
        {{255, 255, 255, 7}, {0, 0, 100, 7}},
        {{0, 0, 0, 0}, {0, 0, 0, 0}},
        {{255, 0, 255, 255}, {300, 100, 100, 255}},  // a tie of red and blue goes to blue
        {{255, 255, 0, 255}, {60, 100, 100, 255}},   // green is not strictly greater than red
        {{0, 255, 255, 255}, {180, 100, 100, 255}},  // a tie of green and blue goes to blue
        {{128, 64, 32, 9}, {20, 75, 50, 9}},
    };
    for (const ToHsvCase& c : cases) {
        const HsvValues hsv = RgbToHsv(c.rgb);
        EXPECT_EQ(hsv.hue, c.hsv.hue) << c.rgb.red << "," << c.rgb.green << "," << c.rgb.blue;
        EXPECT_EQ(hsv.saturation, c.hsv.saturation);
        EXPECT_EQ(hsv.value, c.hsv.value);
        EXPECT_EQ(hsv.alpha, c.hsv.alpha);
    }
}

TEST(RgbToHsv, EveryColourIsInRange) {
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) {
                const HsvValues hsv = RgbToHsv({r, g, b, 0});
                if (hsv.hue < 0 || hsv.hue > 359 || hsv.saturation < 0 || hsv.saturation > 100 ||
                    hsv.value < 0 || hsv.value > 100)
                    FAIL() << r << "," << g << "," << b << " -> " << hsv.hue << "," << hsv.saturation
                           << "," << hsv.value;
            }
}

struct ToRgbCase {
    HsvValues hsv;
    ChosenColor rgb;
};

TEST(HsvToRgb, KnownColours) {
    const ToRgbCase cases[] = {
        {{0, 100, 100, 255}, {255, 0, 0, 255}},
        {{120, 100, 100, 255}, {0, 255, 0, 255}},
        {{240, 100, 100, 3}, {0, 0, 255, 3}},
        {{0, 0, 50, 255}, {127, 127, 127, 255}},
        {{200, 0, 50, 255}, {127, 127, 127, 255}},  // no rounding term for greys
        {{20, 75, 50, 9}, {128, 64, 33, 9}},
    };
    for (const ToRgbCase& c : cases) {
        ChosenColor rgb{1, 2, 3, 4};
        HsvToRgb(c.hsv, rgb);
        EXPECT_EQ(rgb.red, c.rgb.red) << c.hsv.hue << "," << c.hsv.saturation << "," << c.hsv.value;
        EXPECT_EQ(rgb.green, c.rgb.green);
        EXPECT_EQ(rgb.blue, c.rgb.blue);
        EXPECT_EQ(rgb.alpha, c.rgb.alpha);
    }
}

TEST(HsvToRgb, AHueOf360WritesNothing) {
    for (int hue : {360, 400}) {
        ChosenColor rgb{10, 20, 30, 40};
        HsvToRgb({hue, 100, 100, 255}, rgb);
        EXPECT_EQ(rgb.red, 10);
        EXPECT_EQ(rgb.green, 20);
        EXPECT_EQ(rgb.blue, 30);
        EXPECT_EQ(rgb.alpha, 40);
    }
}

}  // namespace
