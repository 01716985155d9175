// The wand's area grow and edge points against plain per-pixel references
// on random small layers of two or three indices.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "document/wand_region.h"
#include "imaging/dib_geometry.h"

namespace {

struct Image {
    int w, h;
    size_t stride;
    std::vector<uint8_t> pixels;  // rows bottom-up
    uint8_t& At(int x, int y) { return pixels[size_t(h - 1 - y) * stride + size_t(x)]; }
    document::WandLayer Layer() const { return {pixels.data(), stride, w, h}; }
};

struct Mask {
    std::vector<uint8_t> bytes;
    document::MaskBits bits;
    Mask(int w, int h) : bytes(document::MaskRowBytes(w) * size_t(h) + 7) {
        bits = {bytes.data(), bytes.size(), w, h};
    }
};

// The scan-line stack grow with visited marks in a copy of the layer.
std::vector<bool> ReferenceGrow(Image img, int sx, int sy) {
    std::vector<bool> sel(size_t(img.w * img.h));
    const uint8_t c = img.At(sx, sy);
    const uint8_t mark = c ? 0 : 1;
    std::vector<std::pair<int, int>> stack;
    int x = sx, y = sy;
    for (;;) {
        while (x < img.w && img.At(x, y) == c) {
            img.At(x, y) = mark;
            sel[size_t(y * img.w + x)] = true;
            if (y > 0 && img.At(x, y - 1) == c) stack.push_back({x, y - 1});
            if (y + 1 < img.h && img.At(x, y + 1) == c) stack.push_back({x, y + 1});
            if (x > 0 && img.At(x - 1, y) == c) stack.push_back({x - 1, y});
            ++x;
        }
        if (stack.empty()) break;
        std::tie(x, y) = stack.back();
        stack.pop_back();
    }
    return sel;
}

std::vector<bool> ReferenceEdges(const std::vector<bool>& sel, int w, int h) {
    std::vector<bool> e(sel.size());
    auto s = [&](int x, int y) { return bool(sel[size_t(y * w + x)]); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool left = x > 0 && s(x - 1, y), up = y > 0 && s(x, y - 1);
            if (s(x, y) != left || s(x, y) != up) e[size_t(y * w + x)] = true;
        }
    return e;
}

std::vector<bool> Bits(const document::MaskBits& m) {
    std::vector<bool> out(size_t(m.width * m.height));
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) out[size_t(y * m.width + x)] = m.Get(x, y);
    return out;
}

TEST(WandRegion, RandomLayersMatchThePlainStackGrow) {
    std::mt19937 rng(41);
    // Odd widths up to 23, then up to 255: rows of several 64-pixel words.
    for (int round = 0; round < 500; ++round) {
        const int w = 1 + 2 * int(rng() % (round < 300 ? 12 : 128)), h = 1 + int(rng() % 20);
        const int indices = 2 + int(rng() % 2);
        Image img{w, h, dib::LayerRowBytes(w), {}};
        img.pixels.assign(img.stride * size_t(h), 0xEE);  // padding never read as pixels
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) img.At(x, y) = uint8_t(rng() % indices);
        const std::vector<uint8_t> before = img.pixels;
        const int sx = int(rng() % w), sy = int(rng() % h);
        Mask sel(w, h), edges(w, h);
        ASSERT_TRUE(document::GrowWandRegion(sel.bits, img.Layer(), sx, sy));
        const std::vector<bool> want = ReferenceGrow(img, sx, sy);
        ASSERT_EQ(Bits(sel.bits), want) << "round " << round;
        document::MarkRegionEdges(sel.bits, edges.bits);
        ASSERT_EQ(Bits(edges.bits), ReferenceEdges(want, w, h)) << "round " << round;
        EXPECT_EQ(img.pixels, before);
        // Padding bits of the masks stay clear.
        const size_t rb = document::MaskRowBytes(w);
        for (int y = 0; y < h; ++y) {
            EXPECT_EQ(sel.bytes[y * rb + rb - 1] & ~document::LastByteMask(w), 0);
            EXPECT_EQ(edges.bytes[y * rb + rb - 1] & ~document::LastByteMask(w), 0);
        }
    }
}

// Layers whose grow takes the longer ways: a tall one-pixel serpentine (the
// grow turns from row sweeps to the span search on the way) and random rows
// wider than 4096 pixels.
TEST(WandRegion, TallSerpentineAndWideRowsMatchThePlainStackGrow) {
    struct Case {
        int w, h;
        bool serpentine;
    };
    std::mt19937 rng(552);
    for (const Case c : {Case{17, 1500, true}, Case{5001, 9, false}, Case{8300, 4, false}}) {
        Image img{c.w, c.h, dib::LayerRowBytes(c.w), {}};
        img.pixels.assign(img.stride * size_t(c.h), 0xEE);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) img.At(x, y) = c.serpentine ? uint8_t(x % 2) : uint8_t(rng() % 100 < 45);
        if (c.serpentine)
            for (int x = 1; x + 1 < c.w; x += 2) img.At(x, (x / 2) % 2 ? 0 : c.h - 1) = 0;
        const int sx = c.serpentine ? 0 : c.w / 2, sy = c.serpentine ? 0 : c.h / 2;
        img.At(sx, sy) = 0;
        Mask sel(c.w, c.h);
        ASSERT_TRUE(document::GrowWandRegion(sel.bits, img.Layer(), sx, sy));
        EXPECT_EQ(Bits(sel.bits), ReferenceGrow(img, sx, sy)) << c.w << " x " << c.h;
    }
}

TEST(WandRegion, RefusedMemoryLeavesTheMaskClear) {
    Image img{5, 3, dib::LayerRowBytes(5), std::vector<uint8_t>(dib::LayerRowBytes(5) * 3, 0)};
    Mask sel(5, 3);
    document::SetWandMemoryRefusedForTest(true);
    EXPECT_FALSE(document::GrowWandRegion(sel.bits, img.Layer(), 1, 1));
    document::SetWandMemoryRefusedForTest(false);
    EXPECT_EQ(Bits(sel.bits), std::vector<bool>(15));
}

}  // namespace
