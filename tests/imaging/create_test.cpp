#include "dib_test_util.h"

using namespace kvtest;

namespace {

struct CreateCase {
    int w, h, bytes;
    size_t blockSize;
    int bitCount;
};

class CreateDib8Table : public ImagingTest, public ::testing::WithParamInterface<CreateCase> {};

}  // namespace

TEST_P(CreateDib8Table, SizesAndHeader) {
    const CreateCase& c = GetParam();
    Blocks blocks;
    MemHandle img = blocks(CreateDib8(c.w, c.h, c.bytes));
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(MemSize(img), c.blockSize);
    DibInfoHeader info = Info(img);
    EXPECT_EQ(info.size, 40u);
    EXPECT_EQ(info.width, c.w);
    EXPECT_EQ(info.height, c.h);
    EXPECT_EQ(info.planes, 1);
    EXPECT_EQ(info.bitCount, c.bitCount);
    EXPECT_EQ(info.compression, 0u);
    EXPECT_EQ(info.sizeImage, 0u);
    EXPECT_EQ(info.clrUsed, 0u);
    MemLockGuard l(img);
    for (size_t i = 40; i < l.size(); ++i) ASSERT_EQ(l.get()[i], 0) << "byte " << i;
}

INSTANTIATE_TEST_SUITE_P(Sizes, CreateDib8Table,
                         ::testing::Values(CreateCase{3, 2, 0, 4 * 2 + 1064, 8},
                                           CreateCase{4, 1, 0, 4 + 1064, 8},
                                           CreateCase{5, 3, 0, 8 * 3 + 1064, 8},
                                           // bytes 1 is the 8-bit image with its table too
                                           CreateCase{3, 2, 1, 4 * 2 + 1064, 8},
                                           CreateCase{3, 2, 2, 3 * 2 * 2 + 40, 16},
                                           CreateCase{3, 2, 3, 3 * 2 * 3 + 40, 24},
                                           CreateCase{3, 2, 4, 3 * 2 * 4 + 40, 32}));

class DibCreate : public ImagingTest {};

TEST_F(DibCreate, CreateDib8RefusesBadArguments) {
    EXPECT_EQ(CreateDib8(0, 2, 0), nullptr);
    EXPECT_EQ(CreateDib8(2, -1, 0), nullptr);
    EXPECT_EQ(CreateDib8(2, 2, 5), nullptr);
    EXPECT_EQ(CreateDib8(2, 2, -1), nullptr);
    LimitRoom(100);
    EXPECT_EQ(CreateDib8(3, 2, 0), nullptr);
}

