#include "dib_test_util.h"

using namespace kvtest;

namespace {

struct HeaderCase {
    const char* name;
    int bits;
    uint32_t clrUsed;
    int width, height;
    int tableBytes;
    int colorCount;
    int formatCode;
    bool indexed;
};

class DibAccessTable : public ImagingTest, public ::testing::WithParamInterface<HeaderCase> {};

MemHandle MakeHeaderOnly(const HeaderCase& c) {
    size_t rows = dib::PaddedRowBytes(c.width, c.bits) * size_t(c.height);
    MemHandle h = MemAlloc(40 + size_t(c.tableBytes) + rows);
    MemLockGuard l(h);
    auto* info = l.as<DibInfoHeader>();
    info->size = 40;
    info->width = c.width;
    info->height = c.height;
    info->planes = 1;
    info->bitCount = uint16_t(c.bits);
    info->clrUsed = c.clrUsed;
    return h;
}

}  // namespace

TEST_P(DibAccessTable, MeasuresTheHeader) {
    const HeaderCase& c = GetParam();
    Blocks blocks;
    MemHandle h = blocks(MakeHeaderOnly(c));
    {
        MemLockGuard l(h);
        EXPECT_EQ(GetDibWidth(l.get()), c.width);
        EXPECT_EQ(GetDibHeight(l.get()), c.height);
        EXPECT_EQ(GetDibColorTableBytes(l.get()), c.tableBytes);
        EXPECT_EQ(GetDibColorCount(l.get(), 0), c.colorCount);
        EXPECT_EQ(GetDibColorCount(l.get(), 1), c.bits);
        EXPECT_EQ(GetDibBitsPtr(l.get()), l.get() + 40 + c.tableBytes);
    }
    EXPECT_EQ(GetDibFormatCode(h), c.formatCode);
    EXPECT_EQ(IsDibIndexed(h), c.indexed);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, DibAccessTable,
    ::testing::Values(HeaderCase{"mono", 1, 0, 9, 2, 8, 2, 5, false},
                      HeaderCase{"four", 4, 0, 3, 2, 64, 16, 0, true},
                      HeaderCase{"fourUsed5", 4, 5, 3, 2, 20, 5, 0, true},
                      HeaderCase{"eight", 8, 0, 5, 3, 1024, 256, 0, true},
                      HeaderCase{"eightUsed20", 8, 20, 5, 3, 80, 20, 0, true},
                      HeaderCase{"sixteen", 16, 0, 4, 4, 0, 0, 2, false},
                      HeaderCase{"rgb24", 24, 0, 4, 4, 0, 0, 3, false},
                      HeaderCase{"rgb24Used3", 24, 3, 4, 4, 12, 3, 3, false},
                      HeaderCase{"rgb32", 32, 0, 4, 4, 0, 0, 4, false}),
    [](const auto& info) { return std::string(info.param.name); });

class DibAccess : public ImagingTest {};

TEST_F(DibAccess, CoreHeaderIsMeasuredToo) {
    Blocks blocks;
    MemHandle h = blocks(MakeCoreDib8({{1, 2, 3}}));
    MemLockGuard l(h);
    EXPECT_EQ(GetDibWidth(l.get()), 3);
    EXPECT_EQ(GetDibHeight(l.get()), 1);
    EXPECT_EQ(GetDibColorTableBytes(l.get()), 768);
    EXPECT_EQ(GetDibColorCount(l.get(), 0), 256);
    EXPECT_EQ(GetDibBitsPtr(l.get()), l.get() + 780);
    EXPECT_TRUE(IsDibIndexed(h));
}

TEST_F(DibAccess, HugeColourCountsSaturate) {
    DibInfoHeader h{40, 1, 1, 1, 8, 0, 0, 0, 0, 0xffffffffu, 0};
    EXPECT_EQ(GetDibColorCount(&h, 0), INT32_MAX);
    EXPECT_EQ(GetDibColorTableBytes(&h), INT32_MAX);
}

