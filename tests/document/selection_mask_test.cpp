// The mask operations against a per-pixel reference written here.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <tuple>

#include "document/selection_mask.h"
#include "mask_reference.h"

namespace doctest {
namespace {

using document::MaskBits;

struct Size {
    int w, h;
};
// Widths around byte borders.
const Size kSizes[] = {{1, 1}, {7, 3}, {8, 5}, {9, 4}, {10, 6}, {17, 9}, {33, 12}, {64, 7}};

TEST(SelectionMask, RowsAreAddressedWithTheCurrentWidth) {
    PackedMask m(10, 3);
    document::SetMaskBit(m.bits, 0, 1, 1);
    // Row 1 of a 10-pixel-wide image starts at byte 2, leftmost pixel = MSB.
    EXPECT_EQ(m.bytes[2], 0x80);
    document::SetMaskBit(m.bits, 9, 1, 1);
    EXPECT_EQ(m.bytes[3], 0x40);
    EXPECT_EQ(document::TestMaskBit(m.bits, 9, 1), 1);
    EXPECT_EQ(document::TestMaskBit(m.bits, 10, 1), 0);
    EXPECT_EQ(document::TestMaskBit(m.bits, -1, 1), 0);
}

TEST(SelectionMask, SetBitModes) {
    PackedMask m(16, 2);
    m.bytes[0] = 0x0F;
    document::SetMaskBit(m.bits, 0, 0, 1);
    EXPECT_EQ(m.bytes[0], 0x8F);  // ORed
    document::SetMaskBit(m.bits, 1, 0, 0);
    EXPECT_EQ(m.bytes[0], 0x40);  // the byte becomes just that bit
    document::SetMaskBit(m.bits, 16, 0, 1);
    document::SetMaskBit(m.bits, 3, -1, 1);
    EXPECT_EQ(m.bytes[1], 0);
}

TEST(SelectionMask, FillRectInvertAndBoundsMatchReference) {
    const DibRect rects[] = {{0, 0, 1, 1}, {2, 1, 7, 3}, {-3, -2, 5, 40}, {6, 0, 70, 2}, {3, 3, 3, 5}};
    for (Size s : kSizes)
        for (DibRect r : rects)
            for (int percent : {0, 3, 50}) {
                RefMask ref = RandomMask(s.w, s.h, percent, uint32_t(s.w * 31 + s.h + percent));
                PackedMask m(s.w, s.h);
                m.Load(ref);
                document::MaskFillRect(m.bits, r.left, r.top, r.right, r.bottom);
                for (int y = r.top; y < r.bottom; ++y)
                    for (int x = r.left; x < r.right; ++x) ref.Set(x, y);
                ASSERT_EQ(m.Read(), ref) << s.w << "x" << s.h;

                document::InvertMaskBits(m.bits);
                for (auto& p : ref.px) p = !p;
                ASSERT_EQ(m.Read(), ref);
                EXPECT_EQ(m.PaddingBitsSet(), 0);

                DibRect want{s.w, s.h, 0, 0};
                for (int y = 0; y < s.h; ++y)
                    for (int x = 0; x < s.w; ++x)
                        if (ref.Get(x, y)) {
                            want.left = std::min(want.left, x);
                            want.top = std::min(want.top, y);
                            want.right = std::max(want.right, x + 1);
                            want.bottom = std::max(want.bottom, y + 1);
                        }
                DibRect got = document::MaskBoundingRect(m.bits);
                EXPECT_EQ(std::tie(got.left, got.top, got.right, got.bottom),
                          std::tie(want.left, want.top, want.right, want.bottom));
            }
}

TEST(SelectionMask, EmptyMaskHasAnEmptyBoundingRect) {
    PackedMask m(10, 6);
    DibRect r = document::MaskBoundingRect(m.bits);
    EXPECT_EQ(std::tie(r.left, r.top, r.right, r.bottom), std::make_tuple(10, 6, 0, 0));
    EXPECT_TRUE(document::RectEmpty(r));
    EXPECT_EQ(document::MaskRectLayoutOf(r.left, r.top, r.right, r.bottom).BlockSize(), 1u * 1u);
    EXPECT_EQ(document::MaskRectLayoutOf(r.left, r.top, r.right, r.bottom).rows, 0);
}

TEST(SelectionMask, BoundsIgnoreStrayPaddingBits) {
    PackedMask m(10, 4);
    std::fill(m.bytes.begin(), m.bytes.end(), 0);
    m.bytes[1 * 2 + 1] = 0x3F;  // row 1: only padding bits (x 10..15) set
    DibRect r = document::MaskBoundingRect(m.bits);
    EXPECT_TRUE(document::RectEmpty(r));
    // Inverting a full mask gives an empty one, padding included.
    std::fill(m.bytes.begin(), m.bytes.end(), 0xFF);
    document::InvertMaskBits(m.bits);
    EXPECT_TRUE(document::RectEmpty(document::MaskBoundingRect(m.bits)));
    EXPECT_EQ(m.PaddingBitsSet(), 0);
}

// The per-pixel meaning of a pasted block row: bit p lands on pixel
// 8 floor(dx / 8) + p - (shift mod 8).
RefMask ReferencePaste(RefMask target, const std::vector<uint8_t>& block, int rowBytes, int rows,
                       int dx, int dy, int shift) {
    int s = ((shift % 8) + 8) % 8;
    int base = (dx >= 0 ? dx / 8 : -((-dx + 7) / 8)) * 8 - s;
    for (int r = 0; r < rows; ++r)
        for (int p = 0; p < rowBytes * 8; ++p) {
            bool bit = (block[size_t(r * rowBytes + p / 8)] >> (7 - p % 8)) & 1;
            target.Set(base + p, dy + r, bit);
        }
    return target;
}

TEST(SelectionMask, CopyAndPasteMaskRectsBitExactly) {
    struct Case {
        DibRect rect;
        int dx, dy, shift;
    };
    const Case cases[] = {
        {{0, 0, 8, 3}, 0, 0, 0},      {{3, 1, 13, 5}, 3, 1, 0},     {{3, 1, 13, 5}, 11, 2, 0},
        {{3, 1, 13, 5}, 11, 2, 3},    {{3, 1, 13, 5}, 11, 2, -3},   {{2, 0, 20, 6}, -5, 0, 0},
        {{2, 0, 20, 6}, -9, -2, 6},   {{5, 2, 9, 4}, 30, 9, 1},     {{0, 0, 33, 12}, -1, -1, 7},
        {{9, 3, 10, 4}, 17, -4, 13},  {{1, 1, 32, 11}, 4, 3, -11},  {{16, 0, 24, 12}, -24, 5, 2},
    };
    const int W = 33, H = 12;
    for (const Case& c : cases)
        for (uint32_t seed : {1u, 2u}) {
            RefMask source = RandomMask(W, H, 45, seed);
            PackedMask from(W, H);
            from.Load(source);
            document::MaskRectLayout layout =
                document::MaskRectLayoutOf(c.rect.left, c.rect.top, c.rect.right, c.rect.bottom);
            std::vector<uint8_t> block(layout.BlockSize());
            document::CopyMaskRectBytes(from.bits, c.rect.left, c.rect.top, c.rect.right,
                                        c.rect.bottom, block.data(), block.size());
            // The block holds the rectangle's bytes row by row.
            for (int r = 0; r < layout.rows; ++r)
                for (int p = 0; p < layout.rowBytes * 8; ++p) {
                    bool bit = (block[size_t(r * layout.rowBytes + p / 8)] >> (7 - p % 8)) & 1;
                    ASSERT_EQ(bit, source.Get(layout.firstByte * 8 + p, c.rect.top + r));
                }

            RefMask target = RandomMask(W, H, 30, seed + 10);
            PackedMask to(W, H);
            to.Load(target);
            document::PasteMaskBits(to.bits, block.data(), block.size(), c.rect.left, c.rect.top,
                                    c.rect.right, c.rect.bottom, c.dx, c.dy, c.shift);
            RefMask want =
                ReferencePaste(target, block, layout.rowBytes, layout.rows, c.dx, c.dy, c.shift);
            ASSERT_EQ(to.Read(), want) << "dx " << c.dx << " dy " << c.dy << " shift " << c.shift
                                       << "\n" << Show(to.Read()) << "\n" << Show(want);
            EXPECT_EQ(to.PaddingBitsSet(), 0);
            // Nothing is written outside the mask's rows.
            for (size_t i = to.bits.RowBytes() * H; i < to.bytes.size(); ++i) ASSERT_EQ(to.bytes[i], 0);
        }
}

TEST(SelectionMask, PastingMovesARectangleByAnyPixelOffset) {
    // Moving by k pixels: shift -k (mod 8), dx so that the byte base lines up.
    const int W = 40, H = 6;
    const DibRect rect{8, 1, 24, 5};  // byte aligned, so the block holds just the rect
    RefMask source(W, H);
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) source.Set(x, y, (x * 7 + y * 3) % 5 < 2);
    PackedMask from(W, H);
    from.Load(source);
    document::MaskRectLayout layout = document::MaskRectLayoutOf(8, 1, 24, 5);
    std::vector<uint8_t> block(layout.BlockSize());
    document::CopyMaskRectBytes(from.bits, 8, 1, 24, 5, block.data(), block.size());
    for (int k : {-11, -8, -3, -1, 0, 1, 3, 5, 8, 13}) {
        int s = ((-k) % 8 + 8) % 8;
        PackedMask to(W, H);
        document::PasteMaskBits(to.bits, block.data(), block.size(), 8, 1, 24, 5, 8 + k + s, 1, -k);
        RefMask want(W, H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) want.Set(x + k, y, source.Get(x, y));
        ASSERT_EQ(to.Read(), want) << "k " << k;
    }
}

TEST(SelectionMask, PasteOfATruncatedBlockStopsAtItsRows) {
    PackedMask to(16, 4);
    std::vector<uint8_t> block = {0xFF, 0xFF};  // one row of two bytes; the rect claims three
    document::PasteMaskBits(to.bits, block.data(), block.size(), 0, 0, 16, 3, 0, 0, 0);
    RefMask want(16, 4);
    for (int x = 0; x < 16; ++x) want.Set(x, 0);
    EXPECT_EQ(to.Read(), want);
}

RefMask ReferenceFlood(RefMask m, int x, int y) {
    if (!m.Inside(x, y) || m.Get(x, y)) return m;
    std::deque<std::pair<int, int>> queue{{x, y}};
    m.Set(x, y);
    while (!queue.empty()) {
        auto [px, py] = queue.front();
        queue.pop_front();
        const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (auto& e : d) {
            int nx = px + e[0], ny = py + e[1];
            if (m.Inside(nx, ny) && !m.Get(nx, ny)) {
                m.Set(nx, ny);
                queue.push_back({nx, ny});
            }
        }
    }
    return m;
}

TEST(SelectionMask, FloodFillMatchesReference) {
    const Size sizes[] = {{1, 1}, {9, 4}, {17, 9}, {33, 12}, {70, 40}};
    for (Size s : sizes)
        for (int percent : {0, 20, 40, 55})
            for (uint32_t seed : {3u, 4u}) {
                RefMask ref = RandomMask(s.w, s.h, percent, seed * 100 + uint32_t(percent));
                const int starts[][2] = {{0, 0}, {s.w / 2, s.h / 2}, {s.w - 1, s.h - 1}, {-1, 0},
                                         {s.w, 2}};
                for (auto& st : starts) {
                    PackedMask m(s.w, s.h);
                    m.Load(ref);
                    EXPECT_TRUE(document::FloodFillMask(m.bits, st[0], st[1]));
                    ASSERT_EQ(m.Read(), ReferenceFlood(ref, st[0], st[1]))
                        << s.w << "x" << s.h << " from " << st[0] << "," << st[1];
                }
            }
}

TEST(SelectionMask, FloodFillFollowsASpiral) {
    // A winding corridor: scanline fills must revisit rows above and below.
    const char* rows[] = {
        "##########",
        "#........#",
        "#.######.#",
        "#.#....#.#",
        "#.#.##.#.#",
        "#.#..#...#",
        "#.####.###",
        "#........#",
        "##########",
    };
    RefMask ref(10, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 10; ++x) ref.Set(x, y, rows[y][x] == '#');
    PackedMask m(10, 9);
    m.Load(ref);
    document::FloodFillMask(m.bits, 4, 3);
    EXPECT_EQ(m.Read(), ReferenceFlood(ref, 4, 3));
}

// The literal definition of the span fill.
RefMask ReferenceSpans(RefMask out, const std::vector<uint8_t>& map) {
    int w = out.w, h = out.h;
    auto at = [&](int x, int y) { return map[size_t(x + y * w)] == 1; };
    for (int y = 0; y < h; ++y) {
        int j0 = 0, j1 = 0;
        for (int x = 0; x < w; ++x)
            if (at(x, y)) {
                j0 = x;
                break;
            }
        for (int x = w - 1; x > 0; --x)
            if (at(x, y)) {
                j1 = x;
                break;
            }
        for (int x = j0; x < j1; ++x) {
            int l = 0, m = 0;
            for (int yy = 0; yy < h; ++yy)
                if (at(x, yy)) {
                    l = yy;
                    break;
                }
            for (int yy = h - 1; yy > 0; --yy)
                if (at(x, yy)) {
                    m = yy;
                    break;
                }
            if (l < y && y < m) out.Set(x, y);
        }
    }
    return out;
}

TEST(SelectionMask, SpanFillMatchesReference) {
    const Size sizes[] = {{1, 1}, {9, 4}, {17, 9}, {33, 20}};
    for (Size s : sizes)
        for (uint32_t seed : {5u, 6u, 7u}) {
            // An outline: a few random closed polygons plotted into the map.
            std::mt19937 rng(seed);
            std::vector<uint8_t> map(size_t(s.w) * size_t(s.h));
            int px = int(rng() % uint32_t(s.w)), py = int(rng() % uint32_t(s.h));
            int fx = px, fy = py;
            for (int i = 0; i < 6; ++i) {
                int nx = int(rng() % uint32_t(s.w)), ny = int(rng() % uint32_t(s.h));
                if (i == 5) nx = fx, ny = fy;
                document::ForEachLinePoint(px, py, nx, ny,
                                           [&](int x, int y) { map[size_t(x + y * s.w)] = 1; });
                px = nx, py = ny;
            }
            RefMask start = RandomMask(s.w, s.h, 5, seed);
            PackedMask m(s.w, s.h);
            m.Load(start);
            document::MaskFillSpans(m.bits, map.data(), map.size());
            ASSERT_EQ(m.Read(), ReferenceSpans(start, map)) << s.w << "x" << s.h << " seed " << seed;
        }
}

TEST(SelectionMask, SpanFillOfARectangleOutlineFillsItsInside) {
    std::vector<uint8_t> map(12 * 8);
    for (int x = 2; x <= 9; ++x) map[size_t(x + 1 * 12)] = map[size_t(x + 6 * 12)] = 1;
    for (int y = 1; y <= 6; ++y) map[size_t(2 + y * 12)] = map[size_t(9 + y * 12)] = 1;
    PackedMask m(12, 8);
    document::MaskFillSpans(m.bits, map.data(), map.size());
    RefMask want(12, 8);
    for (int y = 2; y <= 5; ++y)
        for (int x = 2; x <= 8; ++x) want.Set(x, y);  // right outline column excluded
    EXPECT_EQ(m.Read(), want) << Show(m.Read());
}

TEST(SelectionMask, BresenhamLines) {
    struct Case {
        int x0, y0, x1, y1;
        std::vector<std::pair<int, int>> points;
    };
    const Case cases[] = {
        {3, 3, 3, 3, {{3, 3}}},
        {0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
        {0, 0, 2, 4, {{0, 0}, {1, 1}, {1, 2}, {2, 3}, {2, 4}}},
        {4, 2, 0, 0, {{4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}},
        {0, 0, -3, 0, {{0, 0}, {-1, 0}, {-2, 0}, {-3, 0}}},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<int, int>> got;
        document::ForEachLinePoint(c.x0, c.y0, c.x1, c.y1,
                                   [&](int x, int y) { got.push_back({x, y}); });
        EXPECT_EQ(got, c.points) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
    }
}

TEST(SelectionMask, ShiftAndScaleMatchReference) {
    RefMask source = RandomMask(17, 9, 40, 11);
    PackedMask from(17, 9);
    from.Load(source);
    for (auto [dx, dy] : {std::pair{0, 0}, {3, -2}, {-9, 4}, {20, 0}}) {
        PackedMask to(17, 9);
        document::ShiftMaskBits(from.bits, to.bits, dx, dy);
        RefMask want(17, 9);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 17; ++x)
                if (source.Get(x, y)) want.Set(x + dx, y + dy);
        ASSERT_EQ(to.Read(), want);
    }
    const std::pair<DibRect, DibRect> scales[] = {
        {{2, 1, 6, 4}, {0, 0, 8, 6}}, {{0, 0, 17, 9}, {3, 2, 9, 5}}, {{6, 4, 2, 1}, {10, 8, 1, 2}}};
    for (auto [s, d] : scales) {
        PackedMask to(17, 9);
        document::ScaleMaskBits(from.bits, s, to.bits, d);
        DibRect so = document::OrderedRect(s), dord = document::OrderedRect(d);
        int sw = so.right - so.left, sh = so.bottom - so.top;
        int dw = dord.right - dord.left, dh = dord.bottom - dord.top;
        RefMask want(17, 9);
        for (int v = 0; v < dh; ++v)
            for (int u = 0; u < dw; ++u)
                if (source.Get(so.left + u * sw / dw, so.top + v * sh / dh))
                    want.Set(dord.left + u, dord.top + v);
        ASSERT_EQ(to.Read(), want);
    }
}

TEST(SelectionMask, OutlineOfTwoPixels) {
    PackedMask m(4, 3);
    m.bits.Put(1, 1);
    m.bits.Put(2, 1);
    auto lines = document::SelectionOutline(m.bits, 4, 10, 20);
    std::vector<document::OutlineSegment> want = {
        // row 1: left edge of (1, 1), right edge of (2, 1); above and below clear
        {14, 25, 14, 27},
        {21, 25, 21, 27},
        // column 1 then column 2: top and bottom edges
        {14, 24, 18, 24},
        {14, 27, 18, 27},
        {18, 24, 22, 24},
        {18, 27, 22, 27},
    };
    EXPECT_EQ(lines, want);
}

TEST(SelectionMask, EllipseIsFilledSymmetricAndInscribed) {
    for (auto [w, h] : {std::pair{1, 5}, {2, 6}, {3, 3}, {4, 4}, {5, 4}, {7, 9}, {16, 10}, {31, 6}}) {
        int left = 3, top = 2;
        auto rows = document::EllipseRows(left + w / 2, top + h / 2, w / 2, h / 2, w, h);
        RefMask m(left + w + 3, top + h + 3);
        for (auto& r : rows)
            for (int x = r.x0; x <= r.x1; ++x) m.Set(x, r.y);
        if (w <= 3) {
            // One column through the centre.
            for (int y = 0; y < m.h; ++y)
                for (int x = 0; x < m.w; ++x)
                    ASSERT_EQ(m.Get(x, y), x == left + w / 2 && y >= top && y < top + h);
            continue;
        }
        if (h <= 3) {
            for (int y = 0; y < m.h; ++y)
                for (int x = 0; x < m.w; ++x)
                    ASSERT_EQ(m.Get(x, y), y == top + h / 2 && x >= left && x < left + w);
            continue;
        }
        int minX = 1 << 20, maxX = -1, minY = 1 << 20, maxY = -1;
        for (int y = 0; y < m.h; ++y)
            for (int x = 0; x < m.w; ++x) {
                if (!m.Get(x, y)) continue;
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
                // Mirror images inside the rectangle.
                ASSERT_TRUE(m.Get(2 * left + w - 1 - x, y)) << w << "x" << h;
                ASSERT_TRUE(m.Get(x, 2 * top + h - 1 - y)) << w << "x" << h;
            }
        EXPECT_EQ(std::tie(minX, minY, maxX, maxY),
                  std::make_tuple(left, top, left + w - 1, top + h - 1)) << w << "x" << h;
        // Filled: each row one run.
        for (auto& r : rows) EXPECT_LE(r.x0, r.x1);
    }
}

}  // namespace
}  // namespace doctest
