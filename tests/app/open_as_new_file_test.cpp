// Edit > open as new file (34010): the new image takes the exchange size
// and palette, and only the pixels the clipboard's picture holds are copied.
#include <gtest/gtest.h>

#include <cstring>

#include "app/open_as_new_file.h"
#include "app_fixture.h"
#include "document/pelmark_doc.h"
#include "framework/cmd_ui.h"
#include "imaging/dib_access.h"
#include "imaging/dib_clipboard.h"
#include "imaging/dib_create.h"
#include "imaging/dib_exchange.h"
#include "document/display_toggles.h"

namespace apptest {
namespace {

int Stride(int width) { return (width + 3) & ~3; }

uint8_t PixelValue(int x, int y) { return uint8_t(1 + x + 16 * y); }

// An 8-bit picture with 256 distinct colours and pixels PixelValue(x, y)
// (y from the top).
MemHandle MakePicture(int width, int height, uint32_t colorsUsed = 0) {
    MemHandle picture = CreateDib8(width, height, 0);
    for (int i = 0; i < 256; ++i) SetDibPaletteEntry(picture, i, uint8_t(i), uint8_t(255 - i), 7, 255);
    MemLockGuard lock(picture);
    lock.as<DibInfoHeader>()->clrUsed = colorsUsed;
    uint8_t* bits = GetDibBitsPtr(lock.get());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bits[(height - 1 - y) * Stride(width) + x] = PixelValue(x, y);
    return picture;
}

MemHandle MakeLayer(int width, int height, size_t missingBytes = 0) {
    MemHandle layer = MemAlloc(LAYER_HEADER_SIZE + size_t(Stride(width)) * height - missingBytes);
    MemLockGuard lock(layer);
    auto* header = lock.as<LayerHeader>();
    header->right = width;
    header->bottom = height;
    return layer;
}

uint8_t LayerPixel(MemHandle layer, int width, int height, int x, int y) {
    MemLockGuard lock(layer);
    return lock.get()[LAYER_HEADER_SIZE + (height - 1 - y) * Stride(width) + x];
}

// Every pixel of the layer: the picture's where both have it, else 0.
void ExpectBoundedCopy(MemHandle layer, int width, int height, int pictureWidth, int pictureHeight) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t expected = x < pictureWidth && y < pictureHeight ? PixelValue(x, y) : 0;
            ASSERT_EQ(LayerPixel(layer, width, height, x, y), expected) << x << "," << y;
        }
}

TEST(CopyClipboardPixels, OnlyWhatBothHold) {
    const QSize pictures[] = {{4, 3}, {12, 10}, {8, 6}, {8, 2}, {3, 9}};
    for (QSize size : pictures) {
        MemHandle image = CreateDib8(8, 6, 0);
        MemHandle layer = MakeLayer(8, 6);
        MemHandle picture = MakePicture(size.width(), size.height());
        EXPECT_TRUE(CopyClipboardPixelsToLayer(picture, image, layer));
        ExpectBoundedCopy(layer, 8, 6, size.width(), size.height());
        MemFree(picture);
        MemFree(layer);
        MemFree(image);
    }
}

TEST(CopyClipboardPixels, RefusesOtherPicturesAndShortLayers) {
    MemHandle image = CreateDib8(8, 6, 0);
    MemHandle layer = MakeLayer(8, 6);
    MemHandle sixteenEntries = MakePicture(8, 6, 16);
    MemHandle rgb = CreateDib8(8, 6, 3);
    MemHandle shortLayer = MakeLayer(8, 6, 1);
    MemHandle picture = MakePicture(8, 6);
    EXPECT_FALSE(CopyClipboardPixelsToLayer(sixteenEntries, image, layer));
    EXPECT_FALSE(CopyClipboardPixelsToLayer(rgb, image, layer));
    EXPECT_FALSE(CopyClipboardPixelsToLayer(nullptr, image, layer));
    EXPECT_FALSE(CopyClipboardPixelsToLayer(picture, image, shortLayer));
    EXPECT_FALSE(CopyClipboardPixelsToLayer(picture, image, nullptr));
    ExpectBoundedCopy(layer, 8, 6, 0, 0);
    for (MemHandle h : {image, layer, sixteenEntries, rgb, shortLayer, picture}) MemFree(h);
}

