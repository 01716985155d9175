// Dashed lines of the line tool. The dashes are stamped into a scratch
// plane of the line's own, then every pixel they cover takes the drawing
// colour at once, so overlapping dashes write each pixel once and nothing
// else of the document (its selection included) is touched.
#pragma once

#include "tools/draw_target.h"
#include "tools/line_ends.h"

namespace tools {

// The stamp of one dash: `dash` pixels along the segment, `width` across,
// turned to `angle`.
PenStamp DashStamp(int width, int dash, double angle, const CustomPenTable& pens = CustomPens());

// Stamps `stamp` along the line from plan.ends' start to its end, at the
// first point and then every (dash + gap) points, and writes the covered
// pixels with the target's colour (no tone). Returns the image rectangle
// written (right and bottom exclusive; empty when nothing was).
DibRect DrawDashedLine(const DrawTarget& target, const DashedLine& plan, const PenStamp& stamp,
                       int dash, int gap);

}  // namespace tools
