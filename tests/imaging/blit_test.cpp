#include "dib_test_util.h"

using namespace kvtest;

namespace {

class DibBlit : public ImagingTest {
protected:
    void TearDown() override {
        SetBlitMapToolMode(false);
        ImagingTest::TearDown();
    }
};

const Rows kSource = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}, {13, 14, 15, 16, 17, 18}};

// A mask block with rows of `rowBytes` bytes, top row first.
MemHandle MakeMask(const std::vector<std::vector<uint8_t>>& bits, int rowBytes) {
    MemHandle m = MemAlloc(size_t(rowBytes) * bits.size());
    MemLockGuard l(m);
    for (size_t y = 0; y < bits.size(); ++y)
        for (size_t x = 0; x < bits[y].size(); ++x)
            if (bits[y][x]) l.get()[y * size_t(rowBytes) + x / 8] |= uint8_t(0x80 >> (x % 8));
    return m;
}

struct ClipCase {
    const char* name;
    int x, y, w, h, sx, sy;
    Rows expected;  // destination 4 x 3 after the copy, starting all 0
};

class BlitClipping : public DibBlit, public ::testing::WithParamInterface<ClipCase> {};

}  // namespace

TEST_P(BlitClipping, CopiesTheClippedRectangle) {
    const ClipCase& c = GetParam();
    Blocks blocks;
    MemHandle src = blocks(MakeDib8(kSource));
    MemHandle dst = blocks(MakeDib8(4, 3));
    bool copied = BlitDibRect(dst, src, c.x, c.y, c.w, c.h, c.sx, c.sy);
    EXPECT_EQ(Pixels8(dst), c.expected);
    bool anything = false;
    for (const auto& r : c.expected)
        for (uint8_t v : r) anything |= v != 0;
    EXPECT_EQ(copied, anything);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlitClipping,
    ::testing::Values(
        ClipCase{"plain", 1, 1, 2, 2, 0, 0, {{0, 0, 0, 0}, {0, 1, 2, 0}, {0, 7, 8, 0}}},
        // Destination x -3: copies from source x + 3 with 3 pixels fewer.
        ClipCase{"destinationXMinus3", -3, 0, 5, 1, 0, 0, {{4, 5, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
        ClipCase{"destinationYNegative", 0, -2, 2, 3, 0, 0, {{13, 14, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
        ClipCase{"sourceXNegative", 0, 0, 3, 1, -2, 0, {{0, 0, 1, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
        ClipCase{"sourceYNegative", 0, 0, 1, 3, 0, -1, {{0, 0, 0, 0}, {1, 0, 0, 0}, {7, 0, 0, 0}}},
        ClipCase{"cutToDestination", 2, 1, 10, 10, 0, 0, {{0, 0, 0, 0}, {0, 0, 1, 2}, {0, 0, 7, 8}}},
        ClipCase{"cutToSource", 0, 0, 4, 3, 4, 1, {{11, 12, 0, 0}, {17, 18, 0, 0}, {0, 0, 0, 0}}},
        ClipCase{"huge", -1000000, 0, 2000000000, 1, 0, 0, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
        ClipCase{"outside", 4, 0, 2, 2, 0, 0, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
        ClipCase{"zeroWidth", 0, 0, 0, 2, 0, 0, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DibBlit, IntoADestinationLayerAndFromASourceLayer) {
    Blocks blocks;
    MemHandle dst = blocks(CreateDib8(4, 2, 0));
    MemHandle dstLayer = blocks(MakeLayer(4, 2, 9));
    MemHandle srcLayer = blocks(MakeLayer(Rows{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}));
    ASSERT_TRUE(BlitDibRect(dst, srcLayer, 1, 0, 3, 3, 0, 1, dstLayer, true));
    EXPECT_EQ(LayerPixels(dstLayer), (Rows{{9, 4, 5, 6}, {9, 7, 8, 9}}));
    EXPECT_EQ(Pixels8(dst), (Rows{{0, 0, 0, 0}, {0, 0, 0, 0}}));  // the image itself untouched

    // A destination layer too small for the image's geometry is refused.
    MemHandle tiny = blocks(MakeLayer(2, 1));
    EXPECT_FALSE(BlitDibRect(dst, srcLayer, 0, 0, 3, 3, 0, 0, tiny, true));
}

TEST_F(DibBlit, WithAMaskOnlySetBitsAreWritten) {
    Blocks blocks;
    MemHandle src = blocks(MakeDib8(kSource));
    MemHandle dst = blocks(MakeDib8(4, 2));
    // Mask over the source: a 2-byte row length, first bit 3 (as a floating
    // mask whose rectangle starts at x = 3 of its byte).
    MemHandle maskBits = blocks(MakeMask({{0, 0, 0, 1, 0, 1, 1, 0}, {0, 0, 0, 0, 1, 0, 0, 0}}, 2));
    DibMask mask{maskBits, 2, 0, 3};
    ASSERT_TRUE(BlitDibRect(dst, src, 0, 0, 4, 2, 0, 0, nullptr, false, &mask));
    EXPECT_EQ(Pixels8(dst), (Rows{{1, 0, 3, 4}, {0, 8, 0, 0}}));
    // A mask handle that is not valid writes nothing.
    MemHandle dst2 = blocks(MakeDib8(4, 2));
    DibMask none{nullptr, 2, 0, 0};
    EXPECT_FALSE(BlitDibRect(dst2, src, 0, 0, 4, 2, 0, 0, nullptr, false, &none));
    // Bits past the mask block count as clear.
    DibMask shortMask{maskBits, 2, 1, 3};
    MemHandle dst3 = blocks(MakeDib8(4, 2));
    ASSERT_TRUE(BlitDibRect(dst3, src, 0, 0, 4, 2, 0, 0, nullptr, false, &shortMask));
    EXPECT_EQ(Pixels8(dst3), (Rows{{0, 2, 0, 0}, {0, 0, 0, 0}}));
}

TEST_F(DibBlit, ExWithMaskTestsAllThree) {
    Blocks blocks;
    MemHandle src = blocks(MakeDib8({{1, 2, 3, 4}}));
    MemHandle dst = blocks(MakeDib8({{5, 6, 7, 8}}));
    MemHandle maskBits = blocks(MakeMask({{1, 1, 1, 0}}, 1));
    DibMask mask{maskBits, 1, 0, 0};
    uint8_t writable[256] = {}, enabled[256] = {};
    std::memset(writable, 1, sizeof writable);
    std::memset(enabled, 1, sizeof enabled);
    writable[6] = 0;  // destination index 6 may not be overwritten
    enabled[3] = 0;   // source index 3 is not copied
    ASSERT_TRUE(BlitDibRectEx(dst, src, 0, 0, 4, 1, 0, 0, writable, enabled, nullptr, false, &mask));
    EXPECT_EQ(Pixels8(dst), (Rows{{1, 6, 7, 8}}));
}

TEST_F(DibBlit, ExWithoutMaskFollowsTheMapToolMode) {
    Blocks blocks;
    MemHandle src = blocks(MakeDib8({{0, 2, 0, 4}}));
    uint8_t writable[256] = {}, enabled[256];
    std::memset(enabled, 1, sizeof enabled);
    enabled[0] = 0;
    MemHandle off = blocks(MakeDib8({{9, 9, 9, 9}}));
    ASSERT_TRUE(BlitDibRectEx(off, src, 0, 0, 4, 1, 0, 0, writable, enabled));
    EXPECT_EQ(Pixels8(off), (Rows{{0, 2, 0, 4}}));  // whole rows

    SetBlitMapToolMode(true);
    EXPECT_TRUE(BlitMapToolMode());
    MemHandle on = blocks(MakeDib8({{9, 9, 9, 9}}));
    ASSERT_TRUE(BlitDibRectEx(on, src, 0, 0, 4, 1, 0, 0, writable, enabled));
    EXPECT_EQ(Pixels8(on), (Rows{{9, 2, 9, 4}}));  // enabled sources only, writable not asked
}

TEST_F(DibBlit, GuardedTestsSourceAndDestination) {
    Blocks blocks;
    MemHandle src = blocks(MakeDib8({{0, 2, 3, 4}, {1, 1, 1, 1}}));
    MemHandle dst = blocks(MakeDib8({{5, 6, 7, 8}, {0, 0, 0, 0}}));
    uint8_t writable[256], enabled[256];
    std::memset(writable, 1, sizeof writable);
    std::memset(enabled, 1, sizeof enabled);
    enabled[0] = 0;
    writable[7] = 0;
    ASSERT_TRUE(BlitDibRectGuarded(dst, src, 0, 0, 4, 2, 0, 0, writable, enabled));
    EXPECT_EQ(Pixels8(dst), (Rows{{5, 2, 7, 4}, {1, 1, 1, 1}}));
    // Null tables allow everything.
    MemHandle dst2 = blocks(MakeDib8(4, 2));
    ASSERT_TRUE(BlitDibRectGuarded(dst2, src, 0, 0, 4, 2, 0, 0, nullptr, nullptr));
    EXPECT_EQ(Pixels8(dst2), (Rows{{0, 2, 3, 4}, {1, 1, 1, 1}}));
}

TEST_F(DibBlit, DirectColourRowsAreUnpadded) {
    Blocks blocks;
    MemHandle src = blocks(MakeDib24({{0x010101, 0x020202, 0x030303}, {0x040404, 0x050505, 0x060606}}, false));
    MemHandle dst = blocks(CreateDib8(3, 2, 3));
    ASSERT_TRUE(BlitDibRect(dst, src, 1, 0, 3, 2, 0, 0));
    EXPECT_EQ(Pixel24(dst, 0, 0), 0u);
    EXPECT_EQ(Pixel24(dst, 1, 0), 0x010101u);
    EXPECT_EQ(Pixel24(dst, 2, 1), 0x050505u);
}

TEST_F(DibBlit, RefusesMismatchedAndBrokenBlocks) {
    Blocks blocks;
    MemHandle eight = blocks(MakeDib8(4, 4, 1));
    MemHandle rgb = blocks(CreateDib8(4, 4, 3));
    MemHandle four = blocks(MakeDib4({{1, 2, 3, 4}}));
    EXPECT_FALSE(BlitDibRect(rgb, eight, 0, 0, 4, 4, 0, 0));
    EXPECT_FALSE(BlitDibRect(four, four, 0, 0, 4, 1, 0, 0));
    EXPECT_FALSE(BlitDibRect(nullptr, eight, 0, 0, 4, 4, 0, 0));
    EXPECT_FALSE(BlitDibRect(eight, nullptr, 0, 0, 4, 4, 0, 0));
    MemHandle lying = blocks(MakeDib8(4, 4, 2));
    {
        MemLockGuard l(lying);
        l.as<DibInfoHeader>()->height = 4000;
    }
    EXPECT_FALSE(BlitDibRect(lying, eight, 0, 0, 4, 4, 0, 0));
    EXPECT_FALSE(BlitDibRect(eight, lying, 0, 0, 4, 4, 0, 0));
    EXPECT_EQ(Pixels8(eight), (Rows(4, std::vector<uint8_t>(4, 1))));
    // A source layer whose rectangle claims more than its block.
    MemHandle layer = blocks(MakeLayer(2, 2, 5));
    {
        MemLockGuard l(layer);
        l.as<LayerHeader>()->right = 900;
    }
    EXPECT_FALSE(BlitDibRect(eight, layer, 0, 0, 4, 4, 0, 0, nullptr, true));
}

namespace {
class DibFill : public ImagingTest {};
}  // namespace

TEST_F(DibFill, FillsEachPixelFormat) {
    Blocks blocks;
    MemHandle eight = blocks(MakeDib8(4, 3));
    ASSERT_TRUE(FillDibRect(eight, -1, 1, 3, 5, 0x1234));
    EXPECT_EQ(Pixels8(eight), (Rows{{0, 0, 0, 0}, {0x34, 0x34, 0, 0}, {0x34, 0x34, 0, 0}}));

    MemHandle rgb = blocks(CreateDib8(3, 2, 3));
    ASSERT_TRUE(FillDibRect(rgb, 1, 0, 5, 1, 0xaabbcc));
    EXPECT_EQ(Pixel24(rgb, 0, 0), 0u);
    EXPECT_EQ(Pixel24(rgb, 2, 0), 0xaabbccu);
    EXPECT_EQ(Pixel24(rgb, 2, 1), 0u);

    MemHandle sixteen = blocks(CreateDib8(2, 1, 2));
    ASSERT_TRUE(FillDibRect(sixteen, 0, 0, 2, 1, 0x7c1f));
    {
        MemLockGuard l(sixteen);
        EXPECT_EQ(std::vector<int>(l.get() + 40, l.get() + 44), (std::vector<int>{0x1f, 0x7c, 0x1f, 0x7c}));
    }
    MemHandle four = blocks(MakeDib4({{1, 1, 1}}));
    ASSERT_TRUE(FillDibRect(four, 1, 0, 1, 1, 0xfa));
    {
        MemLockGuard l(four);
        EXPECT_EQ(l.get()[104], 0x1a);
        EXPECT_EQ(l.get()[105], 0x10);
    }
    EXPECT_FALSE(FillDibRect(eight, 4, 0, 2, 2, 1));
    EXPECT_FALSE(FillDibRect(nullptr, 0, 0, 2, 2, 1));
}

TEST_F(DibFill, FillsALayerWithTheImageGeometry) {
    Blocks blocks;
    MemHandle img = blocks(CreateDib8(3, 2, 0));
    MemHandle layer = blocks(MakeLayer(3, 2));
    ASSERT_TRUE(FillDibRect(img, 1, 1, 9, 9, 7, layer));
    EXPECT_EQ(LayerPixels(layer), (Rows{{0, 0, 0}, {0, 7, 7}}));
    EXPECT_EQ(Pixels8(img), (Rows{{0, 0, 0}, {0, 0, 0}}));
}

TEST_F(DibFill, MaskedFillClearsSelectedIndexedPixels) {
    Blocks blocks;
    MemHandle img = blocks(MakeDib8({{1, 2, 3}, {4, 5, 6}}));
    MemHandle layer = blocks(MakeLayer(Rows{{1, 2, 3}, {4, 5, 6}}));
    MemHandle maskBits = blocks(MakeMask({{1, 0, 1}, {0, 1, 1}}, 1));  // selection-mask rows
    DibMask mask{maskBits, 1, 0, 0};
    ASSERT_TRUE(FillDibRectMasked(img, 0, 0, 2, 2, 99, nullptr, mask));
    EXPECT_EQ(Pixels8(img), (Rows{{0, 2, 3}, {4, 0, 6}}));
    ASSERT_TRUE(FillDibRectMasked(img, 0, 0, 3, 2, 99, layer, mask));
    EXPECT_EQ(LayerPixels(layer), (Rows{{0, 2, 0}, {4, 0, 0}}));

    MemHandle rgb = blocks(CreateDib8(2, 1, 3));
    ASSERT_TRUE(FillDibRectMasked(rgb, 0, 0, 2, 1, 0x010203, nullptr, DibMask{}));
    EXPECT_EQ(Pixel24(rgb, 1, 0), 0x010203u);
}

TEST_F(DibFill, RemapWithinTheRectangle) {
    Blocks blocks;
    uint8_t map[256];
    for (int i = 0; i < 256; ++i) map[i] = uint8_t(255 - i);
    MemHandle img = blocks(MakeDib8({{1, 2, 3}, {4, 5, 6}}));
    ASSERT_TRUE(RemapDibRect(img, map, 1, 0, 3, 1));
    EXPECT_EQ(Pixels8(img), (Rows{{1, 253, 252}, {4, 5, 6}}));
    ASSERT_TRUE(RemapDibRect(img, map, -5, 1, 50, 50));
    EXPECT_EQ(Pixels8(img), (Rows{{1, 253, 252}, {251, 250, 249}}));
    MemHandle layer = blocks(MakeLayer(Rows{{1, 2, 3}, {4, 5, 6}}));
    ASSERT_TRUE(RemapDibRect(img, map, 0, 0, 1, 2, layer));
    EXPECT_EQ(LayerPixels(layer), (Rows{{254, 2, 3}, {251, 5, 6}}));
    EXPECT_FALSE(RemapDibRect(img, map, 2, 0, 2, 2));
    EXPECT_FALSE(RemapDibRect(img, nullptr, 0, 0, 2, 2));
    MemHandle rgb = blocks(CreateDib8(2, 1, 3));
    EXPECT_FALSE(RemapDibRect(rgb, map, 0, 0, 2, 1));
}
