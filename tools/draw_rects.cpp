#include "tools/draw_rects.h"

#include <algorithm>
#include <utility>

#include "tools/pen_stamps.h"

namespace tools {

namespace {

// Smallest k >= 0 with (v + k) a multiple of `cell`.
int DistanceUp(int v, int cell) {
    int r = v % cell;
    if (r < 0) r += cell;
    return r == 0 ? 0 : cell - r;
}
// Smallest k >= 0 with (v - k) a multiple of `cell`.
int DistanceDown(int v, int cell) {
    int r = v % cell;
    return r < 0 ? r + cell : r;
}

// The cells that snap along one axis.
struct AxisCells {
    int main = 0;
    int sub = 0;
};
AxisCells CellsX(const GridSnap& g) {
    return {(g.flags & 1) && g.mainWidth > 0 ? g.mainWidth : 0, (g.flags & 2) && g.subWidth > 0 ? g.subWidth : 0};
}
AxisCells CellsY(const GridSnap& g) {
    return {(g.flags & 1) && g.mainHeight > 0 ? g.mainHeight : 0, (g.flags & 2) && g.subHeight > 0 ? g.subHeight : 0};
}

// Grows an inclusive end to the last pixel of its cell: the smallest i >= 0
// with (end + i + 1) a multiple of either active cell.
int GrowToCellEnd(int end, AxisCells cells) {
    int best = -1;
    for (int cell : {cells.main, cells.sub})
        if (cell > 0) {
            int i = DistanceUp(end + 1, cell);
            if (best < 0 || i < best) best = i;
        }
    return best < 0 ? end : end + best;
}

int SnapCoordinate(int v, AxisCells cells) {
    int forward = -1, backward = -1;
    for (int cell : {cells.main, cells.sub})
        if (cell > 0) {
            int f = DistanceUp(v, cell), b = DistanceDown(v, cell);
            if (forward < 0 || f < forward) forward = f;
            if (backward < 0 || b < backward) backward = b;
        }
    if (forward < 0) return v;
    return forward < backward ? v + forward : v - backward;
}

DibRect GrowEnds(DibRect r, const GridSnap& grid) {
    if (grid.flags & 3) {
        r.right = GrowToCellEnd(r.right, CellsX(grid));
        r.bottom = GrowToCellEnd(r.bottom, CellsY(grid));
    }
    return r;
}

// Right and bottom + 1, inflated by the pen's margin, clamped to the image.
DibRect FinishDirty(DibRect r, int penId, int width, int height) {
    int m = PenRepaintMargin(penId);
    r = {r.left - m, r.top - m, r.right + 1 + m, r.bottom + 1 + m};
    return ClampRectToImage(r, width, height);
}

}  // namespace

DibRect OrderRect(DibRect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

DibRect SnapRectToGrid(DibRect r, const GridSnap& grid, int penId, int width, int height) {
    return FinishDirty(GrowEnds(OrderRect(r), grid), penId, width, height);
}

DibRect SnapRectToGridAlt(DibRect r, int penId, int width, int height) {
    return FinishDirty(OrderRect(r), penId, width, height);
}

DibRect NormalizeImageRect(DibRect r, int width, int height) {
    r = MakeRectInclusive(r);
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width), std::min(r.bottom, height)};
}

DibRect SnapRectEndToGridClamped(DibRect r, const GridSnap& grid, int width, int height) {
    r = GrowEnds(OrderRect(r), grid);
    return {std::clamp(r.left, 0, std::max(width - 1, 0)), std::clamp(r.top, 0, std::max(height - 1, 0)),
            std::clamp(r.right, 0, std::max(width - 1, 0)), std::clamp(r.bottom, 0, std::max(height - 1, 0))};
}

DibRect ClampRectToImage(DibRect r, int width, int height) {
    r = OrderRect(r);
    return {std::clamp(r.left, 0, width), std::clamp(r.top, 0, height), std::clamp(r.right, 0, width),
            std::clamp(r.bottom, 0, height)};
}

DibRect MakeRectInclusive(DibRect r) {
    r = OrderRect(r);
    return {r.left, r.top, r.right + 1, r.bottom + 1};
}

DibRect SnapRectEndToGrid(DibRect r, const GridSnap& grid) {
    return MakeRectInclusive(GrowEnds(OrderRect(r), grid));
}

int GridSnapActive(DibRect& r, const GridSnap& grid) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (!(grid.flags & 3)) return 0;
    if (!(grid.flags & 1)) return 1;
    return (grid.flags & 2) && grid.subWidth < grid.mainWidth ? 1 : 0;
}

ImagePoint SnapPoint(ImagePoint p, const GridSnap& grid, int axes) {
    if (!(grid.flags & 3)) return p;
    if (axes != kSnapY) p.x = SnapCoordinate(p.x, CellsX(grid));
    if (axes != kSnapX) p.y = SnapCoordinate(p.y, CellsY(grid));
    return p;
}

ImagePoint SnapPointBack(ImagePoint p, const GridSnap& grid) {
    auto back = [](int v, AxisCells cells) {
        int best = -1;
        for (int cell : {cells.main, cells.sub})
            if (cell > 0) {
                int b = DistanceDown(v, cell);
                if (best < 0 || b < best) best = b;
            }
        return best < 0 ? v : v - best;
    };
    if (!(grid.flags & 3)) return p;
    return {back(p.x, CellsX(grid)), back(p.y, CellsY(grid))};
}

ClientRepaint ImageToClientRect(DibRect r, int zoom, int scrollX, int scrollY, int centreX, int centreY) {
    ClientRepaint out;
    DibRect c{r.left * zoom - scrollX, r.top * zoom - scrollY, r.right * zoom - scrollX, r.bottom * zoom - scrollY};
    out.rects[out.count++] = c;
    if (centreX || centreY)
        out.rects[out.count++] = {c.left + centreX, c.top + centreY, c.right + centreX, c.bottom + centreY};
    return out;
}

}  // namespace tools
