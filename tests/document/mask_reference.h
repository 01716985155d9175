// A plain per-pixel selection mask for the tests: one bool per pixel, and the
// conversions to and from the packed mask blocks under test.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "document/selection_mask.h"

namespace doctest {

struct RefMask {
    int w = 0, h = 0;
    std::vector<uint8_t> px;  // w x h, 1 = set

    RefMask(int width, int height) : w(width), h(height), px(size_t(width) * size_t(height)) {}
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    bool Get(int x, int y) const { return Inside(x, y) && px[size_t(y) * size_t(w) + size_t(x)]; }
    void Set(int x, int y, bool on = true) {
        if (Inside(x, y)) px[size_t(y) * size_t(w) + size_t(x)] = on;
    }
    bool operator==(const RefMask& o) const { return w == o.w && h == o.h && px == o.px; }
};

// A packed block of the maximum-size kind (extra rows and stray padding bits
// included) holding a mask.
struct PackedMask {
    std::vector<uint8_t> bytes;
    document::MaskBits bits;

    PackedMask(int width, int height, size_t extra = 64)
        : bytes(document::MaskRowBytes(width) * size_t(height) + extra) {
        bits = {bytes.data(), bytes.size(), width, height};
    }
    void Load(const RefMask& m) {
        std::fill(bytes.begin(), bytes.end(), 0);
        for (int y = 0; y < m.h; ++y)
            for (int x = 0; x < m.w; ++x)
                if (m.Get(x, y)) bits.Put(x, y);
    }
    RefMask Read() const {
        RefMask m(bits.width, bits.height);
        for (int y = 0; y < bits.height; ++y)
            for (int x = 0; x < bits.width; ++x) m.Set(x, y, bits.Get(x, y));
        return m;
    }
    // Padding bits of every row (x >= width) that are set.
    int PaddingBitsSet() const {
        int n = 0;
        for (int y = 0; y < bits.height; ++y)
            for (int x = bits.width; x < int(bits.RowBytes()) * 8; ++x)
                n += (bits.Row(y)[x >> 3] >> (7 - (x & 7))) & 1;
        return n;
    }
};

// A random mask; `percent` of the pixels set.
inline RefMask RandomMask(int w, int h, int percent, uint32_t seed) {
    std::mt19937 rng(seed);
    RefMask m(w, h);
    for (auto& p : m.px) p = int(rng() % 100) < percent;
    return m;
}

// A mask as text rows ('#' set, '.' clear), for failure messages.
inline std::string Show(const RefMask& m) {
    std::string s;
    for (int y = 0; y < m.h; ++y) {
        for (int x = 0; x < m.w; ++x) s += m.Get(x, y) ? '#' : '.';
        s += '\n';
    }
    return s;
}

}  // namespace doctest
