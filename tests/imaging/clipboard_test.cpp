#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "dib_test_util.h"
#include "imaging/dib_clipboard.h"

using namespace kvtest;

namespace {
class DibClipboard : public ImagingTest {
protected:
    void TearDown() override {
        ClipboardEmpty();
        ImagingTest::TearDown();
    }
};
}  // namespace

TEST_F(DibClipboard, IndexedPictureComesBackAsEightBit) {
    ClipboardEmpty();
    EXPECT_FALSE(ClipboardHasDib());
    EXPECT_EQ(ClipboardGetDib(), nullptr);

    Rows rows{{1, 2, 3}, {4, 5, 6}};
    MemHandle img = MakeDib8(rows);
    SetEntry(img, 2, 0x203040);
    ASSERT_TRUE(ClipboardPutDib(img));
    EXPECT_FALSE(MemIsValid(img));  // the clipboard took it
    EXPECT_TRUE(ClipboardHasDib());
    // Other programs see an ordinary picture.
    QImage seen = QGuiApplication::clipboard()->image();
    ASSERT_EQ(seen.size(), QSize(3, 2));
    EXPECT_EQ(seen.pixel(1, 0) | 0xff000000, 0xff203040u);

    MemHandle back = ClipboardGetDib();
    Blocks blocks{back};
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(Info(back).bitCount, 8);
    EXPECT_EQ(Pixels8(back), rows);
    uint8_t r, g, b, a;
    GetDibPaletteEntry(back, 2, &r, &g, &b, &a);
    EXPECT_EQ(std::vector<int>({r, g, b}), std::vector<int>({0x20, 0x30, 0x40}));

    ClipboardEmpty();
    EXPECT_FALSE(ClipboardHasDib());
}

TEST_F(DibClipboard, DirectColourPicturesComeBackAsTwentyFourBit) {
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(0xff0a141e);
    picture.setPixel(1, 1, 0xffc8b4a0);
    QGuiApplication::clipboard()->setImage(picture);
    MemHandle dib = ClipboardGetDib();
    Blocks blocks{dib};
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(Info(dib).bitCount, 24);
    EXPECT_EQ(Pixel24(dib, 0, 0), 0x0a141eu);
    EXPECT_EQ(Pixel24(dib, 1, 1), 0xc8b4a0u);

    ASSERT_TRUE(ClipboardPutDib(MakeDib24({{0x112233}})));
    MemHandle again = blocks(ClipboardGetDib());
    EXPECT_EQ(Pixel24(again, 0, 0), 0x112233u);
}

TEST_F(DibClipboard, RefusedBlocksAreStillFreed) {
    ClipboardEmpty();
    MemHandle lying = MakeDib8(2, 2);
    {
        MemLockGuard l(lying);
        l.as<DibInfoHeader>()->width = 5000;
    }
    EXPECT_FALSE(ClipboardPutDib(lying));
    EXPECT_FALSE(MemIsValid(lying));
    EXPECT_FALSE(ClipboardHasDib());
    EXPECT_FALSE(ClipboardPutDib(nullptr));
}

TEST_F(DibClipboard, GetWithoutMemoryGivesNull) {
    ASSERT_TRUE(ClipboardPutDib(MakeDib8(4, 4, 1)));
    LimitRoom(100);
    EXPECT_EQ(ClipboardGetDib(), nullptr);
}