TEST_F(DibCreate, DuplicateGlobalCopiesIntoTheChosenSize) {
    Blocks blocks;
    MemHandle a = blocks(MemAlloc(8));
    MemHandle small = blocks(MemAlloc(4));
    MemHandle big = blocks(MemAlloc(16));
    {
        MemLockGuard l(a);
        for (int i = 0; i < 8; ++i) l.get()[i] = uint8_t(i + 1);
    }
    MemHandle same = blocks(DuplicateGlobal(a));
    ASSERT_NE(same, nullptr);
    ASSERT_EQ(MemSize(same), 8u);
    MemHandle shorter = blocks(DuplicateGlobal(a, small));
    ASSERT_EQ(MemSize(shorter), 4u);
    MemHandle longer = blocks(DuplicateGlobal(a, big));
    ASSERT_EQ(MemSize(longer), 16u);
    MemLockGuard s(same), sh(shorter), lo(longer);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(s.get()[i], i + 1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(sh.get()[i], i + 1);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(lo.get()[i], i < 8 ? i + 1 : 0);
    EXPECT_EQ(DuplicateGlobal(nullptr), nullptr);
}

TEST_F(DibCreate, DuplicateGlobalFailsCleanly) {
    Blocks blocks;
    MemHandle a = blocks(MemAlloc(64));
    LimitRoom(63);
    EXPECT_EQ(DuplicateGlobal(a), nullptr);
}

TEST_F(DibCreate, CopyGlobalContentsNeverReadsPastTheSource) {
    Blocks blocks;
    MemHandle src = blocks(MemAlloc(4));
    MemHandle dst = blocks(MemAlloc(8));
    {
        MemLockGuard s(src), d(dst);
        std::memset(s.get(), 0xaa, 4);
        std::memset(d.get(), 0x11, 8);
    }
    CopyGlobalContents(dst, src);
    MemLockGuard d(dst);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(d.get()[i], i < 4 ? 0xaa : 0x11);
    CopyGlobalContents(nullptr, src);  // nothing happens
    CopyGlobalContents(dst, nullptr);
}

TEST_F(DibCreate, ColourTableCopyAndStore) {
    Blocks blocks;
    MemHandle img = blocks(CreateDib8(2, 2, 0));
    SetEntry(img, 0, 0x102030, 5);
    SetEntry(img, 255, 0xa0b0c0, 6);
    MemHandle table = blocks(CopyDibColorTable(img));
    ASSERT_EQ(MemSize(table), 1024u);
    {
        MemLockGuard t(table);
        auto* e = t.as<PaletteEntry>();
        EXPECT_EQ(e[0].red, 0x10);
        EXPECT_EQ(e[0].alpha, 5);
        EXPECT_EQ(e[255].blue, 0xc0);
        e[1] = {1, 2, 3, 4};
    }
    MemHandle other = blocks(CreateDib8(2, 2, 0));
    StoreDibColorTable(other, table);
    uint8_t r, g, b, a;
    GetDibPaletteEntry(other, 1, &r, &g, &b, &a);
    EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({3, 2, 1, 4}));
    GetDibPaletteEntry(other, 255, &r, &g, &b, &a);
    EXPECT_EQ(r, 0xa0);

    MemHandle four = blocks(MakeDib4({{1}}, {0x010203}));
    MemHandle fourTable = blocks(CopyDibColorTable(four));
    EXPECT_EQ(MemSize(fourTable), 64u);
    // Storing a 1024-byte table into a 4-bit image writes 16 entries only.
    StoreDibColorTable(four, table);
    GetDibPaletteEntry(four, 1, &r, &g, &b, &a);
    EXPECT_EQ(r, 3);
    EXPECT_EQ(MemSize(four), 40u + 64 + 4);

    // A short table block writes only what it holds.
    MemHandle shortTable = blocks(MemAlloc(8));
    StoreDibColorTable(other, shortTable);
    GetDibPaletteEntry(other, 1, &r, &g, &b, &a);
    EXPECT_EQ(r, 0);
    GetDibPaletteEntry(other, 2, &r, &g, &b, &a);
    EXPECT_EQ(r, 0);
    GetDibPaletteEntry(other, 255, &r, &g, &b, &a);
    EXPECT_EQ(r, 0xa0);

    StoreDibColorTable(other, nullptr);
    EXPECT_EQ(CopyDibColorTable(nullptr), nullptr);
    LimitRoom(1000);
    EXPECT_EQ(CopyDibColorTable(img), nullptr);
}

TEST_F(DibCreate, CropImageKeepsHeaderAndTable) {
    Blocks blocks;
    MemHandle img = blocks(MakeDib8({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}}));
    SetEntry(img, 7, 0x123456, 9);
    {
        MemLockGuard l(img);
        l.as<DibInfoHeader>()->xPelsPerMeter = 2835;
    }
    DibRect r{1, 1, 4, 3};
    MemHandle crop = blocks(CropDibRect(img, &r));
    ASSERT_NE(crop, nullptr);
    EXPECT_EQ(Pixels8(crop), (Rows{{7, 8, 9}, {12, 13, 14}}));
    DibInfoHeader info = Info(crop);
    EXPECT_EQ(info.width, 3);
    EXPECT_EQ(info.height, 2);
    EXPECT_EQ(info.sizeImage, 0u);
    EXPECT_EQ(info.xPelsPerMeter, 2835);
    EXPECT_EQ(MemSize(crop), 1064u + 4 * 2);
    uint8_t red, g, b, a;
    GetDibPaletteEntry(crop, 7, &red, &g, &b, &a);
    EXPECT_EQ(red, 0x12);
    EXPECT_EQ(a, 9);
}

