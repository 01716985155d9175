// The edge weights of a fill. A filled pixel's weight falls with the
// highest kernel value (the blur's concentric circles, heaviest in the
// middle) that meets a pixel outside the rectangle or outside the region:
// h = e - that value (at least 1: every filled pixel is painted),
// weight = h x 255 / e, where e is the highest kernel value. Kernel cell (i, j) lies at (x + j - a / 2, y + i - a / 2) for edge
// width a.
//
// Work per pixel: the cells outside the rectangle are a matter of the
// pixel's distance to the rectangle's sides (tables of the kernel's column
// maxima); a running count of unfilled pixels inside the rectangle in the
// kernel's box tells the pixels no unfilled pixel reaches (their weight is
// decided by the sides alone); the others visit the kernel's cells from the
// highest value down and stop at the first unfilled pixel or at the value
// the sides already reached.
#include <algorithm>
#include <new>
#include <vector>

#include "plugins/floodkit/fill_context.h"
#include "plugins/kit/kit_blur_weights.h"

namespace {

struct Cell {
    int dx, dy, value;
};

}  // namespace

bool FillContext::SoftenEdges() {
    const int a = m_nEdgeWidth;
    if (a <= 0 || !m_bFilled) return true;
    m_pWeights = std::make_unique<BitPlane>(m_nWidth, m_nHeight, 8, nullptr, nullptr);
    if (!m_pWeights->Valid()) {
        m_pWeights.reset();
        return false;
    }
    try {
        const int s = a + 1;
        const int lo = a / 2, hi = a - lo;
        const int e = a % 2 == 0 ? a / 2 + 1 : (a + 1) / 2;
        std::vector<int> cells(size_t(s) * size_t(s));
        std::vector<int*> rows(static_cast<size_t>(s));
        for (int i = 0; i < s; ++i) rows[size_t(i)] = cells.data() + size_t(i) * size_t(s);
        BuildBlurWeights(s, rows.data());

        // Cells by falling value, and the maxima of the columns left of
        // column c (before[c]) and from column c on (from[c]). The kernel is
        // symmetric, so the same tables hold for its rows.
        std::vector<Cell> order;
        std::vector<int> columnMax(static_cast<size_t>(s), 0);
        for (int i = 0; i < s; ++i)
            for (int j = 0; j < s; ++j) {
                const int v = rows[size_t(i)][j];
                columnMax[size_t(j)] = std::max(columnMax[size_t(j)], v);
                if (v > 0) order.push_back({j - lo, i - lo, v});
            }
        std::stable_sort(order.begin(), order.end(), [](const Cell& p, const Cell& q) { return p.value > q.value; });
        std::vector<int> before(size_t(s) + 1, 0), from(size_t(s) + 1, 0);
        for (int c = 0; c < s; ++c) before[size_t(c) + 1] = std::max(before[size_t(c)], columnMax[size_t(c)]);
        for (int c = s - 1; c >= 0; --c) from[size_t(c)] = std::max(from[size_t(c) + 1], columnMax[size_t(c)]);
        const int left = m_rcFill.left, right = m_rcFill.right;
        const int top = m_rcFill.top, bottom = m_rcFill.bottom;
        auto sides = [&](int x, int y) {
            auto low = [&](int edge, int v) { return before[size_t(std::clamp(edge - v + lo, 0, s))]; };
            auto high = [&](int edge, int v) { return from[size_t(std::clamp(edge - v + lo, 0, s))]; };
            return std::max(std::max(low(left, x), high(right, x)), std::max(low(top, y), high(bottom, y)));
        };

        // near[r % s][x - left]: an unfilled pixel of row r lies within the
        // kernel's columns around x; count[x - left]: such rows in the
        // kernel's rows around the current row.
        const int width = right - left;
        std::vector<uint8_t> near(size_t(s) * size_t(width));
        std::vector<int> count(size_t(width), 0), unfilled(size_t(width) + 1);
        auto nearRow = [&](int r) { return near.data() + size_t(r % s) * size_t(width); };
        auto addRow = [&](int r, int sign) {
            uint8_t* n = nearRow(r);
            if (sign > 0) {
                unfilled[0] = 0;
                for (int x = left; x < right; ++x)
                    unfilled[size_t(x - left) + 1] = unfilled[size_t(x - left)] + (Filled(x, r) ? 0 : 1);
                for (int i = 0; i < width; ++i) {
                    const int from0 = std::max(i - lo, 0), to = std::min(i + hi, width - 1);
                    n[i] = unfilled[size_t(to) + 1] - unfilled[size_t(from0)] > 0;
                }
            }
            for (int i = 0; i < width; ++i) count[size_t(i)] += sign * n[i];
        };
        for (int r = top; r <= std::min(top + hi, bottom - 1); ++r) addRow(r, 1);

        for (int y = top; y < bottom; ++y) {
            if (y > top) {
                if (y - 1 - lo >= top) addRow(y - 1 - lo, -1);
                if (y + hi < bottom) addRow(y + hi, 1);
            }
            uint8_t* out = m_pWeights->Row(y);
            for (int x = left; x < right; ++x) {
                if (!Filled(x, y) || !Selected(x, y)) continue;
                int best = sides(x, y);
                if (count[size_t(x - left)] > 0) {
                    for (const Cell& c : order) {
                        if (c.value <= best) break;
                        const int px = x + c.dx, py = y + c.dy;
                        if (px < left || px >= right || py < top || py >= bottom) continue;
                        if (!Filled(px, py)) {
                            best = c.value;
                            break;
                        }
                    }
                }
                // Every filled pixel keeps some weight: with an odd width
                // the heaviest cells lie a step right of and below the
                // pixel and would leave the region's right and bottom edges
                // unpainted.
                out[x] = uint8_t(std::max(e - best, 1) * 255 / e);
            }
        }
    } catch (const std::bad_alloc&) {
        m_pWeights.reset();
        return false;
    }
    return true;
}
