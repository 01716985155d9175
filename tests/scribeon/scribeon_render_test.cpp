// The text tool's pieces without its dialog: the stored settings, the number
// texts, the glyph writers on hand-made bitmaps and the line layout with the
// test's fonts (DejaVu and WenQuanYi Micro Hei only).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "plugins/scribeon/glyph_fonts.h"
#include "plugins/scribeon/glyph_writers.h"
#include "plugins/scribeon/text_render.h"
#include "plugins/scribeon/text_settings.h"

namespace {

TEST(TextSettingsTest, StoredTexts) {
    const TextSettings defaults;
    struct Case {
        const char* name;
        std::string text;
        bool taken;
        std::string face;
        int alignment;
        float size;
        int background;
    };
    const std::string noBracket = "[" + std::string(127, 'a') + "x],0,1,3,1,1,30.00,20.00,0.00,2";
    const std::string face40 = "[" + std::string(40, 'f') + "],0,1,0,1,0,30.00,20.00,0.00,1";
    const std::string cjk = "[" + std::string(30, 'f') + "宋体],0,1,0,1,0,30.00,20.00,0.00,1";
    const std::vector<Case> cases = {
        {"no ] in 129 bytes", noBracket, false, "", 0, 20.0f, 0},
        {"] without [", "abc],0,1,3,1,1,30.00,20.00,0.00,2", false, "", 0, 20.0f, 0},
        {"valid", "[宋体],1,128,4,0,1,12.50,30.00,2.00,5", true, "宋体", 4, 12.5f, 5},
        {"40-byte face", face40, true, std::string(31, 'f'), 0, 30.0f, 1},
        {"face cut at a character", cjk, true, std::string(30, 'f'), 0, 30.0f, 1},
        {"nan size", "[a],0,1,2,1,0,nan,20.00,0.00,3", true, "a", 2, 20.0f, 0},
        {"size 0", "[a],0,1,2,1,0,0.00,20.00,0.00,3", true, "a", 2, 20.0f, 3},
        {"size 99999", "[a],0,1,2,1,0,99999,20.00,0.00,3", true, "a", 2, 20.0f, 3},
        {"alignment 9", "[a],0,1,9,1,0,25.00,20.00,0.00,3", true, "a", 0, 25.0f, 3},
        {"background 12", "[a],0,1,1,1,0,25.00,20.00,0.00,12", true, "a", 1, 25.0f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextSettings s;
        EXPECT_EQ(ParseTextSettings(c.text, &s), c.taken);
        EXPECT_EQ(s.face, c.face);
        EXPECT_EQ(s.alignment, c.alignment);
        EXPECT_FLOAT_EQ(s.size, c.size);
        EXPECT_EQ(s.background, c.background);
        EXPECT_LE(s.face.size(), 31u);
    }
    // OK's own string reads back as it was written.
    TextSettings s;
    s.face = "WenQuanYi Micro Hei";
    s.effects = 3;
    s.charset = 128;
    s.alignment = 5;
    s.antiAlias = 1;
    s.size = 12.5f;
    s.lineSpacing = 33.0f;
    s.charSpacing = 1.5f;
    s.background = 7;
    const std::string text = FormatTextSettings(s);
    EXPECT_EQ(text, "[WenQuanYi Micro Hei],3,128,5,1,1,12.50,33.00,1.50,7");
    TextSettings back;
    ASSERT_TRUE(ParseTextSettings(text, &back));
    EXPECT_EQ(FormatTextSettings(back), text);
    EXPECT_EQ(defaults.size, 20.0f);
}

TEST(TextSettingsTest, NumberTexts) {
    struct Case {
        const char* text;
        NumberText result;
        float value;
    };
    for (const Case& c : {Case{"12.5", NumberText::Ok, 12.5f}, Case{"12.55", NumberText::Invalid, 0},
                          Case{"1300", NumberText::TooLarge, 0}, Case{"", NumberText::Ok, 0},
                          Case{"1.2.", NumberText::Invalid, 0}, Case{"1a", NumberText::Invalid, 0},
                          Case{"1296", NumberText::Ok, 1296}}) {
        float v = -1;
        EXPECT_EQ(ParseNumberText(c.text, 1296, &v), c.result) << c.text;
        if (c.result == NumberText::Ok) EXPECT_FLOAT_EQ(v, c.value) << c.text;
    }
    EXPECT_EQ(FormatTenths(12.5f), "12.5");
    EXPECT_EQ(FormatTenths(20.0f), "20.0");
}

// A 12 x 8 image: layer, composite, masks, a two-entry-equal palette.
struct Canvas {
    static constexpr int W = 12, H = 8, Stride = 12;
    std::vector<uint8_t> layer = std::vector<uint8_t>(Stride * H, 9);
    RgbBuffer* rgb = NewRgbBuffer(W, H);
    std::vector<uint8_t> textMask = std::vector<uint8_t>(2 * H, 0);
    std::vector<uint8_t> selection = std::vector<uint8_t>(2 * H, 0xff);
    std::vector<uint16_t> chosen = std::vector<uint16_t>(W * H, 0);
    PaletteEntry palette[16] = {};
    RenderTarget target;
    Canvas() {
        palette[0] = {0, 0, 0, 0};     // black (transparent index)
        palette[1] = {0, 0, 0, 0};     // black again
        palette[2] = {200, 100, 50, 0};
        palette[3] = {100, 50, 25, 0};  // the mean of 2 and black
        palette[9] = {10, 20, 30, 0};
        for (int i = 4; i < 16; ++i) palette[i] = {uint8_t(250 - i), 255, 255, 0};
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) std::memcpy(rgb->data + y * rgb->stride + 3 * x, "\x00\x00\x00", 3);
        target.width = W;
        target.height = H;
        target.layer = layer.data();
        target.layerStride = Stride;
        target.composite = rgb;
        target.textMask = textMask.data();
        target.chosen = chosen.data();
        target.selection = selection.data();
        target.span = {0, H, 0, W};
        target.palette = palette;
        target.colors = 16;
    }
    ~Canvas() { FreeRgbBuffer(rgb); }
    uint8_t Pixel(int x, int y) const { return layer[size_t(H - 1 - y) * Stride + size_t(x)]; }
    const uint8_t* Rgb(int x, int y) const { return rgb->data + (H - 1 - y) * rgb->stride + 3 * x; }
};

TEST(GlyphWritersTest, GreyBlendsAndWritesBackOnlyUnderTheTextMask) {
    Canvas c;
    // 3 x 2 grey glyph: 64 64 32 / 0 64 32.
    const uint8_t grey[] = {64, 64, 32, 0, 0, 64, 32, 0};
    GlyphBitmap g{3, 2, 4, true, grey};
    c.selection[2 * 2] &= uint8_t(~0x40);  // (1, 2) not selected
    BlendGrayGlyph(c.target, g, 0, 1, 2);
    EXPECT_EQ(std::vector<uint8_t>(c.Rgb(0, 1), c.Rgb(0, 1) + 3), (std::vector<uint8_t>{200, 100, 50}));
    EXPECT_EQ(std::vector<uint8_t>(c.Rgb(2, 1), c.Rgb(2, 1) + 3), (std::vector<uint8_t>{100, 50, 25}));
    EXPECT_EQ(c.Rgb(1, 2)[0], 0);  // cut by the selection
    c.target.span = {0, Canvas::H, 0, 2};  // the tool rectangle: columns 0 and 1
    WriteRgbThroughMasks(c.target);
    EXPECT_EQ(c.Pixel(0, 1), 2);
    EXPECT_EQ(c.Pixel(1, 1), 2);
    EXPECT_EQ(c.Pixel(2, 1), 9);   // outside the rectangle
    EXPECT_EQ(c.Pixel(1, 2), 9);   // outside the selection
    EXPECT_EQ(c.Pixel(0, 2), 9);   // v = 0: no text-mask bit
    EXPECT_EQ(c.Pixel(5, 5), 9);   // the composite differs there, the layer stays
}

TEST(GlyphWritersTest, MonoIsUnblendedAndEqualColoursKeepTheChosenIndex) {
    Canvas c;
    const uint8_t mono[] = {0xA0, 0, 0, 0, 0x40, 0, 0, 0};  // x.x / .x.
    GlyphBitmap g{3, 2, 4, false, mono};
    PutMonoGlyph(c.target, g, 10, 6, 1);
    EXPECT_EQ(c.Pixel(10, 6), 1);
    EXPECT_EQ(c.Pixel(11, 6), 9);
    EXPECT_EQ(c.Pixel(11, 7), 1);
    EXPECT_EQ(c.Rgb(10, 6)[0], 0);  // no blend, the composite untouched
    EXPECT_EQ(c.textMask[12], 0);

    // Black text in index 1 stays in 1, though 0 holds the same colour.
    const uint8_t full[] = {64, 40, 0, 0};
    Canvas d;
    for (int y = 0; y < Canvas::H; ++y) std::memset(d.rgb->data + y * d.rgb->stride, 255, 3 * Canvas::W);
    GlyphBitmap one{2, 1, 4, true, full};
    BlendGrayGlyph(d.target, one, 4, 4, 1);
    WriteRgbThroughMasks(d.target);
    EXPECT_EQ(d.Pixel(4, 4), 1);
    const uint8_t* blend = d.Rgb(5, 4);
    EXPECT_EQ(d.Pixel(5, 4), NearestPaletteIndex(d.palette, 16, blend[0], blend[1], blend[2]));
}

TEST(TextLayoutTest, LineStarts) {
    EXPECT_EQ(LineStart(0, 100, 5, 3, 60), 100);
    EXPECT_EQ(LineStart(1, 100, 5, 3, 60), 100 - (4 * 3 + 60) / 2);
    EXPECT_EQ(LineStart(2, 100, 5, 3, 60), 100 - 4 * 3 - 60);
    EXPECT_EQ(LineStart(4, 100, 5, 3, 61), 100 - (4 * 3 + 61) / 2);
}

class RealFontTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fonts.Ok()); }
    static TextChar Char(char32_t code, int twips = 480) {
        TextChar c;
        c.code = code;
        c.heightTwips = twips;
        c.font.face = "WenQuanYi Micro Hei";
        c.font.height = twips / 20;
        c.font.charset = kJapaneseCharset;
        c.colorIndex = 2;
        return c;
    }
    GlyphFonts fonts;
};

