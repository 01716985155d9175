#include <QImage>

#include "dib_test_util.h"

using namespace kvtest;

namespace {
class DibQImage : public ImagingTest {};
}  // namespace

TEST_F(DibQImage, IndexedImageBecomesIndexed8TopDown) {
    Blocks blocks;
    MemHandle img = blocks(MakeDib8({{1, 2, 3}, {4, 5, 6}}));
    SetEntry(img, 5, 0x0a0b0c, 0);  // alpha 0 still shows an opaque colour
    QImage q = DibToQImage(img);
    ASSERT_EQ(q.format(), QImage::Format_Indexed8);
    ASSERT_EQ(q.size(), QSize(3, 2));
    EXPECT_EQ(q.colorCount(), 256);
    EXPECT_EQ(q.pixelIndex(0, 0), 1);
    EXPECT_EQ(q.pixelIndex(1, 1), 5);
    EXPECT_EQ(q.pixel(1, 1), 0xff0a0b0cu);

    DibRect r{1, 1, 3, 2};
    QImage part = DibToQImage(img, &r);
    ASSERT_EQ(part.size(), QSize(2, 1));
    EXPECT_EQ(part.pixelIndex(0, 0), 5);
    EXPECT_TRUE(DibToQImage(nullptr).isNull());
    DibRect outside{5, 5, 6, 6};
    EXPECT_TRUE(DibToQImage(img, &outside).isNull());
}

TEST_F(DibQImage, SubByteAndCoreImages) {
    Blocks blocks;
    MemHandle four = blocks(MakeDib4({{1, 2, 3}}, {0, 0x110000, 0x002200, 0x000033}));
    QImage q4 = DibToQImage(four);
    ASSERT_EQ(q4.format(), QImage::Format_Indexed8);
    EXPECT_EQ(q4.pixelIndex(2, 0), 3);
    EXPECT_EQ(q4.pixel(0, 0), 0xff110000u);
    EXPECT_EQ(q4.color(16), 0xff000000u);  // past the table: black
    MemHandle mono = blocks(MakeDib1({{0, 1, 1, 0, 0, 0, 0, 0, 1}}));
    QImage q1 = DibToQImage(mono);
    EXPECT_EQ(q1.pixelIndex(8, 0), 1);
    EXPECT_EQ(q1.pixelIndex(3, 0), 0);
    MemHandle core = blocks(MakeCoreDib8({{7}}));
    SetEntry(core, 7, 0x808080);
    EXPECT_EQ(DibToQImage(core).pixel(0, 0), 0xff808080u);
}

TEST_F(DibQImage, RoundTripsBothWays) {
    Blocks blocks;
    MemHandle img = blocks(MakeDib8({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}));
    SetEntry(img, 3, 0x334455);
    MemHandle back = blocks(QImageToDib(DibToQImage(img)));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(Info(back).bitCount, 8);
    EXPECT_EQ(MemSize(back), 1064u + 8 * 2);
    EXPECT_EQ(Pixels8(back), Pixels8(img));
    uint8_t r, g, b, a;
    GetDibPaletteEntry(back, 3, &r, &g, &b, &a);
    EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({0x33, 0x44, 0x55, 0}));

    MemHandle rgb = blocks(MakeDib24({{0x010203, 0x040506, 0x070809}, {0x0a0b0c, 0x0d0e0f, 0x101112}}));
    MemHandle rgbBack = blocks(QImageToDib(DibToQImage(rgb)));
    ASSERT_NE(rgbBack, nullptr);
    EXPECT_EQ(Info(rgbBack).bitCount, 24);
    EXPECT_EQ(MemSize(rgbBack), 40u + 12 * 2);
    EXPECT_EQ(Pixel24(rgbBack, 2, 0), 0x070809u);
    EXPECT_EQ(Pixel24(rgbBack, 0, 1), 0x0a0b0cu);
}

TEST_F(DibQImage, OtherQtFormats) {
    Blocks blocks;
    QImage argb(2, 1, QImage::Format_ARGB32);
    argb.setPixel(0, 0, 0xff102030);
    argb.setPixel(1, 0, 0xff405060);
    MemHandle rgb = blocks(QImageToDib(argb));
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(Info(rgb).bitCount, 24);
    EXPECT_EQ(Pixel24(rgb, 1, 0), 0x405060u);

    QImage mono(3, 1, QImage::Format_Mono);
    mono.setColor(0, 0xff000000);
    mono.setColor(1, 0xffffffff);
    mono.setPixel(0, 0, 0);
    mono.setPixel(1, 0, 1);
    mono.setPixel(2, 0, 1);
    MemHandle eight = blocks(QImageToDib(mono));
    ASSERT_NE(eight, nullptr);
    EXPECT_EQ(Info(eight).bitCount, 8);
    EXPECT_EQ(Pixels8(eight), (Rows{{0, 1, 1}}));

    EXPECT_EQ(QImageToDib(QImage()), nullptr);
    LimitRoom(10);
    EXPECT_EQ(QImageToDib(argb), nullptr);
    EXPECT_EQ(QImageToDib(mono), nullptr);
}