TEST_F(DibAccess, NullAndRefusedHandlesGiveZero) {
    EXPECT_FALSE(IsDibIndexed(nullptr));
    EXPECT_EQ(GetDibFormatCode(nullptr), 0);
    uint8_t r = 9;
    EXPECT_EQ(GetDibPaletteEntry(nullptr, 0, &r, &r, &r, &r), 0);
    EXPECT_EQ(r, 9);
    EXPECT_EQ(SetDibPaletteEntry(nullptr, 0, 1, 2, 3, 4), 0);
    EXPECT_FALSE(UsesOnly16Colors(nullptr));
    EXPECT_FALSE(IsSixteenColorDib(nullptr));
    EXPECT_EQ(GetDibWidth(nullptr), 0);
    EXPECT_EQ(GetDibBitsPtr(static_cast<void*>(nullptr)), nullptr);

    // A header that claims a table bigger than its block.
    Blocks blocks;
    MemHandle lying = blocks(MemAlloc(60));
    {
        MemLockGuard l(lying);
        auto* info = l.as<DibInfoHeader>();
        *info = DibInfoHeader{40, 4, 4, 1, 8, 0, 0, 0, 0, 0, 0};
    }
    EXPECT_FALSE(IsDibIndexed(lying));
    EXPECT_EQ(GetDibPaletteEntry(lying, 0, &r, &r, &r, &r), 0);
    EXPECT_EQ(SetDibPaletteEntry(lying, 0, 1, 2, 3, 4), 0);
    EXPECT_FALSE(UsesOnly16Colors(lying));
}

TEST_F(DibAccess, PaletteEntriesReadAndWriteWithinTheTable) {
    Blocks blocks;
    MemHandle img = blocks(CreateDib8(2, 2, 0));
    ASSERT_EQ(SetDibPaletteEntry(img, 255, 10, 20, 30, 40), 1);
    uint8_t r, g, b, a;
    ASSERT_EQ(GetDibPaletteEntry(img, 255, &r, &g, &b, &a), 1);
    EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({10, 20, 30, 40}));
    {
        MemLockGuard l(img);
        const auto* e = reinterpret_cast<const PaletteEntry*>(l.get() + 40) + 255;
        EXPECT_EQ(e->blue, 30);  // stored blue, green, red, alpha
        EXPECT_EQ(e->red, 10);
    }
    EXPECT_EQ(GetDibPaletteEntry(img, 256, &r, &g, &b, &a), 0);
    EXPECT_EQ(GetDibPaletteEntry(img, -1, &r, &g, &b, &a), 0);
    EXPECT_EQ(SetDibPaletteEntry(img, 256, 1, 1, 1, 1), 0);

    MemHandle four = blocks(MakeDib4({{0}}, {0x112233}));
    EXPECT_EQ(GetDibPaletteEntry(four, 15, &r, &g, &b, &a), 1);
    EXPECT_EQ(GetDibPaletteEntry(four, 16, &r, &g, &b, &a), 0);

    MemHandle core = blocks(MakeCoreDib8({{0}}));
    ASSERT_EQ(SetDibPaletteEntry(core, 3, 7, 8, 9, 200), 1);
    ASSERT_EQ(GetDibPaletteEntry(core, 3, &r, &g, &b, &a), 1);
    EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({7, 8, 9, 0}));
    EXPECT_EQ(GetDibPaletteEntry(core, 256, &r, &g, &b, &a), 0);
    {
        MemLockGuard l(core);  // three bytes per entry, the fourth entry untouched
        EXPECT_EQ(l.get()[12 + 9], 9);
        EXPECT_EQ(l.get()[12 + 11], 7);
        EXPECT_EQ(l.get()[12 + 12], 0);
    }
}

TEST_F(DibAccess, SixteenColourChecks) {
    Blocks blocks;
    MemHandle img = blocks(MakeDib8({{0, 15}, {3, 4}}));
    EXPECT_TRUE(IsSixteenColorDib(img));
    EXPECT_TRUE(UsesOnly16Colors(img));

    // A pixel index 16 with entries 16..255 zero: sixteen-colour table, but not only 16 used.
    MemHandle wide = blocks(MakeDib8({{0, 16}}));
    EXPECT_TRUE(IsSixteenColorDib(wide));
    EXPECT_FALSE(UsesOnly16Colors(wide));

    // Any nonzero byte of entries 16..255, alpha included.
    SetEntry(img, 200, 0x000000, 1);
    EXPECT_FALSE(IsSixteenColorDib(img));
    EXPECT_FALSE(UsesOnly16Colors(img));

    MemHandle four = blocks(MakeDib4({{1, 2, 3}}));
    EXPECT_TRUE(IsSixteenColorDib(four));
    EXPECT_TRUE(UsesOnly16Colors(four));
    MemHandle rgb = blocks(MakeDib24({{0x010203}}));
    EXPECT_FALSE(IsSixteenColorDib(rgb));
    EXPECT_FALSE(UsesOnly16Colors(rgb));
}
