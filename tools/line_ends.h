// End points of the line tool's lines. A solid line leaves out its end
// pixel and, when thick, pulls both ends in by the pen's half width; a
// dashed line moves its ends so that the first and last dash (stamps
// centred on their point) start and stop at the dragged points.
#pragma once

namespace tools {

struct LineEnds {
    int sx = 0, sy = 0, ex = 0, ey = 0;
    bool operator==(const LineEnds&) const = default;
};

// The solid line of `width` (tool option 4) from the dragged start to end.
LineEnds AdjustSolidLineEnds(LineEnds line, int width);

// A dashed line ready to stamp: its ends, and the segment's length and
// angle (radians, image coordinates, y down) that turn the dash stamp.
struct DashedLine {
    LineEnds ends;
    double length = 1.0;
    double angle = 0.0;
};

// `width` is the thickness across the line, `dash` the dash length along it
// (at least 1).
DashedLine PlanDashedLine(LineEnds line, int width, int dash);

// The spacing of a dashed line's stamps in StampPenLine's terms: one stamp
// every (dash + gap) points.
inline int DashSkip(int dash, int gap) { return dash + gap > 0 ? dash + gap - 1 : 0; }

}  // namespace tools
