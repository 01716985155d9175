#include <QImage>
#include <QPainter>

#include "dib_test_util.h"
#include "platform/message_box_recorder.h"

using namespace kvtest;

namespace {

constexpr QRgb kMarker = 0xff123456;

class DibPaint : public ImagingTest {
protected:
    QImage target_{10, 8, QImage::Format_RGB32};
    void SetUp() override {
        ImagingTest::SetUp();
        target_.fill(kMarker);
    }
    QRgb At(int x, int y) const { return target_.pixel(x, y) | 0xff000000; }
    // The target as rows of letters: '.' for the marker, else the letter of a colour.
    std::vector<std::string> Picture(const std::vector<std::pair<QRgb, char>>& legend) const {
        std::vector<std::string> out;
        for (int y = 0; y < target_.height(); ++y) {
            std::string row;
            for (int x = 0; x < target_.width(); ++x) {
                QRgb c = At(x, y);
                char ch = c == kMarker ? '.' : '?';
                for (const auto& [colour, letter] : legend)
                    if ((colour | 0xff000000) == c) ch = letter;
                row += ch;
            }
            out.push_back(row);
        }
        return out;
    }
};

MemHandle ThreeByTwo() {
    MemHandle img = MakeDib8({{1, 2, 3}, {3, 2, 1}});
    SetEntry(img, 1, 0xff0000, 10);
    SetEntry(img, 2, 0x00ff00, 20);
    SetEntry(img, 3, 0x0000ff, 30);
    return img;
}

}  // namespace

TEST_F(DibPaint, IndexedImageAtTwiceTheSize) {
    Blocks blocks;
    MemHandle img = blocks(ThreeByTwo());
    QPainter p(&target_);
    EXPECT_EQ(PaintDibToDc(&p, QRect(1, 1, 6, 4), img, DibRect{0, 0, 3, 2}), 2);
    p.end();
    EXPECT_EQ(Picture({{0xff0000, 'R'}, {0x00ff00, 'G'}, {0x0000ff, 'B'}}),
              (std::vector<std::string>{"..........",
                                        ".RRGGBB...",
                                        ".RRGGBB...",
                                        ".BBGGRR...",
                                        ".BBGGRR...",
                                        "..........",
                                        "..........",
                                        ".........."}));
}

TEST_F(DibPaint, SourceRectangleAndPalette) {
    Blocks blocks;
    MemHandle img = blocks(ThreeByTwo());
    LogicalPalette alpha;
    ASSERT_EQ(CreateAlphaPaletteFromDib(img, &alpha), 1);
    EXPECT_EQ(alpha.count, 256);
    EXPECT_EQ(alpha.colors[2], qRgb(20, 20, 20));
    QPainter p(&target_);
    // Columns 1..2 of the bottom row, three times the size.
    EXPECT_EQ(PaintDibToDc(&p, QRect(0, 0, 6, 3), img, DibRect{1, 1, 3, 2}, &alpha), 1);
    p.end();
    EXPECT_EQ(Picture({{qRgb(20, 20, 20), '2'}, {qRgb(10, 10, 10), '1'}})[0], "222111....");
    EXPECT_EQ(Picture({})[3], "..........");

    LogicalPalette normal;
    ASSERT_EQ(CreatePaletteFromDib(img, &normal), 1);
    EXPECT_EQ(normal.colors[3], qRgb(0, 0, 255));
    EXPECT_EQ(CreatePaletteFromDib(nullptr, &normal), 0);
    MemHandle rgb = blocks(MakeDib24({{1}}));
    LogicalPalette untouched;
    EXPECT_EQ(CreatePaletteFromDib(rgb, &untouched), 0);
    EXPECT_EQ(untouched.count, 0);
}

TEST_F(DibPaint, PartOutsideTheImageIsNotPainted) {
    Blocks blocks;
    MemHandle img = blocks(ThreeByTwo());
    QPainter p(&target_);
    // One column left of the image: the destination keeps the layout.
    EXPECT_EQ(PaintDibToDc(&p, QRect(0, 0, 8, 2), img, DibRect{-1, 1, 3, 2}), 1);
    p.end();
    EXPECT_EQ(Picture({{0xff0000, 'R'}, {0x00ff00, 'G'}, {0x0000ff, 'B'}})[0], "..BBGGRR..");
}

