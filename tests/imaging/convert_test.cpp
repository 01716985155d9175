#include "dib_test_util.h"

using namespace kvtest;

namespace {

class DibConvert : public ImagingTest {};

std::vector<int> Entry(MemHandle img, int i) {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    if (!GetDibPaletteEntry(img, i, &r, &g, &b, &a)) return {};
    return {r, g, b, a};
}

}  // namespace

TEST_F(DibConvert, ExpandDib4To8UnpacksHighNibbleFirst) {
    MemHandle four = MakeDib4({{1, 2, 3}, {15, 0, 7}}, {0x102030, 0x405060});
    MemHandle eight = ExpandDib4To8(four);
    Blocks blocks{eight};
    ASSERT_NE(eight, nullptr);
    EXPECT_FALSE(MemIsValid(four));
    EXPECT_EQ(MemSize(eight), 1064u + 4 * 2);
    EXPECT_EQ(Info(eight).bitCount, 8);
    EXPECT_EQ(Pixels8(eight), (Rows{{1, 2, 3}, {15, 0, 7}}));
    EXPECT_EQ(Entry(eight, 0), (std::vector<int>{0x10, 0x20, 0x30, 0}));
    EXPECT_EQ(Entry(eight, 1), (std::vector<int>{0x40, 0x50, 0x60, 10}));  // alpha kept
    EXPECT_EQ(Entry(eight, 16), (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(DibConvert, ExpandDib4To8WidthOneReadsOneNibblePerFourByteRow) {
    MemHandle four = MakeDib4({{9}, {4}, {12}});
    ASSERT_EQ(MemSize(four), 40u + 64 + 4 * 3);
    MemHandle eight = ExpandDib4To8(four);
    Blocks blocks{eight};
    EXPECT_EQ(Pixels8(eight), (Rows{{9}, {4}, {12}}));
}

TEST_F(DibConvert, ExpandDib4To8ReturnsOthersUnchanged) {
    Blocks blocks;
    for (MemHandle h : {MakeDib8(3, 2, 5), MakeDib24({{0x010203}}), CreateDib8(2, 2, 2), CreateDib8(2, 2, 4)}) {
        blocks(h);
        size_t size = MemSize(h);
        EXPECT_EQ(ExpandDib4To8(h), h);
        EXPECT_EQ(MemSize(h), size);
    }
}

TEST_F(DibConvert, ExpandDib4To8WidensAShortTable) {
    MemHandle img = MemAlloc(40 + 2 * 4 + 4);
    {
        MemLockGuard l(img);
        *l.as<DibInfoHeader>() = DibInfoHeader{40, 3, 1, 1, 8, 0, 0, 0, 0, 2, 0};
        auto* t = reinterpret_cast<PaletteEntry*>(l.get() + 40);
        t[1] = {1, 2, 3, 4};
        l.get()[48] = 1;
        l.get()[49] = 0;
        l.get()[50] = 1;
    }
    MemHandle eight = ExpandDib4To8(img);
    Blocks blocks{eight};
    ASSERT_NE(eight, img);
    EXPECT_FALSE(MemIsValid(img));
    EXPECT_EQ(MemSize(eight), 1064u + 4);
    EXPECT_EQ(Info(eight).clrUsed, 0u);
    EXPECT_EQ(Entry(eight, 1), (std::vector<int>{3, 2, 1, 4}));
    EXPECT_EQ(Pixels8(eight), (Rows{{1, 0, 1}}));
}

TEST_F(DibConvert, ExpandDib4To8OwnershipOnEveryPath) {
    // 1 bit: freed, null.
    MemHandle mono = MakeDib1({{1, 0}});
    bool kept = true;
    EXPECT_EQ(ExpandDib4To8(mono, &kept), nullptr);
    EXPECT_FALSE(kept);
    EXPECT_FALSE(MemIsValid(mono));

    // A block whose header claims more rows than it holds: freed, null.
    MemHandle lying = MakeDib4({{1, 2}});
    {
        MemLockGuard l(lying);
        l.as<DibInfoHeader>()->height = 1000;
    }
    EXPECT_EQ(ExpandDib4To8(lying, &kept), nullptr);
    EXPECT_FALSE(kept);
    EXPECT_FALSE(MemIsValid(lying));

    // Allocation failure: null, the old block stays with the caller unchanged.
    MemHandle four = MakeDib4({{1, 2}});
    Blocks blocks{four};
    LimitRoom(100);
    EXPECT_EQ(ExpandDib4To8(four, &kept), nullptr);
    EXPECT_TRUE(kept);
    EXPECT_TRUE(MemIsValid(four));
    EXPECT_EQ(Info(four).bitCount, 4);

    EXPECT_EQ(ExpandDib4To8(nullptr, &kept), nullptr);
    EXPECT_FALSE(kept);
}

TEST_F(DibConvert, ExpandDib4To8FromACoreHeader) {
    MemHandle core = MemAlloc(12 + 48 + 4);
    {
        MemLockGuard l(core);
        *l.as<DibCoreHeader>() = DibCoreHeader{12, 2, 1, 1, 4};
        l.get()[12 + 3] = 0x11;  // entry 1: blue
        l.get()[12 + 5] = 0x33;  // entry 1: red
        l.get()[60] = 0x1f;
    }
    MemHandle eight = ExpandDib4To8(core);
    Blocks blocks{eight};
    ASSERT_NE(eight, nullptr);
    EXPECT_EQ(Info(eight).size, 40u);
    EXPECT_EQ(Entry(eight, 1), (std::vector<int>{0x33, 0, 0x11, 0}));
    EXPECT_EQ(Pixels8(eight), (Rows{{1, 15}}));
}

TEST_F(DibConvert, PackDibTo4BitMakesPaddedRows) {
    Blocks blocks;
    MemHandle img = blocks(MakeDib8({{1, 2, 3, 4, 5, 6, 7, 8, 9}, {15, 14, 13, 12, 11, 10, 0, 1, 2}}));
    SetEntry(img, 3, 0x0a0b0c, 77);
    MemHandle four = blocks(PackDibTo4Bit(img));
    ASSERT_NE(four, img);
    EXPECT_TRUE(MemIsValid(img));  // the caller frees both
    EXPECT_EQ(MemSize(four), 8u * 2 + 104);
    DibInfoHeader info = Info(four);
    EXPECT_EQ(info.bitCount, 4);
    EXPECT_EQ(info.width, 9);
    EXPECT_EQ(info.clrUsed, 0u);
    EXPECT_EQ(Entry(four, 3), (std::vector<int>{0x0a, 0x0b, 0x0c, 77}));
    MemLockGuard l(four);
    const uint8_t* bottom = l.get() + 104;
    EXPECT_EQ(std::vector<int>(bottom, bottom + 8), (std::vector<int>{0xfe, 0xdc, 0xba, 0x01, 0x20, 0, 0, 0}));
    const uint8_t* top = bottom + 8;
    EXPECT_EQ(std::vector<int>(top, top + 5), (std::vector<int>{0x12, 0x34, 0x56, 0x78, 0x90}));
}

TEST_F(DibConvert, PackDibTo4BitRoundTrip) {
    Blocks blocks;
    Rows rows{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    MemHandle img = blocks(MakeDib8(rows));
    MemHandle four = PackDibTo4Bit(img);
    ASSERT_NE(four, img);
    MemHandle back = blocks(ExpandDib4To8(four));
    EXPECT_EQ(Pixels8(back), rows);
}

TEST_F(DibConvert, PackDibTo4BitKeepsTheHandleWhenItCannot) {
    Blocks blocks;
    MemHandle wide = blocks(MakeDib8({{0, 16}}));
    EXPECT_TRUE(IsSixteenColorDib(wide));
    EXPECT_EQ(PackDibTo4Bit(wide), wide);

    MemHandle colours = blocks(MakeDib8({{0, 1}}));
    SetEntry(colours, 16, 0x010101);
    EXPECT_EQ(PackDibTo4Bit(colours), colours);

    MemHandle four = blocks(MakeDib4({{1}}));
    EXPECT_EQ(PackDibTo4Bit(four), four);

    MemHandle fine = blocks(MakeDib8({{0, 1}}));
    LimitRoom(50);
    EXPECT_EQ(PackDibTo4Bit(fine), fine);
    EXPECT_EQ(PackDibTo4Bit(nullptr), nullptr);
}

TEST_F(DibConvert, ExpandMonoRows) {
    const uint8_t src[8] = {0xa0, 0, 0, 0, 0x7f, 0x80, 0, 0};  // two rows of 9 pixels
    uint8_t dst[24];
    std::memset(dst, 0xee, sizeof dst);
    ExpandMonoRows(dst, src, 9, 2);
    EXPECT_EQ(std::vector<int>(dst, dst + 9), (std::vector<int>{1, 0, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(std::vector<int>(dst + 12, dst + 21), (std::vector<int>{0, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(dst[9], 0xee);  // padding untouched
}

TEST_F(DibConvert, ExpandMonoDibMakesTwoColours) {
    MemHandle mono = MakeDib1({{1, 0, 1}, {0, 0, 1}}, 0x112233, 0xaabbcc);
    {
        MemLockGuard l(mono);
        l.as<DibInfoHeader>()->clrUsed = 2;
        l.as<DibInfoHeader>()->sizeImage = 8;
        l.as<DibInfoHeader>()->xPelsPerMeter = 99;
    }
    MemHandle eight = ExpandMonoDib(mono);
    Blocks blocks{eight};
    ASSERT_NE(eight, mono);
    EXPECT_FALSE(MemIsValid(mono));
    EXPECT_EQ(MemSize(eight), 1064u + 4 * 2);
    DibInfoHeader info = Info(eight);
    EXPECT_EQ(info.bitCount, 8);
    EXPECT_EQ(info.clrUsed, 0u);
    EXPECT_EQ(info.xPelsPerMeter, 99);
    EXPECT_EQ(Entry(eight, 0), (std::vector<int>{0x11, 0x22, 0x33, 0}));
    EXPECT_EQ(Entry(eight, 1), (std::vector<int>{0xaa, 0xbb, 0xcc, 0}));
    EXPECT_EQ(Entry(eight, 2), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(Pixels8(eight), (Rows{{1, 0, 1}, {0, 0, 1}}));
}

TEST_F(DibConvert, ExpandMonoDibLeavesOthersAndFailures) {
    Blocks blocks;
    MemHandle eight = blocks(MakeDib8(2, 2));
    EXPECT_EQ(ExpandMonoDib(eight), eight);
    MemHandle mono = blocks(MakeDib1({{1}}));
    LimitRoom(100);
    EXPECT_EQ(ExpandMonoDib(mono), mono);
    EXPECT_TRUE(MemIsValid(mono));
    EXPECT_EQ(ExpandMonoDib(nullptr), nullptr);
}
