#include "dialogs/rgb_hsv.h"

#include <algorithm>

HsvValues RgbToHsv(const ChosenColor& rgb) {
    enum { kRed, kGreen, kBlue } which = kBlue;
    int max = rgb.blue;
    if (rgb.red > max) {
        max = rgb.red;
        which = kRed;
    }
    if (rgb.green > max) {
        max = rgb.green;
        which = kGreen;
    }
    const int min = std::min({rgb.red, rgb.green, rgb.blue});
    HsvValues hsv;
    hsv.alpha = rgb.alpha;
    hsv.saturation = max == 0 ? 0 : (max - min) * 100 / max;
    if (hsv.saturation != 0) {
        const int d = max - min;
        switch (which) {
        case kRed: hsv.hue = (rgb.green - rgb.blue) * 60 / d; break;
        case kGreen: hsv.hue = (rgb.blue - rgb.red) * 60 / d + 120; break;
        case kBlue: hsv.hue = (rgb.red - rgb.green) * 60 / d + 240; break;
        }
        if (hsv.hue < 0) hsv.hue += 360;
    }
    hsv.value = (max * 100 + 50) / 255;
    return hsv;
}

namespace {

int Scale(int x) { return ((x / 6000) * 255 + 50) / 100; }

}  // namespace

void HsvToRgb(const HsvValues& hsv, ChosenColor& rgb) {
    const int s = hsv.saturation, v = hsv.value;
    if (s == 0) {
        rgb.red = rgb.green = rgb.blue = v * 255 / 100;
        rgb.alpha = hsv.alpha;
        return;
    }
    if (hsv.hue < 0 || hsv.hue >= 360) return;
    const int f = hsv.hue % 60;
    const int V = (v * 255 + 50) / 100;
    const int P = Scale((((100 - s) * v) + 50) * 60);
    const int Q = Scale((6000 - s * f) * v + 3000);
    const int T = Scale((6000 - (60 - f) * s) * v + 3000);
    switch (hsv.hue / 60) {
    case 0: rgb.red = V, rgb.green = T, rgb.blue = P; break;
    case 1: rgb.red = Q, rgb.green = V, rgb.blue = P; break;
    case 2: rgb.red = P, rgb.green = V, rgb.blue = T; break;
    case 3: rgb.red = P, rgb.green = Q, rgb.blue = V; break;
    case 4: rgb.red = T, rgb.green = P, rgb.blue = V; break;
    default: rgb.red = V, rgb.green = P, rgb.blue = Q; break;
    }
    rgb.alpha = hsv.alpha;
}