TEST_F(DibCreate, CropClampsTheRectangleToTheImage) {
    Blocks blocks;
    MemHandle img = blocks(MakeDib8({{1, 2, 3}, {4, 5, 6}}));
    DibRect r{-2, -1, 10, 9};
    MemHandle crop = blocks(CropDibRect(img, &r));
    ASSERT_NE(crop, nullptr);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 3);
    EXPECT_EQ(r.bottom, 2);
    EXPECT_EQ(Pixels8(crop), (Rows{{1, 2, 3}, {4, 5, 6}}));

    DibRect outside{5, 0, 9, 2};
    EXPECT_EQ(CropDibRect(img, &outside), nullptr);
    DibRect empty{1, 1, 1, 2};
    EXPECT_EQ(CropDibRect(img, &empty), nullptr);
    EXPECT_EQ(CropDibRect(nullptr, &r), nullptr);
}

TEST_F(DibCreate, CropOfUnpaddedAndSubByteImages) {
    Blocks blocks;
    // 24-bit rows of the library are unpadded (as CreateDib8 makes them).
    MemHandle rgb = blocks(MakeDib24({{0x010101, 0x020202, 0x030303}, {0x040404, 0x050505, 0x060606}}, false));
    DibRect r{1, 0, 3, 2};
    MemHandle crop = blocks(CropDibRect(rgb, &r));
    ASSERT_NE(crop, nullptr);
    EXPECT_EQ(MemSize(crop), 40u + 2 * 3 * 2);
    EXPECT_EQ(Pixel24(crop, 0, 0), 0x020202u);
    EXPECT_EQ(Pixel24(crop, 1, 1), 0x060606u);

    MemHandle four = blocks(MakeDib4({{1, 2, 3, 4, 5}}, {0x0000ff}));
    DibRect r4{1, 0, 4, 1};
    MemHandle crop4 = blocks(CropDibRect(four, &r4));
    ASSERT_NE(crop4, nullptr);
    MemLockGuard l(crop4);
    EXPECT_EQ(l.get()[104], 0x23);
    EXPECT_EQ(l.get()[105], 0x40);
}

TEST_F(DibCreate, CropOfALayer) {
    Blocks blocks;
    MemHandle img = blocks(CreateDib8(5, 3, 0));
    MemHandle layer = blocks(MakeLayer({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}}, 1, 1));
    DibRect r{1, 0, 4, 2};
    MemHandle crop = blocks(CropDibRect(img, &r, layer));
    ASSERT_NE(crop, nullptr);
    ASSERT_EQ(MemSize(crop), 88u + 4 * 2);
    MemLockGuard l(crop);
    const auto* head = l.as<LayerHeader>();
    EXPECT_EQ(head->left, 0);
    EXPECT_EQ(head->top, 0);
    EXPECT_EQ(head->right, 4);  // width rounded up to 4
    EXPECT_EQ(head->bottom, 2);
    EXPECT_EQ(head->visible, 0);
    EXPECT_EQ(head->drawMode, 0);
    EXPECT_EQ(LayerPixels(crop), (Rows{{2, 3, 4, 0}, {7, 8, 9, 0}}));

    // A layer too small for the image's geometry is refused.
    MemHandle tiny = blocks(MakeLayer(2, 2));
    EXPECT_EQ(CropDibRect(img, &r, tiny), nullptr);
}

TEST_F(DibCreate, CropAllocationFailure) {
    Blocks blocks;
    MemHandle img = blocks(CreateDib8(5, 3, 0));
    MemHandle layer = blocks(MakeLayer(5, 3));
    DibRect r{0, 0, 5, 3};
    LimitRoom(0);
    EXPECT_EQ(CropDibRect(img, &r), nullptr);
    EXPECT_EQ(CropDibRect(img, &r, layer), nullptr);
}

TEST_F(DibCreate, CropRefusesAHeaderThatClaimsMoreRows) {
    Blocks blocks;
    MemHandle img = blocks(CreateDib8(4, 4, 0));
    {
        MemLockGuard l(img);
        l.as<DibInfoHeader>()->height = 400;
    }
    DibRect r{0, 0, 4, 400};
    EXPECT_EQ(CropDibRect(img, &r), nullptr);
}
