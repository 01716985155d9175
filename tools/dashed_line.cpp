#include "tools/dashed_line.h"

#include <algorithm>
#include <vector>

#include "tools/draw_ops.h"

namespace tools {

PenStamp DashStamp(int width, int dash, double angle, const CustomPenTable& pens) {
    StampContext context;
    context.toolId = kToolLine;
    context.lineOverride = true;
    context.overrideWidth = dash;
    context.overrideHeight = width;
    context.overrideAngle = angle;
    return ChooseStamp(context, pens);
}

DibRect DrawDashedLine(const DrawTarget& target, const DashedLine& plan, const PenStamp& stamp,
                       int dash, int gap) {
    const LayerStack& stack = target.stack;
    DibRect written{0, 0, 0, 0};
    if (!stack.composite || stack.width <= 0 || stack.height <= 0 || target.guideEditing) return written;

    std::vector<uint8_t> plane(stack.stride * size_t(stack.height), 0);
    DrawTarget scratch;
    scratch.stack.composite = plane.data();
    scratch.stack.width = stack.width;
    scratch.stack.height = stack.height;
    scratch.stack.stride = stack.stride;
    scratch.colors = target.colors;
    scratch.paletteEntries = target.paletteEntries;
    scratch.SetTone(0, true, 1, 0);
    const LineEnds& l = plan.ends;
    StampPenLine(scratch, stamp, l.sx, l.sy, l.ex, l.ey, false, DashSkip(std::max(dash, 1), std::max(gap, 0)));

    DrawTarget solid = target;
    solid.sink = nullptr;
    solid.SetTone(0, true, target.color, 0);
    bool any = false;
    for (int y = 0; y < stack.height; ++y) {
        const uint8_t* row = scratch.stack.CompositeRow(y);
        for (int x = 0; x < stack.width;) {
            if (!row[x]) {
                ++x;
                continue;
            }
            int start = x;
            while (x < stack.width && row[x]) ++x;
            FillSpan(solid, start, y, x - start);
            if (!any) written = {start, y, x, y + 1}, any = true;
            written.left = std::min(written.left, start);
            written.right = std::max(written.right, x);
            written.bottom = y + 1;
        }
    }
    return written;
}

}  // namespace tools