TEST_F(DibPaint, EveryPixelFormat) {
    Blocks blocks;
    std::vector<std::pair<MemHandle, QRgb>> cases;
    MemHandle rgb = blocks(MakeDib24({{0x00a0b0c0, 0x00102030}}));
    cases.push_back({rgb, 0xffa0b0c0});
    MemHandle rgbUnpadded = blocks(MakeDib24({{0x00a0b0c0, 0x00102030}}, false));
    cases.push_back({rgbUnpadded, 0xffa0b0c0});
    MemHandle four = blocks(MakeDib4({{1, 0}}, {0, 0x00ffee00}));
    cases.push_back({four, 0xffffee00});
    MemHandle mono = blocks(MakeDib1({{1, 0}}, 0, 0x00ffffff));
    cases.push_back({mono, 0xffffffff});
    MemHandle core = blocks(MakeCoreDib8({{5, 0}}));
    SetEntry(core, 5, 0x00abcdef);
    cases.push_back({core, 0xffabcdef});
    MemHandle sixteen = blocks(CreateDib8(2, 1, 2));
    {
        MemLockGuard l(sixteen);
        l.get()[40] = 0x00;  // red 31, green 0, blue 0: 0x7c00
        l.get()[41] = 0x7c;
    }
    cases.push_back({sixteen, 0xffff0000});
    MemHandle thirtyTwo = blocks(CreateDib8(2, 1, 4));
    {
        MemLockGuard l(thirtyTwo);
        l.get()[40] = 0x01;
        l.get()[41] = 0x02;
        l.get()[42] = 0x03;
        l.get()[43] = 0x00;  // alpha byte ignored
    }
    cases.push_back({thirtyTwo, 0xff030201});
    for (const auto& [img, colour] : cases) {
        target_.fill(kMarker);
        QPainter p(&target_);
        EXPECT_EQ(PaintDibToDc(&p, QRect(0, 0, 2, 1), img, DibRect{0, 0, 2, 1}), 1);
        p.end();
        EXPECT_EQ(At(0, 0), colour);
    }
}

TEST_F(DibPaint, NothingToPaint) {
    Blocks blocks;
    MemHandle img = blocks(ThreeByTwo());
    QPainter p(&target_);
    EXPECT_EQ(PaintDibToDc(&p, QRect(0, 0, 3, 2), nullptr, DibRect{0, 0, 3, 2}), 0);
    EXPECT_EQ(PaintDibToDc(nullptr, QRect(0, 0, 3, 2), img, DibRect{0, 0, 3, 2}), 0);
    EXPECT_EQ(PaintDibToDc(&p, QRect(0, 0, 3, 2), img, DibRect{3, 0, 5, 2}), 0);
    EXPECT_EQ(PaintDibToDc(&p, QRect(0, 0, 3, 2), img, DibRect{2, 0, 2, 2}), 0);
    EXPECT_EQ(PaintDibToDc(&p, QRect(), img, DibRect{0, 0, 3, 2}), 0);
    p.end();
    EXPECT_EQ(Picture({})[0], "..........");
}

namespace {

struct Scene {
    Blocks blocks;
    MemHandle composite;
    MemHandle underlay;
    Scene() {
        composite = blocks(MakeDib8({{1, 1, 1, 1}, {2, 2, 2, 2}, {1, 2, 1, 2}}));
        SetEntry(composite, 1, 0xff0000);
        SetEntry(composite, 2, 0x00ff00);
        // 3 x 2 underlay: the last column and row lie outside it.
        underlay = blocks(MakeDib24({{0x0000ff, 0x0000ff, 0x0000ff}, {0x0000ff, 0x0000ff, 0x0000ff}}));
    }
};

}  // namespace

