// The region of a fill: the 4-connected pixels of the seed's index that
// are selected and inside the rectangle, reached from the seed through such
// pixels only. A span fill: each run of a row is found once and its rows
// above and below are searched for runs, so the stack holds runs, not
// points.
#include <cstring>
#include <new>
#include <vector>

#include "plugins/floodkit/fill_context.h"

namespace {

// A run x1..x2 of row y - dy that is filled; row y is to be searched.
struct Span {
    int y, x1, x2, dy;
};

}  // namespace

bool FillContext::FloodFill() {
    m_bFilled = false;
    if (!m_pLayer || !m_pWork || !m_pMask) return false;
    m_pWork->Clear();
    const int left = m_rcFill.left, right = m_rcFill.right - 1;
    const int top = m_rcFill.top, bottom = m_rcFill.bottom - 1;
    const uint8_t seedIndex = m_pLayer->Row(m_nHeight - 1 - m_nSeedY)[m_nSeedX];
    if (!Selected(m_nSeedX, m_nSeedY)) return true;  // the seed itself stays unfilled

    // The pixels the region may take, in one pass along the layer's rows:
    // the search then walks a bit plane (eight rows a page) instead of the
    // layer, and a pixel taken is cleared from it. The work plane keeps
    // the candidates and loses those never reached.
    BitPlane open(m_nWidth, m_nHeight, 1, nullptr, nullptr);
    if (!open.Valid()) return false;
    for (int y = top; y <= bottom; ++y) {
        const uint8_t* layer = m_pLayer->Row(m_nHeight - 1 - y);
        uint8_t* work = m_pWork->Row(y);
        int x = left;
        for (; x <= right && (x & 7); ++x)
            if (layer[x] == seedIndex) work[x >> 3] = uint8_t(work[x >> 3] | (0x80 >> (x & 7)));
        for (; x + 7 <= right; x += 8) {
            const uint8_t* p = layer + x;
            work[x >> 3] = uint8_t((p[0] == seedIndex) << 7 | (p[1] == seedIndex) << 6 | (p[2] == seedIndex) << 5 |
                                   (p[3] == seedIndex) << 4 | (p[4] == seedIndex) << 3 | (p[5] == seedIndex) << 2 |
                                   (p[6] == seedIndex) << 1 | (p[7] == seedIndex));
        }
        for (; x <= right; ++x)
            if (layer[x] == seedIndex) work[x >> 3] = uint8_t(work[x >> 3] | (0x80 >> (x & 7)));
        if (m_bMaskInUse) {
            const uint8_t* mask = m_pMask->Row(y);
            for (int i = left >> 3; i <= right >> 3; ++i) work[i] &= mask[i];
        }
    }
    const size_t planeBytes = size_t(m_pWork->GetRowInfo(true)) * size_t(m_nHeight);
    std::memcpy(open.Data(), m_pWork->Data(), planeBytes);

    uint8_t* row = nullptr;
    const size_t stride = size_t(open.GetRowInfo(true));
    auto fillable = [&](int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; };
    auto fill = [&](int x) { row[x >> 3] = uint8_t(row[x >> 3] & ~(0x80 >> (x & 7))); };

    try {
        std::vector<Span> stack;
        stack.reserve(256);
        auto push = [&](int y, int x1, int x2, int dy) {
            if (y + dy >= top && y + dy <= bottom) stack.push_back({y, x1, x2, dy});
        };
        push(m_nSeedY, m_nSeedX, m_nSeedX, 1);
        push(m_nSeedY + 1, m_nSeedX, m_nSeedX, -1);
        while (!stack.empty()) {
            const Span s = stack.back();
            stack.pop_back();
            const int y = s.y + s.dy;
            row = open.Data() + size_t(y) * stride;
            int x = s.x1;
            while (x >= left && fillable(x)) {
                if ((x & 7) == 7 && x - 7 >= left && row[x >> 3] == 0xff) {
                    row[x >> 3] = 0;
                    x -= 8;
                } else {
                    fill(x--);
                }
            }
            // Without a run through x1 the search starts at the next
            // fillable pixel of x1 .. x2.
            bool skip = x >= s.x1;
            int l = x + 1;
            if (!skip) {
                if (l < s.x1) push(y, l, s.x1 - 1, -s.dy);  // leak on the left
                x = s.x1 + 1;
            }
            do {
                if (!skip) {
                    while (x <= right && fillable(x)) {
                        if ((x & 7) == 0 && x + 7 <= right && row[x >> 3] == 0xff) {
                            row[x >> 3] = 0;
                            x += 8;
                        } else {
                            fill(x++);
                        }
                    }
                    push(y, l, x - 1, s.dy);
                    if (x > s.x2 + 1) push(y, s.x2 + 1, x - 1, -s.dy);  // leak on the right
                }
                skip = false;
                for (++x; x <= s.x2 && !fillable(x);) {
                    if ((x & 7) == 0 && x + 7 <= s.x2 && row[x >> 3] == 0) x += 8;
                    else ++x;
                }
                l = x;
            } while (x <= s.x2);
        }
    } catch (const std::bad_alloc&) {
        m_pWork->Clear();
        return false;
    }
    // The candidates left open were not reached.
    const uint8_t* left0 = open.Data();
    uint8_t* work = m_pWork->Data();
    for (size_t i = 0; i < planeBytes; ++i) work[i] = uint8_t(work[i] & ~left0[i]);
    m_bFilled = true;
    if (m_bMaskInUse) MarkUnselectedNeighbours(seedIndex);
    return true;
}

void FillContext::MarkUnselectedNeighbours(uint8_t seedIndex) {
    const int left = m_rcFill.left, right = m_rcFill.right;
    const int top = m_rcFill.top, bottom = m_rcFill.bottom;
    auto mark = [&](int x, int y) {
        if (x < left || x >= right || y < top || y >= bottom || Selected(x, y)) return;
        if (m_pLayer->Row(m_nHeight - 1 - y)[x] != seedIndex) return;
        uint8_t* work = m_pWork->Row(y);
        work[x >> 3] = uint8_t(work[x >> 3] | (0x80 >> (x & 7)));
    };
    // The region's pixels are the selected ones of the work plane; the
    // marks set here are unselected, so they never pass for region pixels.
    for (int y = top; y < bottom; ++y) {
        const uint8_t* work = m_pWork->Row(y);
        for (int x = left; x < right; ++x) {
            if (!work[x >> 3]) {
                x |= 7;  // the rest of an empty byte
                continue;
            }
            if (!((work[x >> 3] >> (7 - (x & 7))) & 1) || !Selected(x, y)) continue;
            mark(x + 1, y);
            mark(x - 1, y);
            mark(x, y + 1);
            mark(x, y - 1);
        }
    }
}
