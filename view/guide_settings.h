// The program's guide-line state: one straight line (start to end) or a fan
// of rays from a centre, with length, angle and colour. Each canvas view
// keeps its own copy and exchanges it with the program's state. Whether the
// guide lines are shown and edited is the program's one pair of switches,
// ViewDisplayToggles (document/display_toggles.h).
#pragma once

#include <array>
#include <cstdint>

struct GuideSettings {
    int mode = 0;  // 0 straight, 1 radial
    int startX = 0, startY = 0;  // start point, or the centre of the rays
    int endX = 0, endY = 0;
    int length = 0;
    int angle = 0;
    std::array<int, 4> color{0, 0, 255, 0};  // red, green, blue and the colour's fourth value

    bool operator==(const GuideSettings&) const = default;
};

// The program's guide state.
GuideSettings& GetGuideSettings();