TEST_F(DibPaint, UnderlayShowsWhereAnIndex0ClearLayerIsZero) {
    Scene s;
    MemHandle layer = s.blocks(MakeLayer(Rows{{0, 5, 0, 0}, {0, 0, 7, 0}, {0, 0, 0, 0}}, 1, LAYER_DRAW_INDEX0_CLEAR));
    MemHandle hidden = s.blocks(MakeLayer(4, 3, 3, 0, LAYER_DRAW_NORMAL));
    MemHandle layers[] = {hidden, layer};
    QPainter p(&target_);
    EXPECT_EQ(PaintLayersOverUnderlay(&p, QRect(0, 0, 4, 3), s.composite, DibRect{0, 0, 4, 3}, nullptr,
                                      s.underlay, layers, 2),
              3);
    p.end();
    auto pic = Picture({{0xff0000, 'R'}, {0x00ff00, 'G'}, {0x0000ff, 'u'}});
    EXPECT_EQ(pic[0], "uRuR......");
    EXPECT_EQ(pic[1], "uuGG......");
    EXPECT_EQ(pic[2], "RGRG......");
}

TEST_F(DibPaint, UnderlayRules) {
    struct Case {
        const char* name;
        std::vector<MemHandle> layers;
        std::vector<std::string> rows;
    };
    Scene s;
    MemHandle normal = s.blocks(MakeLayer(4, 3, 0, 1, LAYER_DRAW_NORMAL));
    MemHandle tooSmall = s.blocks(MakeLayer(2, 2, 0, 1, LAYER_DRAW_NORMAL));
    std::vector<Case> cases = {
        {"no layers", {}, {"uuuR", "uuuG", "RGRG"}},
        {"a visible normal layer covers all", {normal}, {"RRRR", "GGGG", "RGRG"}},
        {"null and too small layers cover nothing", {nullptr, tooSmall}, {"uuuR", "uuuG", "RGRG"}},
    };
    for (const Case& c : cases) {
        target_.fill(kMarker);
        QPainter p(&target_);
        PaintLayersOverUnderlay(&p, QRect(0, 0, 4, 3), s.composite, DibRect{0, 0, 4, 3}, nullptr, s.underlay,
                                c.layers.data(), int(c.layers.size()));
        p.end();
        auto pic = Picture({{0xff0000, 'R'}, {0x00ff00, 'G'}, {0x0000ff, 'u'}});
        for (int y = 0; y < 3; ++y) EXPECT_EQ(pic[size_t(y)].substr(0, 4), c.rows[size_t(y)]) << c.name;
    }
}

TEST_F(DibPaint, EightBitUnderlayAndSourceRectangle) {
    Scene s;
    MemHandle under8 = s.blocks(MakeDib8({{4, 4, 4, 4}, {4, 4, 4, 4}, {4, 4, 4, 4}}));
    SetEntry(under8, 4, 0xffffff);
    QPainter p(&target_);
    // Only the right half, twice the size.
    EXPECT_EQ(PaintLayersOverUnderlay(&p, QRect(0, 0, 4, 2), s.composite, DibRect{2, 1, 4, 2}, nullptr, under8,
                                      nullptr, 0),
              1);
    p.end();
    auto pic = Picture({{0xffffff, 'w'}});
    EXPECT_EQ(pic[0], "wwww......");
    EXPECT_EQ(pic[1], "wwww......");
    EXPECT_EQ(pic[2], "..........");
}

TEST_F(DibPaint, UnderlayWithoutMemoryShowsTheMessage) {
    Scene s;
    platform::MessageBoxRecorder boxes;
    QPainter p(&target_);
    LimitRoom(40);
    EXPECT_EQ(PaintLayersOverUnderlay(&p, QRect(0, 0, 4, 3), s.composite, DibRect{0, 0, 4, 3}, nullptr,
                                      s.underlay, nullptr, 0),
              0);
    p.end();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "轮廓合成内存不足");
    EXPECT_EQ(Picture({})[0], "..........");
    // A null image is no failure: 0 without a message.
    QPainter q(&target_);
    EXPECT_EQ(PaintLayersOverUnderlay(&q, QRect(0, 0, 4, 3), nullptr, DibRect{0, 0, 4, 3}, nullptr, s.underlay,
                                      nullptr, 0),
              0);
    EXPECT_EQ(boxes.Count(), 1u);
}
