// Small builders and readers for the imaging tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"

namespace kvtest {

// Rows given top row first, as they look.
using Rows = std::vector<std::vector<uint8_t>>;

inline size_t Stride8(int w) { return (size_t(w) + 3) & ~size_t(3); }

// An 8-bit image from CreateDib8 with the given pixels (top row first).
inline MemHandle MakeDib8(const Rows& rows) {
    int h = int(rows.size()), w = int(rows.at(0).size());
    MemHandle img = CreateDib8(w, h, 0);
    MemLockGuard l(img);
    for (int y = 0; y < h; ++y)
        std::memcpy(l.get() + 1064 + size_t(h - 1 - y) * Stride8(w), rows[size_t(y)].data(), size_t(w));
    return img;
}

inline MemHandle MakeDib8(int w, int h, uint8_t fill = 0) {
    return MakeDib8(Rows(size_t(h), std::vector<uint8_t>(size_t(w), fill)));
}

// Pixel (x, y from the top) of an 8-bit image.
inline uint8_t Pixel8(MemHandle img, int x, int y) {
    dib::LockedDib d(img);
    EXPECT_TRUE(bool(d));
    if (!d) return 0;
    return d.Row(d.geo().height - 1 - y, d.geo().PaddedRow())[x];
}

inline Rows Pixels8(MemHandle img) {
    dib::LockedDib d(img);
    Rows out;
    if (!d) return out;
    for (int y = 0; y < d.geo().height; ++y) {
        const uint8_t* r = d.Row(d.geo().height - 1 - y, d.geo().PaddedRow());
        out.emplace_back(r, r + d.geo().width);
    }
    return out;
}

// A layer buffer w x h with the given pixels (top row first).
inline MemHandle MakeLayer(const Rows& rows, uint8_t visible = 1, uint8_t drawMode = 0,
                           const char* name = "layer") {
    int h = int(rows.size()), w = int(rows.at(0).size());
    MemHandle l = MemAlloc(LAYER_HEADER_SIZE + Stride8(w) * size_t(h));
    MemLockGuard g(l);
    auto* head = g.as<LayerHeader>();
    head->visible = visible;
    head->drawMode = drawMode;
    std::strncpy(head->name, name, sizeof head->name - 1);
    head->right = w;
    head->bottom = h;
    for (int y = 0; y < h; ++y)
        std::memcpy(g.get() + LAYER_HEADER_SIZE + size_t(h - 1 - y) * Stride8(w), rows[size_t(y)].data(),
                    size_t(w));
    return l;
}

inline MemHandle MakeLayer(int w, int h, uint8_t fill = 0, uint8_t visible = 1, uint8_t drawMode = 0) {
    return MakeLayer(Rows(size_t(h), std::vector<uint8_t>(size_t(w), fill)), visible, drawMode);
}

// Layer rows (top first) using the layer's own rectangle, or w x h when given.
inline Rows LayerPixels(MemHandle layer, int w = 0, int h = 0) {
    MemLockGuard g(layer);
    Rows out;
    if (!g) return out;
    const auto* head = g.as<LayerHeader>();
    if (w == 0) {
        w = head->right - head->left;
        h = head->bottom - head->top;
    }
    for (int y = 0; y < h; ++y) {
        const uint8_t* r = g.get() + LAYER_HEADER_SIZE + size_t(h - 1 - y) * Stride8(w);
        out.emplace_back(r, r + w);
    }
    return out;
}

// A 24-bit image with padded rows; pixel (x, y) = colours[y][x] as 0xRRGGBB.
inline MemHandle MakeDib24(const std::vector<std::vector<uint32_t>>& colours, bool padded = true) {
    int h = int(colours.size()), w = int(colours.at(0).size());
    size_t stride = padded ? dib::PaddedRowBytes(w, 24) : size_t(w) * 3;
    MemHandle img = dib::NewInfoDib(w, h, 24, 40 + stride * size_t(h));
    MemLockGuard l(img);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = l.get() + 40 + size_t(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x, p += 3) {
            uint32_t c = colours[size_t(y)][size_t(x)];
            p[0] = uint8_t(c);
            p[1] = uint8_t(c >> 8);
            p[2] = uint8_t(c >> 16);
        }
    }
    return img;
}

// Pixel (x, y from the top) of a 24-bit image as 0xRRGGBB (display rule).
inline uint32_t Pixel24(MemHandle img, int x, int y) {
    dib::LockedDib d(img);
    EXPECT_TRUE(bool(d));
    if (!d) return 0;
    const uint8_t* p = d.Row(d.geo().height - 1 - y, d.geo().DisplayRow()) + size_t(x) * 3;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
}