TEST(ImageFromExchange, SizeAndPalette) {
    LayerHeader saved = GetExchangeHeader();
    ExchangePalette savedPalette = GetExchangePalette();
    for (int i = 0; i < 256; ++i)
        GetExchangePalette()[size_t(i)] = {uint8_t(i), uint8_t(i / 2), uint8_t(255 - i), uint8_t(i % 7)};
    GetExchangeHeader() = {};
    GetExchangeHeader().left = 2;
    GetExchangeHeader().top = 1;
    GetExchangeHeader().right = 10;
    GetExchangeHeader().bottom = 7;
    for (bool sixteen : {false, true}) {
        MemHandle image = CreateImageFromExchange(sixteen);
        ASSERT_NE(image, nullptr);
        MemLockGuard lock(image);
        EXPECT_EQ(GetDibWidth(lock.get()), 8);
        EXPECT_EQ(GetDibHeight(lock.get()), 6);
        uint8_t r, g, b, a;
        ASSERT_TRUE(GetDibPaletteEntry(image, 15, &r, &g, &b, &a));
        EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({15, 7, 240, 1}));
        ASSERT_TRUE(GetDibPaletteEntry(image, 16, &r, &g, &b, &a));
        if (sixteen)
            EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({0, 0, 0, 0}));
        else
            EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({16, 8, 239, 2}));
        MemFree(image);
    }
    GetExchangeHeader().right = 2;  // empty
    EXPECT_EQ(CreateImageFromExchange(false), nullptr);
    GetExchangeHeader() = saved;
    GetExchangePalette() = savedPalette;
}

class OpenAsNewFileTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        savedHeader = GetExchangeHeader();
        GetExchangeHeader() = {};
        GetExchangeHeader().right = 8;
        GetExchangeHeader().bottom = 6;
        ASSERT_TRUE(Start({"-e"}));
    }
    void TearDown() override {
        ClipboardEmpty();
        GetExchangeHeader() = savedHeader;
        AppTest::TearDown();
    }
    CPelmarkDoc* ActiveDoc() {
        return dynamic_cast<CPelmarkDoc*>(app->GetMainFrame()->GetActiveDocument());
    }
    LayerHeader savedHeader;
};

TEST_F(OpenAsNewFileTest, EnabledOnlyForTheProgramsOwnCopy) {
    ASSERT_TRUE(ClipboardPutDib(MakePicture(4, 3)));
    EXPECT_FALSE(app->QueryCommandState(CPelmarkApp::kOpenAsNewFileId).IsEnabled());
    NoteProgramClipboardCopy(false);
    EXPECT_TRUE(app->QueryCommandState(CPelmarkApp::kOpenAsNewFileId).IsEnabled());
    ClipboardEmpty();
    EXPECT_FALSE(app->QueryCommandState(CPelmarkApp::kOpenAsNewFileId).IsEnabled());
}

TEST_F(OpenAsNewFileTest, PicturesSmallerAndLargerThanTheExchangeSize) {
    NoteProgramClipboardCopy(false);
    for (QSize size : {QSize(4, 3), QSize(12, 10)}) {
        ASSERT_TRUE(ClipboardPutDib(MakePicture(size.width(), size.height())));
        app->frameCommands.clear();
        GetViewDisplayToggles() = {true, true};
        ASSERT_TRUE(app->ExecuteCommand(CPelmarkApp::kOpenAsNewFileId));
        CPelmarkDoc* doc = ActiveDoc();
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->m_nWidth, 8);
        EXPECT_EQ(doc->m_nHeight, 6);
        EXPECT_TRUE(doc->IsModified());
        ASSERT_GE(doc->m_nLayerCount, 1);
        ExpectBoundedCopy(doc->m_hLayers[0], 8, 6, size.width(), size.height());
        EXPECT_EQ(app->frameCommands, std::vector<framework::CommandId>{CPelmarkApp::kFirstZoomId});
        EXPECT_FALSE(GetViewDisplayToggles().guidesShown);
        EXPECT_FALSE(GetViewDisplayToggles().guideEdit);
    }
    EXPECT_EQ(app->Documents().size(), 2u);
}

TEST_F(OpenAsNewFileTest, StaleEmptyExchangeSizeMakesNoDocument) {
    NoteProgramClipboardCopy(false);
    GetExchangeHeader().right = 0;
    ASSERT_TRUE(ClipboardPutDib(MakePicture(4, 3)));
    app->ExecuteCommand(CPelmarkApp::kOpenAsNewFileId);
    EXPECT_TRUE(app->Documents().empty());
}

}  // namespace
}  // namespace apptest