TEST_F(RealFontTest, StandInFacesAndBlanks) {
    FontChoice ms{"ＭＳ Ｐゴシック", false, false, 24, kJapaneseCharset};
    EXPECT_EQ(fonts.FamilyFor(ms, 0), "WenQuanYi Micro Hei");
    FontChoice song{"宋体", false, false, 24, kDefaultCharset};
    EXPECT_EQ(fonts.FamilyFor(song, U'中'), "WenQuanYi Micro Hei");
    FontChoice dejavu{"DejaVu Sans", false, false, 24, kDefaultCharset};
    EXPECT_EQ(fonts.FamilyFor(dejavu, U'A'), "DejaVu Sans");
    EXPECT_EQ(fonts.FamilyFor(dejavu, U'中'), "WenQuanYi Micro Hei");  // the face lacks it
    EXPECT_EQ(CharsetOfFamily("WenQuanYi Micro Hei"), kJapaneseCharset);
    EXPECT_EQ(CharsetOfFamily("DejaVu Sans"), kDefaultCharset);
    int w = 0, h = 0;
    MeasureGlyphString(fonts, Char(U' '), true, true, &w, &h);
    EXPECT_EQ(w, 12);
    EXPECT_EQ(h, 12);
    MeasureGlyphString(fonts, Char(0x3000), false, true, &w, &h);
    EXPECT_EQ(w, 24);
    EXPECT_EQ(h, 24);
}