// A 4-bit image; pixels top row first (values 0..15), entries as 0xRRGGBB.
inline MemHandle MakeDib4(const Rows& rows, const std::vector<uint32_t>& entries = {}) {
    int h = int(rows.size()), w = int(rows.at(0).size());
    size_t stride = dib::PaddedRowBytes(w, 4);
    MemHandle img = dib::NewInfoDib(w, h, 4, 40 + 64 + stride * size_t(h));
    MemLockGuard l(img);
    auto* t = reinterpret_cast<PaletteEntry*>(l.get() + 40);
    for (size_t i = 0; i < entries.size() && i < 16; ++i)
        t[i] = {uint8_t(entries[i]), uint8_t(entries[i] >> 8), uint8_t(entries[i] >> 16), uint8_t(i * 10)};
    for (int y = 0; y < h; ++y) {
        uint8_t* r = l.get() + 104 + size_t(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) r[x / 2] |= (x & 1) ? rows[size_t(y)][size_t(x)] : uint8_t(rows[size_t(y)][size_t(x)] << 4);
    }
    return img;
}

// A 1-bit image with the two colours given as 0xRRGGBB.
inline MemHandle MakeDib1(const Rows& rows, uint32_t c0 = 0x000000, uint32_t c1 = 0xffffff) {
    int h = int(rows.size()), w = int(rows.at(0).size());
    size_t stride = dib::PaddedRowBytes(w, 1);
    MemHandle img = dib::NewInfoDib(w, h, 1, 40 + 8 + stride * size_t(h));
    MemLockGuard l(img);
    auto* t = reinterpret_cast<PaletteEntry*>(l.get() + 40);
    t[0] = {uint8_t(c0), uint8_t(c0 >> 8), uint8_t(c0 >> 16), 0};
    t[1] = {uint8_t(c1), uint8_t(c1 >> 8), uint8_t(c1 >> 16), 0};
    for (int y = 0; y < h; ++y) {
        uint8_t* r = l.get() + 48 + size_t(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x)
            if (rows[size_t(y)][size_t(x)]) r[x / 8] |= uint8_t(0x80 >> (x % 8));
    }
    return img;
}

// A core-header 8-bit image: 12-byte header, 256 three-byte entries.
inline MemHandle MakeCoreDib8(const Rows& rows) {
    int h = int(rows.size()), w = int(rows.at(0).size());
    MemHandle img = MemAlloc(12 + 768 + Stride8(w) * size_t(h));
    MemLockGuard l(img);
    auto* core = l.as<DibCoreHeader>();
    core->size = 12;
    core->width = uint16_t(w);
    core->height = uint16_t(h);
    core->planes = 1;
    core->bitCount = 8;
    for (int y = 0; y < h; ++y)
        std::memcpy(l.get() + 780 + size_t(h - 1 - y) * Stride8(w), rows[size_t(y)].data(), size_t(w));
    return img;
}

inline void SetEntry(MemHandle img, int i, uint32_t rgb, uint8_t alpha = 0) {
    ASSERT_EQ(SetDibPaletteEntry(img, i, uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), alpha), 1);
}

inline DibInfoHeader Info(MemHandle img) {
    DibInfoHeader h{};
    MemLockGuard l(img);
    if (l && l.size() >= sizeof h) std::memcpy(&h, l.get(), sizeof h);
    return h;
}

// Frees every handle it was given at the end of a test.
class Blocks {
public:
    Blocks() = default;
    Blocks(std::initializer_list<MemHandle> hs) : list_(hs) {}
    ~Blocks() {
        for (MemHandle h : list_) MemFree(h);  // freed or unknown handles are refused safely
    }
    MemHandle operator()(MemHandle h) {
        list_.push_back(h);
        return h;
    }

private:
    std::vector<MemHandle> list_;
};

// Checks that a test leaves no block behind and lifts any memory limit.
class ImagingTest : public ::testing::Test {
protected:
    void SetUp() override {
        MemSetLimit(MEM_NO_LIMIT);
        blocksAtStart_ = MemBlockCount();
    }
    void TearDown() override {
        MemSetLimit(MEM_NO_LIMIT);
        EXPECT_EQ(MemBlockCount(), blocksAtStart_) << "blocks leaked";
    }
    // The next allocation of more than `room` bytes fails.
    static void LimitRoom(size_t room) { MemSetLimit(MemBytesInUse() + room); }

private:
    size_t blocksAtStart_ = 0;
};

}  // namespace kvtest
