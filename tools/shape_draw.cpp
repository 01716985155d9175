#include "tools/shape_draw.h"

#include <algorithm>
#include <vector>

#include "document/selection_mask.h"
#include "tools/draw_ops.h"

namespace tools {

namespace {

// Pixels x0..x1 of row y, cut to the image: one run, or pixel by pixel as
// the one-pixel pen writes.
void WriteRun(const DrawTarget& t, int64_t x0, int64_t x1, int64_t y, bool single) {
    const LayerStack& s = t.stack;
    if (y < 0 || y >= s.height) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, int64_t(s.width) - 1);
    if (x0 > x1) return;
    if (!single) {
        FillSpan(t, int(x0), int(y), int(x1 - x0 + 1));
        return;
    }
    for (int64_t x = x0; x <= x1; ++x) WritePixel(t, int(x), int(y));
}

// The image rows a box covers: [first, end).
struct RowRange {
    int64_t first, end;
};
RowRange RowsInImage(const DrawTarget& t, int64_t top, int64_t bottom) {
    return {std::max<int64_t>(top, 0), std::min<int64_t>(bottom, t.stack.height)};
}

// The outline pixels of one row of the ellipse: a left and a right run (the
// same run when the row has no interior), offsets from the box's left.
struct OutlineRuns {
    int64_t l0, l1, r0, r1;
};

OutlineRuns OutlineOfRow(int64_t w, int64_t h, int64_t row) {
    int64_t x0 = 0, x1 = 0, u0 = 0, u1 = 0, d0 = 0, d1 = 0;
    ShapeEllipseRow(w, h, row, &x0, &x1);
    const bool up = ShapeEllipseRow(w, h, row - 1, &u0, &u1);
    const bool down = ShapeEllipseRow(w, h, row + 1, &d0, &d1);
    // Interior: both horizontal and both vertical neighbours inside.
    const int64_t i0 = std::max({x0 + 1, u0, d0}), i1 = std::min({x1 - 1, u1, d1});
    if (!up || !down || i0 > i1) return {x0, x1, x0, x1};
    return {x0, i0 - 1, i1 + 1, x1};
}

}  // namespace

void DrawRectOutline(const DrawTarget& t, const ShapeBox& o, int thickness) {
    if (o.Empty()) return;
    const int64_t pen = std::max(thickness, 1);
    const bool single = pen == 1;
    const ShapeBox hole{o.left + pen, o.top + pen, o.right - pen, o.bottom - pen};
    const RowRange rows = RowsInImage(t, o.top, o.bottom);
    for (int64_t y = rows.first; y < rows.end; ++y) {
        if (!hole.Empty() && y >= hole.top && y < hole.bottom) {
            WriteRun(t, o.left, hole.left - 1, y, single);
            WriteRun(t, hole.right, o.right - 1, y, single);
        } else {
            WriteRun(t, o.left, o.right - 1, y, single);
        }
    }
}

void FillRectWithOutline(const DrawTarget& t, const ShapeBox& box, bool withOutline) {
    if (box.Empty()) return;
    if (withOutline) DrawRectOutline(t, box, 1);
    const RowRange rows = RowsInImage(t, box.top, box.bottom);
    for (int64_t y = rows.first; y < rows.end; ++y) WriteRun(t, box.left, box.right - 1, y, false);
}

bool ShapeEllipseRow(int64_t w, int64_t h, int64_t row, int64_t* first, int64_t* last) {
    if (w <= 0 || h <= 0 || row < 0 || row >= h) return false;
    if (!document::EllipseRowExtent(w, h, row, first, last)) {
        *first = (w - 1) / 2;
        *last = w / 2;
    }
    const int64_t twiceOffset = 2 * row + 1 - h;
    if (twiceOffset >= -1 && twiceOffset <= 1) {
        *first = 0;
        *last = w - 1;
    }
    return true;
}

void DrawEllipse(const DrawTarget& t, const ShapeBox& path, int thickness) {
    if (path.Empty()) return;
    const int pen = std::max(thickness, 1);
    const int64_t before = PenBefore(pen), after = PenAfter(pen);
    const int64_t w = path.Width(), h = path.Height();
    const RowRange rows = RowsInImage(t, path.top - before, path.bottom + after);
    if (rows.first >= rows.end) return;
    // A stamp on path row j covers image rows top + j - before .. top + j +
    // after: image row y takes the path rows y - top - after .. y - top +
    // before. Their outline runs, once each.
    const int64_t j0 = std::max<int64_t>(rows.first - path.top - after, 0);
    const int64_t j1 = std::min<int64_t>(rows.end - 1 - path.top + before, h - 1);
    std::vector<OutlineRuns> runs;
    runs.reserve(size_t(std::max<int64_t>(j1 - j0 + 1, 0)));
    for (int64_t j = j0; j <= j1; ++j) runs.push_back(OutlineOfRow(w, h, j));
    for (int64_t y = rows.first; y < rows.end; ++y) {
        const int64_t from = std::max(y - path.top - after, j0), to = std::min(y - path.top + before, j1);
        if (from > to) continue;
        // Each side's outline is connected from row to row, so the stamps
        // of one side make one run.
        OutlineRuns u = runs[size_t(from - j0)];
        for (int64_t j = from + 1; j <= to; ++j) {
            const OutlineRuns& r = runs[size_t(j - j0)];
            u = {std::min(u.l0, r.l0), std::max(u.l1, r.l1), std::min(u.r0, r.r0), std::max(u.r1, r.r1)};
        }
        const int64_t a0 = path.left + u.l0 - before, a1 = path.left + u.l1 + after;
        const int64_t b0 = path.left + u.r0 - before, b1 = path.left + u.r1 + after;
        if (b0 <= a1 + 1) {
            WriteRun(t, std::min(a0, b0), std::max(a1, b1), y, pen == 1);
        } else {
            WriteRun(t, a0, a1, y, pen == 1);
            WriteRun(t, b0, b1, y, pen == 1);
        }
    }
}

void DrawFilledEllipse(const DrawTarget& t, const ShapeBox& box) {
    if (box.Empty()) return;
    const RowRange rows = RowsInImage(t, box.top, box.bottom);
    for (int64_t y = rows.first; y < rows.end; ++y) {
        int64_t x0, x1;
        if (ShapeEllipseRow(box.Width(), box.Height(), y - box.top, &x0, &x1))
            WriteRun(t, box.left + x0, box.left + x1, y, false);
    }
}

}  // namespace tools