// The columns of pixels set in a 200 x 120 layer after rendering.
struct Rendered {
    static constexpr int W = 200, H = 120;
    std::vector<uint8_t> layer = std::vector<uint8_t>(W * H, 0);
    int Leftmost() const {
        for (int x = 0; x < W; ++x)
            for (int y = 0; y < H; ++y)
                if (layer[size_t(y) * W + x]) return x;
        return -1;
    }
};

void Render(GlyphFonts& fonts, const std::vector<TextChar>& text, const TextLayout& layout, Rendered& out) {
    RenderTarget t;
    t.width = Rendered::W;
    t.height = Rendered::H;
    t.layer = out.layer.data();
    t.layerStride = Rendered::W;
    t.span = {0, Rendered::H, 0, Rendered::W};
    RenderText(fonts, text, layout, t);
}

TEST_F(RealFontTest, CentredLineStartsHalfItsAdvanceLeftOfTheAnchor) {
    std::vector<TextChar> text = {Char(U'中'), Char(U'文'), Char(U' '), Char(U'字')};
    int total = 0;
    for (const TextChar& c : text) {
        int w = 0, h = 0;
        MeasureGlyphString(fonts, c, true, false, &w, &h);
        total += w;
    }
    const int s = 3;
    TextLayout centred{100, 60, 1, s, 30, false};
    Rendered a, b;
    Render(fonts, text, centred, a);
    TextLayout left{100 - ((4 - 1) * s + total) / 2, 60, 0, s, 30, false};
    Render(fonts, text, left, b);
    EXPECT_EQ(a.layer, b.layer);
    EXPECT_GT(a.Leftmost(), 100 - ((4 - 1) * s + total) / 2 - 3);
    EXPECT_LT(a.Leftmost(), 100 - total / 2);
}

TEST_F(RealFontTest, VerticalLinesRunRightToLeftOneLineSpacingApart) {
    const std::vector<TextChar> text = {Char(U'中'), Char(U'\n'), Char(U'中'), Char(U'\n'), Char(U'中')};
    Rendered three;
    Render(fonts, text, TextLayout{150, 10, 3, 0, 40, false}, three);
    // The same as one column at 150, one at 110 and one at 70.
    Rendered columns;
    for (int x : {150, 110, 70}) Render(fonts, {Char(U'中')}, TextLayout{x, 10, 3, 0, 40, false}, columns);
    EXPECT_EQ(three.layer, columns.layer);
    EXPECT_GT(std::count(three.layer.begin(), three.layer.end(), 2), 60);
}

}  // namespace
