// What a ruler of the canvas shows, without any widget: the ticks and the
// numbers along one edge of a view for its zoom, scroll position and
// centring offset.
//
// Positions p run from S - C up to (not including) E + S, where S is the
// scroll position along the ruler, C the view's centring offset and E the
// ruler's length; p counts screen pixels from the image's origin and lies d
// = p - (S - C) pixels from the ruler's start (positions past the ruler's
// end are left out). Zooms other than 1, 2, 4, 6,
// 8 and 16 show nothing.
#pragma once

#include <string>
#include <vector>

namespace view {

enum class RulerOrientation { Horizontal = 0, Vertical = 1 };

// A one-pixel line across the ruler at d, from s to the far edge (y for the
// horizontal ruler, x for the vertical one).
struct RulerTick {
    int d = 0;
    int s = 0;
    bool operator==(const RulerTick&) const = default;
};

// A number at d, as it is printed ("%d" of its value; on the vertical
// ruler only the digits shown, at most four).
struct RulerLabel {
    int d = 0;
    std::string text;
    bool operator==(const RulerLabel&) const = default;
};

// Where one piece of text starts (its rectangle's top-left corner).
struct RulerText {
    int x = 0;
    int y = 0;
    std::string text;
    bool operator==(const RulerText&) const = default;
};

struct RulerMarks {
    std::vector<RulerTick> ticks;
    std::vector<RulerLabel> labels;
};

// Vertical digits are this far apart.
inline constexpr int kRulerDigitStep = 11;

// The digits the vertical ruler shows of a value (0 or more): those of the
// thousands, hundreds, tens and units, leading zeros skipped ("0" for 0).
std::string VerticalRulerDigits(int value);

RulerMarks ComputeRulerMarks(RulerOrientation orientation, int zoom, int scroll, int centre, int extent);

// The texts a label is drawn as: on the horizontal ruler the number at
// (d, 1); on the vertical ruler one digit per line from (2, d + 1) down.
std::vector<RulerText> RulerLabelTexts(RulerOrientation orientation, const RulerLabel& label);

}  // namespace view
