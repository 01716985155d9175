// Blocks whose headers lie, and the locking rule: every function leaves the
// blocks it was given unlocked.
#include <QImage>
#include <QPainter>

#include "dib_test_util.h"

using namespace kvtest;

namespace {

class DibRobustness : public ImagingTest {};

int LockCount(MemHandle h) {
    if (!MemLock(h)) return -1;
    return MemUnlock(h);
}

struct BadHeader {
    const char* name;
    DibInfoHeader header;
    size_t blockSize;
    bool onlyPixelsLie;  // header and table fit: only pixel readers refuse
};

class RefusedHeaders : public ImagingTest, public ::testing::WithParamInterface<BadHeader> {};

}  // namespace

TEST_P(RefusedHeaders, EveryReaderRefusesSafely) {
    const BadHeader& c = GetParam();
    Blocks blocks;
    MemHandle h = blocks(MemAlloc(c.blockSize));
    {
        MemLockGuard l(h);
        std::memcpy(l.get(), &c.header, sizeof c.header);
    }
    if (!c.onlyPixelsLie) {
        EXPECT_FALSE(IsDibIndexed(h));
        EXPECT_EQ(GetDibFormatCode(h), 0);
        uint8_t v;
        EXPECT_EQ(GetDibPaletteEntry(h, 0, &v, &v, &v, &v), 0);
        EXPECT_EQ(CopyDibColorTable(h), nullptr);
        EXPECT_EQ(ConvertDibForExchange(h, nullptr, 100), nullptr);
    }
    EXPECT_FALSE(UsesOnly16Colors(h));
    DibRect r{0, 0, 4, 4};
    EXPECT_EQ(CropDibRect(h, &r), nullptr);
    EXPECT_EQ(ScaleDibToRgb24(h, 2, 2), nullptr);
    EXPECT_EQ(PackDibTo4Bit(h), h);
    EXPECT_FALSE(FlipDibVertical(h));
    EXPECT_FALSE(FillDibRect(h, 0, 0, 4, 4, 1));
    EXPECT_TRUE(DibToQImage(h).isNull());
    MemHandle good = blocks(MakeDib8(4, 4));
    EXPECT_FALSE(BlitDibRect(good, h, 0, 0, 4, 4, 0, 0));
    EXPECT_FALSE(BlitDibRect(h, good, 0, 0, 4, 4, 0, 0));
    EXPECT_EQ(ExpandMonoDib(h), h);
    QImage target(4, 4, QImage::Format_RGB32);
    QPainter p(&target);
    EXPECT_EQ(PaintDibToDc(&p, QRect(0, 0, 4, 4), h, DibRect{0, 0, 4, 4}), 0);
    EXPECT_EQ(PaintLayersOverUnderlay(&p, QRect(0, 0, 4, 4), h, DibRect{0, 0, 4, 4}, nullptr, nullptr, nullptr, 0), 0);
    p.end();
    if (!c.onlyPixelsLie) {  // ExpandDib4To8 consumes what it refuses
        EXPECT_EQ(ExpandDib4To8(h), nullptr);
        EXPECT_FALSE(MemIsValid(h));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Headers, RefusedHeaders,
    ::testing::Values(BadHeader{"negativeHeight", {40, 4, -4, 1, 8, 0, 0, 0, 0, 0, 0}, 2000, false},
                      BadHeader{"zeroWidth", {40, 0, 4, 1, 8, 0, 0, 0, 0, 0, 0}, 2000, false},
                      BadHeader{"oddBitCount", {40, 4, 4, 1, 7, 0, 0, 0, 0, 0, 0}, 2000, false},
                      BadHeader{"headerSize16", {16, 4, 4, 1, 8, 0, 0, 0, 0, 0, 0}, 2000, false},
                      BadHeader{"tableBeyondBlock", {40, 4, 4, 1, 8, 0, 0, 0, 0, 0x40000000u, 0}, 2000, false},
                      BadHeader{"headerBeyondBlock", {400, 4, 4, 1, 8, 0, 0, 0, 0, 0, 0}, 100, false},
                      BadHeader{"rowsBeyondBlock", {40, 4, 4000, 1, 8, 0, 0, 0, 0, 0, 0}, 2000, true},
                      BadHeader{"widthBeyondBlock", {40, 0x7fffffff, 4, 1, 24, 0, 0, 0, 0, 0, 0}, 2000, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DibRobustness, EveryFunctionLeavesItsBlocksUnlocked) {
    Blocks blocks;
    MemHandle img = blocks(MakeDib8({{1, 2, 3, 4}, {5, 6, 7, 8}}));
    MemHandle layer = blocks(MakeLayer(4, 2, 1, 1, 1));
    MemHandle under = blocks(MakeDib24({{1, 2, 3, 4}, {5, 6, 7, 8}}));
    uint8_t map[256] = {};
    uint8_t v;
    DibRect r{0, 0, 4, 2};
    blocks(CropDibRect(img, &r));
    blocks(CropDibRect(img, &r, layer));
    blocks(CopyDibColorTable(img));
    blocks(DuplicateGlobal(img, layer));
    blocks(NewLayerBufferFromDib(layer, 4, 2, 3, 3));
    blocks(PackDibTo4Bit(img));
    blocks(ConvertDibForExchange(layer, img, 0));
    blocks(ConvertDibForExchange(img, nullptr, 96));
    GetDibPaletteEntry(img, 1, &v, &v, &v, &v);
    SetDibPaletteEntry(img, 1, 1, 2, 3, 4);
    UsesOnly16Colors(img);
    BlitDibRect(img, layer, 0, 0, 4, 2, 0, 0, layer, true);
    FillDibRect(img, 0, 0, 4, 2, 1, layer);
    RemapDibRect(img, map, 0, 0, 4, 2, layer);
    ShiftLayerLeftWrap(layer, 0, 0, 4, 2);
    FlipDibVertical(img);
    DibToQImage(img);
    QImage target(4, 2, QImage::Format_RGB32);
    QPainter p(&target);
    PaintDibToDc(&p, QRect(0, 0, 4, 2), img, r);
    MemHandle layers[] = {layer};
    PaintLayersOverUnderlay(&p, QRect(0, 0, 4, 2), img, r, nullptr, under, layers, 1);
    p.end();
    EXPECT_EQ(LockCount(img), 0);
    EXPECT_EQ(LockCount(layer), 0);
    EXPECT_EQ(LockCount(under), 0);
    MemHandle scaled = blocks(ScaleDibToRgb24(under, 2, 1));
    EXPECT_EQ(LockCount(scaled), 0);
}

TEST_F(DibRobustness, RemainingAllocationFailures) {
    Blocks blocks;
    // ExpandDib4To8 of an 8-bit image with a short table.
    MemHandle shortTable = blocks(MemAlloc(40 + 8 + 4));
    {
        MemLockGuard l(shortTable);
        *l.as<DibInfoHeader>() = DibInfoHeader{40, 1, 1, 1, 8, 0, 0, 0, 0, 2, 0};
    }
    LimitRoom(100);
    bool kept = false;
    EXPECT_EQ(ExpandDib4To8(shortTable, &kept), nullptr);
    EXPECT_TRUE(kept);
    EXPECT_TRUE(MemIsValid(shortTable));

    // A 32-bit picture for the exchange: its 24-bit form cannot be made.
    MemSetLimit(MEM_NO_LIMIT);
    MemHandle pic32 = blocks(CreateDib8(8, 8, 4));
    LimitRoom(MemSize(pic32));
    EXPECT_EQ(ConvertDibForExchange(pic32, nullptr, 88 + 64), nullptr);
    EXPECT_TRUE(MemIsValid(pic32));
}
