#include "document/selection_mask.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace document {

namespace {

// Bits [from, to) of a byte (bit 0 = most significant) as a byte mask.
uint8_t BitsOfByte(int from, int to) {
    return uint8_t((0xFF >> from) & (0xFF << (8 - to)));
}

// Sets pixels [x0, x1) of a row.
void SetRun(uint8_t* row, int x0, int x1) {
    if (x0 >= x1) return;
    int b0 = x0 >> 3, b1 = (x1 - 1) >> 3;
    if (b0 == b1) {
        row[b0] |= BitsOfByte(x0 & 7, ((x1 - 1) & 7) + 1);
        return;
    }
    row[b0] |= BitsOfByte(x0 & 7, 8);
    if (b1 > b0 + 1) std::memset(row + b0 + 1, 0xFF, size_t(b1 - b0 - 1));
    row[b1] |= BitsOfByte(0, ((x1 - 1) & 7) + 1);
}

bool RowBit(const uint8_t* row, int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }

// From x (clear) to the right: the first x' > x that is set, or the width.
int ClearRunEnd(const uint8_t* row, int x, int width) {
    for (int p = x + 1; p < width; p = (p | 7) + 1) {
        unsigned v = row[p >> 3] & (0xFFu >> (p & 7));
        if (v) return std::min(width, (p & ~7) + __builtin_clz(v) - 24);
    }
    return width;
}

// From x (clear) to the left: the leftmost x' <= x of the clear run.
int ClearRunStart(const uint8_t* row, int x) {
    for (int p = x - 1; p >= 0; p = (p & ~7) - 1) {
        unsigned v = row[p >> 3] & (0xFFu << (7 - (p & 7))) & 0xFFu;
        if (v) return (p & ~7) + 8 - __builtin_ctz(v);
    }
    return 0;
}

// From x: the first clear pixel at or after x and before `end`, else end.
int NextClear(const uint8_t* row, int x, int end) {
    for (int p = x; p < end; p = (p | 7) + 1) {
        unsigned v = ~unsigned(row[p >> 3]) & (0xFFu >> (p & 7));
        if (v) return std::min(end, (p & ~7) + __builtin_clz(v) - 24);
    }
    return end;
}

// Source bits [p, p + 8) of a packed bit row of `bytes` bytes; bits outside
// the row read as 0.
uint8_t ReadBits8(const uint8_t* row, int bytes, int p) {
    int i = FloorDiv8(p), o = p - i * 8;
    auto at = [&](int k) -> unsigned { return k >= 0 && k < bytes ? row[k] : 0u; };
    if (o == 0) return uint8_t(at(i));
    return uint8_t((at(i) << o) | (at(i + 1) >> (8 - o)));
}

// Writes `count` bits of a source row starting at bit `sp` into a mask row
// starting at pixel `dp` (all inside the row).
void CopyBitRun(const uint8_t* src, int srcBytes, int sp, uint8_t* dst, int dp, int count) {
    int end = dp + count;
    for (int b = dp >> 3; b * 8 < end; ++b) {
        int from = std::max(dp, b * 8) - b * 8;
        int to = std::min(end, b * 8 + 8) - b * 8;
        uint8_t keep = BitsOfByte(from, to);
        uint8_t value = ReadBits8(src, srcBytes, sp + (b * 8 - dp));
        dst[b] = uint8_t((dst[b] & ~keep) | (value & keep));
    }
}

}  // namespace

void SetMaskBit(const MaskBits& mask, int x, int y, int mode) {
    if (!mask.Valid() || !mask.Inside(x, y)) return;
    uint8_t bit = uint8_t(0x80 >> (x & 7));
    uint8_t& byte = mask.Row(y)[x >> 3];
    byte = mode == 1 ? uint8_t(byte | bit) : bit;
}

int TestMaskBit(const MaskBits& mask, int x, int y) {
    if (!mask.Valid() || !mask.Inside(x, y)) return 0;
    return mask.Get(x, y) ? 1 : 0;
}

