// Making a document's image ready: 4-bit expansion, size, palettes, and the
// images a document refuses.
#include <gtest/gtest.h>

#include <cstring>

#include "doc_fixture.h"
#include "document/image_limits.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"

namespace doctest {
namespace {

using InitDibTest = DocTest;

void SetHeaderSize(MemHandle image, int width, int height) {
    MemLockGuard lock(image);
    lock.as<DibInfoHeader>()->width = width;
    lock.as<DibInfoHeader>()->height = height;
}

TEST_F(InitDibTest, RefusedImagesLeaveTheDocumentWithoutOne) {
    struct Case {
        const char* what;
        int width, height;        // of the block
        int headerW, headerH;     // written into the header
    };
    const Case cases[] = {
        {"negative height", 4, 4, 4, -4},
        {"negative width", 4, 4, -4, 4},
        {"wider than the maximum", 2049, 1, 2049, 1},
        {"higher than the maximum", 1, 2049, 1, 2049},
    };
    auto doc = std::make_unique<CPelmarkDoc>();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.Clear();
        size_t blocks = MemBlockCount();
        doc->m_hImage = CreateDib8(c.width, c.height, 0);
        SetHeaderSize(doc->m_hImage, c.headerW, c.headerH);
        EXPECT_FALSE(doc->InitDib());
        EXPECT_EQ(doc->m_hImage, nullptr);
        EXPECT_FALSE(doc->m_pPalette || doc->m_pAlphaPalette);
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Requests()[0].text, "DIB 过大。");
        EXPECT_EQ(boxes.Requests()[0].owner, nullptr);
        EXPECT_EQ(boxes.Requests()[0].type & MB_ICON_MASK, unsigned(MB_ICON_INFORMATION));
        EXPECT_EQ(MemBlockCount(), blocks);
    }
}

TEST_F(InitDibTest, MapToolRaisesTheLimit) {
    SetMapToolSetting(1);
    auto doc = DocumentWithImage(4096, 1);
    EXPECT_EQ(doc->m_nWidth, 4096);
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(InitDibTest, MissingMaskMapRefusesTheImage) {
    MaxImageSize max = GetMaxImageSize();
    size_t maskBytes = size_t(max.width / 8) * size_t(max.height);
    // Room for the three masks, not for the pixel-flag map.
    MemSetLimit(MemBytesInUse() + 3 * maskBytes + 4096);
    auto doc = std::make_unique<CPelmarkDoc>();
    MemSetLimit(MEM_NO_LIMIT);
    ASSERT_NE(doc->m_hMask3, nullptr);
    ASSERT_EQ(doc->m_hPixelFlags, nullptr);
    size_t blocks = MemBlockCount();
    doc->m_hImage = CreateDib8(8, 8, 0);
    EXPECT_FALSE(doc->InitDib());
    EXPECT_EQ(doc->m_hImage, nullptr);
    EXPECT_EQ(MemBlockCount(), blocks);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "内存不足。");
    EXPECT_EQ(boxes.Requests()[0].owner, nullptr);
    EXPECT_EQ(boxes.Requests()[0].type & MB_ICON_MASK, unsigned(MB_ICON_INFORMATION));
}

TEST_F(InitDibTest, FourBitImageBecomesEightBit) {
    // 3 x 2 pixels, 4 bytes per row, bottom row first.
    MemHandle image = MemAlloc(40 + 64 + 8);
    {
        MemLockGuard lock(image);
        auto* info = lock.as<DibInfoHeader>();
        info->size = 40;
        info->width = 3;
        info->height = 2;
        info->planes = 1;
        info->bitCount = 4;
        auto* table = reinterpret_cast<PaletteEntry*>(lock.get() + 40);
        table[1] = {0x30, 0x20, 0x10, 0x80};  // blue, green, red, alpha
        table[15] = {0xFF, 0xFF, 0xFF, 0x00};
        uint8_t* bits = lock.get() + 104;
        bits[0] = 0x1F;  // bottom row: 1, 15, 0
        bits[1] = 0x00;
        bits[4] = 0xF1;  // top row: 15, 1, 0
        bits[5] = 0x00;
    }
    auto doc = std::make_unique<CPelmarkDoc>();
    doc->m_hImage = image;
    ASSERT_TRUE(doc->InitDib());
    EXPECT_EQ(doc->m_nWidth, 3);
    EXPECT_EQ(doc->m_nHeight, 2);
    dib::LockedDib result(doc->m_hImage);
    ASSERT_TRUE(result);
    EXPECT_EQ(result.geo().bitCount, 8);
    EXPECT_EQ(result.geo().entries, 256);
    const uint8_t* bottom = result.Row(0, 4);
    const uint8_t* top = result.Row(1, 4);
    EXPECT_EQ(bottom[0], 1);
    EXPECT_EQ(bottom[1], 15);
    EXPECT_EQ(bottom[2], 0);
    EXPECT_EQ(top[0], 15);
    EXPECT_EQ(top[1], 1);
    EXPECT_EQ(EntryOf(doc->m_hImage, 1), 0x80102030u);
    ASSERT_TRUE(doc->m_pPalette && doc->m_pAlphaPalette);
    EXPECT_EQ(doc->m_pPalette->Shown(1), 0xFF102030u);
    EXPECT_EQ(doc->m_pAlphaPalette->Shown(1), 0xFF808080u);
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(InitDibTest, ImageWithoutColourTableKeepsNoPalettes) {
    auto doc = std::make_unique<CPelmarkDoc>();
    doc->m_hImage = CreateDib8(5, 3, 3);  // 24 bit
    EXPECT_TRUE(doc->InitDib());
    EXPECT_NE(doc->m_hImage, nullptr);
    EXPECT_EQ(doc->m_nWidth, 5);
    EXPECT_FALSE(doc->m_pPalette || doc->m_pAlphaPalette);
}

TEST_F(InitDibTest, NoImageDropsThePalettes) {
    auto doc = DocumentWithImage(4, 4);
    ASSERT_TRUE(doc->m_pPalette);
    MemFree(doc->m_hImage);
    doc->m_hImage = nullptr;
    EXPECT_FALSE(doc->InitDib());
    EXPECT_FALSE(doc->m_pPalette || doc->m_pAlphaPalette);
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(InitDibTest, MasksAreAllocatedAtTheMaximumImageSize) {
    for (int mapTool : {0, 1}) {
        SCOPED_TRACE(mapTool);
        SetMapToolSetting(mapTool);
        size_t side = mapTool ? 4096 : 2048;
        CPelmarkDoc doc;
        for (MemHandle mask : {doc.m_hMask, doc.m_hMask2, doc.m_hMask3}) {
            ASSERT_NE(mask, nullptr);
            EXPECT_EQ(MemSize(mask), side / 8 * side);
        }
        EXPECT_EQ(MemSize(doc.m_hPixelFlags), side * side);
        MemLockGuard flags(doc.m_hPixelFlags);
        EXPECT_EQ(flags.get()[side * side - 1], 0);
    }
}

}  // namespace
}  // namespace doctest
