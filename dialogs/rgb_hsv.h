// The integer conversions between red, green, blue and hue, saturation,
// value that the colour edit dialog shows (hue 0..359, saturation and value
// 0..100, alpha passed through). Free of widgets.
#pragma once

#include "dialogs/color_choice.h"

struct HsvValues {
    int hue = 0;
    int saturation = 0;
    int value = 0;
    int alpha = 0;
};

// Ties of the maximum go to blue, then red, then green.
HsvValues RgbToHsv(const ChosenColor& rgb);
// Writes red, green, blue and alpha into `rgb`; a hue of 360 or more (with
// a saturation above 0) writes nothing.
void HsvToRgb(const HsvValues& hsv, ChosenColor& rgb);