void MaskFillRect(const MaskBits& mask, int left, int top, int right, int bottom) {
    if (!mask.Valid()) return;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, mask.width);
    bottom = std::min(bottom, mask.height);
    for (int y = top; y < bottom; ++y) SetRun(mask.Row(y), left, right);
}

void InvertMaskBits(const MaskBits& mask) {
    if (!mask.Valid()) return;
    size_t rowBytes = mask.RowBytes();
    uint8_t last = LastByteMask(mask.width);
    for (int y = 0; y < mask.height; ++y) {
        uint8_t* row = mask.Row(y);
        for (size_t i = 0; i < rowBytes; ++i) row[i] = uint8_t(~row[i]);
        row[rowBytes - 1] &= last;
    }
}

DibRect MaskBoundingRect(const MaskBits& mask) {
    DibRect r{mask.width, mask.height, 0, 0};
    if (!mask.Valid()) return r;
    size_t rowBytes = mask.RowBytes();
    uint8_t last = LastByteMask(mask.width);
    for (int y = 0; y < mask.height; ++y) {
        const uint8_t* row = mask.Row(y);
        auto byteAt = [&](size_t i) { return i + 1 == rowBytes ? uint8_t(row[i] & last) : row[i]; };
        // Whole clear words are skipped eight bytes at a time.
        size_t first = 0;
        for (uint64_t word; first + 8 < rowBytes; first += 8) {
            std::memcpy(&word, row + first, 8);
            if (word) break;
        }
        while (first < rowBytes && byteAt(first) == 0) ++first;
        if (first == rowBytes) continue;
        size_t lastByte = rowBytes - 1;
        while (byteAt(lastByte) == 0) --lastByte;
        uint8_t a = byteAt(first), b = byteAt(lastByte);
        int x0 = int(first) * 8 + __builtin_clz(unsigned(a)) - 24;
        int x1 = int(lastByte) * 8 + 8 - __builtin_ctz(unsigned(b));
        r.left = std::min(r.left, x0);
        r.right = std::max(r.right, x1);
        r.top = std::min(r.top, y);
        r.bottom = y + 1;
    }
    return r;
}

MaskRectLayout MaskRectLayoutOf(int left, int top, int right, int bottom) {
    MaskRectLayout layout;
    if (right <= left || bottom <= top) return layout;
    layout.firstByte = FloorDiv8(left);
    layout.rowBytes = FloorDiv8(int64_t(right) + 7) - layout.firstByte;
    layout.rows = bottom - top;
    return layout;
}

void CopyMaskRectBytes(const MaskBits& mask, int left, int top, int right, int bottom,
                       uint8_t* out, size_t outSize) {
    MaskRectLayout layout = MaskRectLayoutOf(left, top, right, bottom);
    if (!mask.Valid() || !out || layout.rows == 0 || outSize < layout.BlockSize()) return;
    int rowBytes = int(mask.RowBytes());
    uint8_t last = LastByteMask(mask.width);
    for (int r = 0; r < layout.rows; ++r) {
        int y = top + r;
        if (y < 0 || y >= mask.height) continue;
        const uint8_t* row = mask.Row(y);
        uint8_t* to = out + size_t(r) * size_t(layout.rowBytes);
        for (int i = 0; i < layout.rowBytes; ++i) {
            int b = layout.firstByte + i;
            if (b < 0 || b >= rowBytes) continue;
            to[i] = b == rowBytes - 1 ? uint8_t(row[b] & last) : row[b];
        }
    }
}

void PasteMaskBits(const MaskBits& mask, const uint8_t* block, size_t blockSize, int left,
                   int top, int right, int bottom, int dx, int dy, int shift) {
    MaskRectLayout layout = MaskRectLayoutOf(left, top, right, bottom);
    if (!mask.Valid() || !block || layout.rows == 0) return;
    int s = ((shift % 8) + 8) % 8;
    int64_t origin = int64_t(FloorDiv8(dx)) * 8 - s;  // pixel of block bit 0
    int bits = layout.rowBytes * 8;
    int64_t p0 = std::max<int64_t>(0, -origin);
    int64_t p1 = std::min<int64_t>(bits, int64_t(mask.width) - origin);
    if (p0 >= p1) return;
    size_t rowsHeld = blockSize / size_t(layout.rowBytes);
    for (int r = 0; r < layout.rows && size_t(r) < rowsHeld; ++r) {
        int64_t y = int64_t(dy) + r;
        if (y < 0 || y >= mask.height) continue;
        CopyBitRun(block + size_t(r) * size_t(layout.rowBytes), layout.rowBytes, int(p0),
                   mask.Row(int(y)), int(origin + p0), int(p1 - p0));
    }
}

