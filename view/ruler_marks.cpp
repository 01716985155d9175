#include "view/ruler_marks.h"

#include <algorithm>
#include <cstdlib>

namespace view {
namespace {

// The tick starts by the multiple of image pixels (times the zoom) a
// position is, tested in this order.
struct TickRule {
    int s;
    int every;
};
constexpr TickRule kTickRules[] = {{10, 100}, {13, 50}, {16, 10}, {20, 1}};

bool KnownZoom(int zoom) {
    return zoom == 1 || zoom == 2 || zoom == 4 || zoom == 6 || zoom == 8 || zoom == 16;
}

// A tick's start for position p, or 0 for none. At zoom 1 no position
// gets a tick per pixel.
int TickStart(int p, int zoom) {
    for (const TickRule& rule : kTickRules) {
        if (zoom == 1 && rule.every == 1) break;
        if (p % (rule.every * zoom) == 0) return rule.s;
    }
    return 0;
}

// The labelled positions: every 100 pixels at zoom 1, every 50 image
// pixels at zoom 2, 4 and 6, every 10 at zoom 8 and 16.
int LabelStep(int zoom) { return zoom == 1 ? 100 : zoom <= 6 ? 50 * zoom : 10 * zoom; }

}  // namespace

std::string VerticalRulerDigits(int value) {
    std::string digits;
    for (int divisor : {1000, 100, 10, 1}) {
        int digit = value / divisor % 10;
        if (digit != 0 || !digits.empty() || divisor == 1) digits += char('0' + digit);
    }
    return digits;
}

RulerMarks ComputeRulerMarks(RulerOrientation orientation, int zoom, int scroll, int centre, int extent) {
    RulerMarks marks;
    if (!KnownZoom(zoom)) return marks;
    const int first = scroll - centre;
    const int step = LabelStep(zoom);
    // The positions run up to E + S; those past the ruler's end are not
    // seen and left out.
    const int end = std::min(extent + scroll, first + extent);
    for (int p = first; p < end; ++p) {
        const int d = p - first;
        if (int s = TickStart(p, zoom)) marks.ticks.push_back({d, s});
        if (p % step != 0) continue;
        const int value = std::abs(zoom == 1 ? p : p / zoom);
        marks.labels.push_back({d, orientation == RulerOrientation::Horizontal ? std::to_string(value)
                                                                                : VerticalRulerDigits(value)});
    }
    return marks;
}

std::vector<RulerText> RulerLabelTexts(RulerOrientation orientation, const RulerLabel& label) {
    if (orientation == RulerOrientation::Horizontal) return {{label.d, 1, label.text}};
    std::vector<RulerText> texts;
    int y = label.d + 1;
    for (char digit : label.text) {
        texts.push_back({2, y, std::string(1, digit)});
        y += kRulerDigitStep;
    }
    return texts;
}

}  // namespace view