bool FloodFillMask(const MaskBits& mask, int x, int y) {
    if (!mask.Valid() || !mask.Inside(x, y) || mask.Get(x, y)) return true;
    struct Seed {
        int x, y;
    };
    std::vector<Seed> stack;
    try {
        stack.reserve(256);
        stack.push_back({x, y});
        while (!stack.empty()) {
            Seed seed = stack.back();
            stack.pop_back();
            uint8_t* row = mask.Row(seed.y);
            if (RowBit(row, seed.x)) continue;
            int l = ClearRunStart(row, seed.x);
            int r = ClearRunEnd(row, seed.x, mask.width);
            SetRun(row, l, r);
            for (int ny : {seed.y - 1, seed.y + 1}) {
                if (ny < 0 || ny >= mask.height) continue;
                const uint8_t* next = mask.Row(ny);
                for (int u = NextClear(next, l, r); u < r; u = NextClear(next, u, r)) {
                    stack.push_back({u, ny});
                    u = ClearRunEnd(next, u, mask.width);
                }
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void MaskFillSpans(const MaskBits& mask, const uint8_t* byteMap, size_t byteMapSize) {
    if (!mask.Valid() || !byteMap) return;
    size_t w = size_t(mask.width), h = size_t(mask.height);
    if (byteMapSize < w * h) return;
    // Column extents, computed once.
    std::vector<int> first(w, -1), lastPos(w, 0);
    for (size_t y = 0; y < h; ++y) {
        const uint8_t* row = byteMap + y * w;
        for (size_t x = 0; x < w; ++x) {
            if (!row[x]) continue;
            if (first[x] < 0) first[x] = int(y);
            if (y > 0) lastPos[x] = int(y);
        }
    }
    for (size_t x = 0; x < w; ++x)
        if (first[x] < 0) first[x] = 0;
    for (size_t y = 0; y < h; ++y) {
        const uint8_t* row = byteMap + y * w;
        size_t j0 = 0;
        while (j0 < w && !row[j0]) ++j0;
        if (j0 == w) continue;  // no outline on this row: j0 = j1 = 0
        size_t j1 = w - 1;
        while (j1 > 0 && !row[j1]) --j1;
        uint8_t* out = mask.Row(int(y));
        for (size_t x = j0; x < j1; ++x)
            if (first[x] < int(y) && int(y) < lastPos[x]) out[x >> 3] |= uint8_t(0x80 >> (x & 7));
    }
}

void ShiftMaskBits(const MaskBits& source, const MaskBits& destination, int dx, int dy) {
    if (!source.Valid() || !destination.Valid()) return;
    for (int y = 0; y < source.height; ++y) {
        int ty = y + dy;
        if (ty < 0 || ty >= destination.height) continue;
        const uint8_t* row = source.Row(y);
        uint8_t* to = destination.Row(ty);
        int x0 = std::max(0, -dx), x1 = std::min(source.width, destination.width - dx);
        for (int x = x0; x < x1; ++x)
            if (RowBit(row, x)) to[(x + dx) >> 3] |= uint8_t(0x80 >> ((x + dx) & 7));
    }
}

std::vector<OutlineSegment> SelectionOutline(const MaskBits& mask, int zoom, int ox, int oy) {
    std::vector<OutlineSegment> lines;
    if (!mask.Valid()) return lines;
    auto set = [&](int x, int y) { return mask.Inside(x, y) && mask.Get(x, y); };
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            if (!set(x, y)) continue;
            int top = oy + zoom * y + (set(x, y - 1) ? 0 : 1);
            int bottom = oy + zoom * (y + 1) - (set(x, y + 1) ? 0 : 1);
            if (!set(x - 1, y)) lines.push_back({ox + zoom * x, top, ox + zoom * x, bottom});
            if (!set(x + 1, y)) {
                int rx = ox + zoom * (x + 1) - 1;
                lines.push_back({rx, top, rx, bottom});
            }
        }
    }
    for (int x = 0; x < mask.width; ++x) {
        for (int y = 0; y < mask.height; ++y) {
            if (!set(x, y)) continue;
            int left = ox + zoom * x, right = ox + zoom * (x + 1);
            if (!set(x, y - 1)) lines.push_back({left, oy + zoom * y, right, oy + zoom * y});
            if (!set(x, y + 1)) {
                int by = oy + zoom * (y + 1) - 1;
                lines.push_back({left, by, right, by});
            }
        }
    }
    return lines;
}

DibRect OrderedRect(const DibRect& r) {
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}

void ScaleMaskBits(const MaskBits& source, const DibRect& sourceRect, const MaskBits& destination,
                   const DibRect& destinationRect) {
    if (!source.Valid() || !destination.Valid()) return;
    DibRect s = OrderedRect(sourceRect), d = OrderedRect(destinationRect);
    int64_t sw = int64_t(s.right) - s.left, sh = int64_t(s.bottom) - s.top;
    int64_t dw = int64_t(d.right) - d.left, dh = int64_t(d.bottom) - d.top;
    if (dw <= 0 || dh <= 0) return;
    for (int64_t v = 0; v < dh; ++v) {
        int64_t ty = d.top + v, sy = s.top + v * sh / dh;
        if (ty < 0 || ty >= destination.height || sy < 0 || sy >= source.height) continue;
        for (int64_t u = 0; u < dw; ++u) {
            int64_t tx = d.left + u, sx = s.left + u * sw / dw;
            if (tx < 0 || tx >= destination.width || sx < 0 || sx >= source.width) continue;
            if (source.Get(int(sx), int(sy))) destination.Put(int(tx), int(ty));
        }
    }
}

std::vector<RowSpan> EllipseRows(int cx, int cy, int rx, int ry, int width, int height) {
    std::vector<RowSpan> rows;
    if (width <= 0 || height <= 0) return rows;
    int left = cx - rx, top = cy - ry;
    if (rx - 1 <= 0) {
        for (int y = top; y < top + height; ++y) rows.push_back({y, cx, cx});
        return rows;
    }
    if (ry - 1 <= 0) {
        rows.push_back({cy, left, left + width - 1});
        return rows;
    }
    for (int y = 0; y < height; ++y) {
        int64_t x0, x1;
        if (EllipseRowExtent(width, height, y, &x0, &x1)) rows.push_back({top + y, left + int(x0), left + int(x1)});
    }
    return rows;
}

bool EllipseRowExtent(int64_t width, int64_t height, int64_t row, int64_t* first, int64_t* last) {
    if (width <= 0 || height <= 0 || row < 0 || row >= height) return false;
    // Pixel (x, y) of the box is inside when, with X = 2x + 1 - width and
    // Y = 2y + 1 - height (twice the offsets of its centre),
    // X^2 height^2 + Y^2 width^2 <= width^2 height^2. 128 bits hold every
    // product while width x height stays below 2^63.
    using Wide = __int128;
    const Wide w2 = Wide(width) * width, h2 = Wide(height) * height;
    const Wide Y = 2 * Wide(row) + 1 - height;
    const Wide room = w2 * (h2 - Y * Y);  // X^2 h2 <= room
    // Largest X with X^2 h2 <= room, then of the parity of width + 1.
    int64_t X = int64_t(std::sqrt(static_cast<long double>(room) / static_cast<long double>(h2)));
    while (X > 0 && Wide(X) * X * h2 > room) --X;
    while (Wide(X + 1) * (X + 1) * h2 <= room) ++X;
    if (((X - (width + 1)) & 1) != 0) --X;
    if (X < 0) return false;
    // 2x + 1 - width = -+X  ->  x = (width - 1 -+ X) / 2.
    *first = (width - 1 - X) / 2;
    *last = (width - 1 + X) / 2;
    return true;
}

}  // namespace document
