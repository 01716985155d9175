// New documents: the colour modes, the default palettes and the palette
// sources of the new-image dialog.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "doc_fixture.h"
#include "document/default_palettes.h"
#include "document/doc_globals.h"
#include "document/layer_factory.h"
#include "imaging/dib.h"
#include "document/working_palette.h"
#include "platform/memory.h"
#include "document/display_toggles.h"

namespace doctest {
namespace {

// The 16-colour table, entries 0 to 15 (red, green, blue).
const std::array<uint32_t, 16> kExpected16 = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// The 256-colour table: entries 0 to 2, then rows from their first entry;
// every entry not listed is black.
const std::vector<std::pair<int, std::vector<uint32_t>>> kExpected256Rows = {
    {0, {0x2D8585, 0x00FF00, 0xFF0000}},
    {17, {0xFFF7DB, 0xFFD7B3, 0xFFB57D, 0xE48F76, 0xA86450, 0x784530, 0x50231D}},
    {24, {0xFFBFAD, 0xFF9FAD, 0xE36087, 0x111111, 0x323232, 0x6E6E78, 0xB3BFCB, 0xFFFFFF}},
    {32, {0x283734, 0x6C7880, 0x8C376A, 0xCB4588, 0x2C2470, 0x3C5CC7, 0x04607C, 0x1C9FC3}},
    {40, {0x047430, 0x04B45C, 0xA3741C, 0xEBB71C, 0x704438, 0xBF7C6C, 0x9F0828, 0xD30028}},
    {48, {0x181818, 0x393939, 0x5A5A5A, 0x7B7B7B, 0x9C9C9C, 0xBDBDBD, 0xDEDEDE, 0xFFFFFF}},
    {56, {0x442854, 0x5E3F6C, 0x795784, 0x946F9D, 0xAE87B5, 0xC99FCE, 0xE4B7E6, 0xFFCFFF}},
    {64, {0x003B14, 0x0A4F1F, 0x17692B, 0x24873D, 0x34B053, 0x41CA62, 0x4EE471, 0x5CFF80}},
    {72, {0x172900, 0x264005, 0x40630D, 0x578017, 0x73A422, 0x83B62A, 0xA1CD33, 0xC1EF3C}},
    {80, {0x933000, 0xA24206, 0xB1550D, 0xC16814, 0xD07A1B, 0xE09722, 0xEFB229, 0xFFCB30}},
    {88, {0x5C2800, 0x6F3200, 0x833D00, 0x974800, 0xAA5300, 0xBE5E00, 0xD26900, 0xFF7400}},
    {96, {0xA71870, 0xB33081, 0xC04892, 0xCC61A3, 0xD979B4, 0xE592C5, 0xF2AAD6, 0xFFC3E7}},
    {104, {0x602838, 0x743944, 0x884B50, 0x9D655D, 0xB17E69, 0xCB9776, 0xECB782, 0xFFD28F}},
    {112, {0x000848, 0x14247C, 0x104897, 0x4E72BB, 0x7499CF, 0x8DB6EB, 0xA6D2F3, 0xDBFBFF}},
    {120, {0x003C58, 0x13566F, 0x27738F, 0x3B87A5, 0x4F9BBC, 0x6CC3DF, 0x97E7EF, 0x8BF3FF}},
    {128, {0x303000, 0x505415, 0x777F2B, 0x909840, 0xAAB256, 0xC3CB6B, 0xDDE581, 0xFFFF97}},
    {136, {0x654C00, 0x7E620D, 0x957900, 0xAE9027, 0xC5A60E, 0xDABD30, 0xF4D460, 0xFFFF7C}},
    {144, {0x380000, 0x700000, 0xA30000, 0xC3082C, 0xDB263D, 0xFF4458, 0xFF5C7C, 0xFF8796}},
    {152, {0x5C0044, 0x730060, 0x8A0068, 0xA10071, 0xB90079, 0xD0309F, 0xE764C7, 0xFFA3EB}},
    {160, {0x321E64, 0x6446B4, 0x9C78DC, 0xC9A8FF, 0x153434, 0x237170, 0x50B0AA, 0x85E5DC}},
    {168, {0x604000, 0xAB8300, 0xD0BF58, 0xF8F898, 0x511612, 0x853F29, 0xC47E51, 0xFFC890}},
    {176, {0x1E1E6E, 0x5050AA, 0x7A7BDC, 0xABA7FF, 0x502814, 0x966432, 0xD2AF64, 0xFADF93}},
    {184, {0x432125, 0x73454A, 0xA37070, 0xE89E9E, 0x396329, 0x527B42, 0x73945A, 0xA5CE8C}},
    {192, {0x841031, 0xC62152, 0xFF578C, 0xFFA8CF, 0x7D7370, 0xA89E91, 0xD4CCB3, 0xFFFFCF}},
    {200, {0x34344C, 0x666E8F, 0x9FADC2, 0xD4E6F0, 0x522D0C, 0x8F4800, 0xD66704, 0xFE8F27}},
    {208, {0x802830, 0xC04850, 0xE07080, 0xF8B0C0, 0x0C4800, 0x24701F, 0x10AF10, 0x48F848}},
    {216, {0x771900, 0xA90B00, 0xBE1212, 0xE21900, 0x6F485D, 0xA588C3, 0xBEBEFA, 0xE7DFFA}},
    {224, {0x385858, 0x588848, 0x88B030, 0xD0D020, 0x405050, 0x507060, 0x789878, 0xB8C8A8}},
    {232, {0x704850, 0x985860, 0xC08088, 0xE8C0C8, 0x585830, 0x908010, 0xC8B028, 0xF8D74C}},};

std::array<uint32_t, 256> Expected256() {
    std::array<uint32_t, 256> table{};
    for (const auto& [first, entries] : kExpected256Rows)
        for (size_t i = 0; i < entries.size(); ++i) table[size_t(first) + i] = entries[i];
    return table;
}

struct ModeRow {
    int mode;
    uint16_t lock;
    int firstColor;
};
const ModeRow kModes[] = {
    {0, 0x0000, 0},   {1, 0xFFFE, 0},   {2, 0xFFF3, 32},  {3, 0xFFCF, 64},
    {4, 0xFF3F, 96},  {5, 0xFCFF, 128}, {6, 0xF3FF, 160}, {7, 0xCFFF, 192},
};

using NewDocumentTest = DocTest;

TEST_F(NewDocumentTest, DefaultTablesHoldEveryEntry) {
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(document::kDefaultPalette16[size_t(i)], kExpected16[size_t(i)]) << "entry " << i;
    std::array<uint32_t, 256> expected = Expected256();
    int listed = 0;
    for (const auto& row : kExpected256Rows) listed += int(row.second.size());
    EXPECT_EQ(listed, 3 + 223);  // 0 to 2 and 17 to 239
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(document::kDefaultPalette256[size_t(i)], expected[size_t(i)]) << "entry " << i;
}

TEST_F(NewDocumentTest, EveryColourModeSetsLockColourAndEntries) {
    const std::array<uint32_t, 256> table256 = Expected256();
    for (const ModeRow& row : kModes) {
        SCOPED_TRACE(row.mode);
        AnswerNewImage([&](CNewImageDlg& dlg) {
            dlg.m_nWidth = 9;
            dlg.m_nHeight = 5;
            dlg.m_nColorMode = row.mode;
            dlg.m_BackColor = {0x12, 0x34, 0x56, 0x78};
        });
        bool made = false;
        auto doc = NewDocument(&made);
        ASSERT_TRUE(made);
        EXPECT_EQ(doc->m_nColorMode, row.mode);
        EXPECT_EQ(doc->m_wPaletteLock, row.lock);
        EXPECT_EQ(doc->m_nColor, row.firstColor);
        EXPECT_EQ(doc->m_nWidth, 9);
        EXPECT_EQ(doc->m_nHeight, 5);
        EXPECT_EQ(doc->m_bUntitled, 1);
        EXPECT_EQ(EntryOf(doc->m_hImage, 0), 0x78123456u);
        for (int i = 1; i < 256; ++i) {
            uint32_t expected = row.mode == 0 ? table256[size_t(i)]
                                : i < 16      ? kExpected16[size_t(i)]
                                              : 0u;  // black, alpha 0
            ASSERT_EQ(EntryOf(doc->m_hImage, i), expected) << "entry " << i;
        }
        // Layer 0 covers the image, visible, index 0 transparent.
        EXPECT_EQ(doc->m_nLayerCount, 1);
        ASSERT_NE(doc->m_hLayers[0], nullptr);
        MemLockGuard layer(doc->m_hLayers[0]);
        const auto* header = layer.as<LayerHeader>();
        EXPECT_EQ(header->visible, 1);
        EXPECT_EQ(header->drawMode, LAYER_DRAW_INDEX0_CLEAR);
        EXPECT_EQ(header->right, 9);
        EXPECT_EQ(header->bottom, 5);
        EXPECT_TRUE(doc->m_pPalette && doc->m_pAlphaPalette);
    }
    EXPECT_EQ(dialogsShown, 8);
}

TEST_F(NewDocumentTest, ModeThreeLeavesOnlyEntries64To95Editable) {
    AnswerNewImage([](CNewImageDlg& dlg) { dlg.m_nColorMode = 3; });
    auto doc = NewDocument();
    for (int entry = 0; entry < 256; entry += 16) {
        bool locked = (doc->m_wPaletteLock >> (entry / 16)) & 1;
        EXPECT_EQ(locked, entry < 64 || entry >= 96) << "entry " << entry;
    }
}

TEST_F(NewDocumentTest, OkOnTheDialogAsItOpensGivesTheDefaults) {
    CNewImageDlg::Kept().background = {1, 2, 3, 4};
    CNewImageDlg::Kept().paletteSource = CNewImageDlg::kPaletteLastUsed;  // reset on opening
    GetViewDisplayToggles() = {true, true};
    framework::ScopedModalDriver ok([](framework::Dialog& d) { d.ClickButton(framework::IDOK); });
    bool made = false;
    auto doc = NewDocument(&made);
    ASSERT_TRUE(made);
    EXPECT_EQ(doc->m_nWidth, 640);
    EXPECT_EQ(doc->m_nHeight, 480);
    EXPECT_EQ(doc->m_nColorMode, 0);
    EXPECT_EQ(EntryOf(doc->m_hImage, 0), 0x04010203u);
    EXPECT_EQ(EntryOf(doc->m_hImage, 1), 0x0000FF00u);
    EXPECT_EQ(CNewImageDlg::Kept().paletteSource, CNewImageDlg::kPaletteNone);
    EXPECT_FALSE(GetViewDisplayToggles().guidesShown);
    EXPECT_FALSE(GetViewDisplayToggles().guideEdit);
    MemLockGuard layer(doc->m_hLayers[0]);
    EXPECT_STREQ(layer.as<LayerHeader>()->name, "层 000");
}

TEST_F(NewDocumentTest, BackgroundColourIsKeptForTheNextDialog) {
    ColorChooser previous = SetColorChooser([](QWidget*, ChosenColor& color) {
        color = {200, 100, 50, 255};
        return true;
    });
    {
        // Chosen on the colour button; the dialog itself is cancelled.
        framework::ScopedModalDriver choose([](framework::Dialog& d) {
            d.ClickButton(CNewImageDlg::kBackColorId);
            d.ClickButton(framework::IDCANCEL);
        });
        NewDocument();
    }
    SetColorChooser(previous);
    EXPECT_EQ(CNewImageDlg::Kept().background.red, 200);
    EXPECT_EQ(CNewImageDlg::Kept().background.alpha, 255);
    framework::ScopedModalDriver ok([](framework::Dialog& d) { d.ClickButton(framework::IDOK); });
    auto doc = NewDocument();
    EXPECT_EQ(EntryOf(doc->m_hImage, 0), 0xFFC86432u);
}

TEST_F(NewDocumentTest, LastUsedPaletteComesFromTheWorkingPalette) {
    WorkingPalette& palette = GetWorkingPalette();
    for (int i = 0; i < 256; ++i)
        palette[size_t(i)] = {uint8_t(i), uint8_t(255 - i), uint8_t(i ^ 0x55), uint8_t(i / 2)};
    auto expected = [](int i) {
        return uint32_t(i / 2) << 24 | uint32_t(i) << 16 | uint32_t(255 - i) << 8 | uint32_t(i ^ 0x55);
    };
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        AnswerNewImage([mode](CNewImageDlg& dlg) {
            dlg.m_nColorMode = mode;
            dlg.m_BackColor = {9, 9, 9, 9};  // not used with this source
            CNewImageDlg::Kept().paletteSource = CNewImageDlg::kPaletteLastUsed;
        });
        auto doc = NewDocument();
        int filled = mode ? 16 : 256;
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(EntryOf(doc->m_hImage, i), i < filled ? expected(i) : 0u) << "entry " << i;
    }
}

TEST_F(NewDocumentTest, PaletteFileThatGivesNoPaletteAsksAgain) {
    int round = 0;
    AnswerNewImage([&round](CNewImageDlg& dlg) {
        ++round;
        if (round == 1) {  // a file that cannot give a palette
            CNewImageDlg::Kept().paletteSource = CNewImageDlg::kPaletteFromFile;
            CNewImageDlg::Kept().palettePath = "/nowhere/picture.gif";
        } else if (round == 2) {  // from a file, but none named
            CNewImageDlg::Kept().paletteSource = CNewImageDlg::kPaletteFromFile;
        }
    });
    size_t blocks = MemBlockCount();
    bool made = false;
    auto doc = NewDocument(&made);
    EXPECT_TRUE(made);
    EXPECT_EQ(round, 3);
    // The read says why, then the dialog that it gave no palette.
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"/NOWHERE/PICTURE.GIF\n 是不支持的文件格式。", "调色板取出失败"}));
    EXPECT_TRUE(CNewImageDlg::Kept().palettePath.isEmpty());
    doc.reset();
    EXPECT_EQ(MemBlockCount(), blocks);
}

TEST_F(NewDocumentTest, FirstLayerTakesTheDialogsName) {
    AnswerNewImage([](CNewImageDlg& dlg) { dlg.m_strLayerName = "背景"; });
    auto doc = NewDocument();
    MemLockGuard layer(doc->m_hLayers[0]);
    EXPECT_STREQ(layer.as<LayerHeader>()->name, "背景");
}

TEST_F(NewDocumentTest, NoImageMeansNoDocument) {
    struct Case {
        const char* what;
        std::function<void(CNewImageDlg&)> edit;
        int result;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {"cancel", nullptr, framework::IDCANCEL, {}},
        {"zero width", [](CNewImageDlg& d) { d.m_nWidth = 0; }, framework::IDOK, {}},
        {"too wide", [](CNewImageDlg& d) { d.m_nWidth = 2049; }, framework::IDOK, {"DIB 过大。"}},
        {"too high", [](CNewImageDlg& d) { d.m_nHeight = 2049; }, framework::IDOK, {"DIB 过大。"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.Clear();
        AnswerNewImage(c.edit, c.result);
        size_t blocks = MemBlockCount();
        bool made = true;
        auto doc = NewDocument(&made);
        EXPECT_FALSE(made);
        EXPECT_EQ(doc->m_hImage, nullptr);
        EXPECT_EQ(doc->m_nLayerCount, 0);
        EXPECT_EQ(BoxTexts(), c.boxes);
        doc.reset();
        EXPECT_EQ(MemBlockCount(), blocks);
    }
}

TEST_F(NewDocumentTest, FailedWorkMemoryProbeShowsNoDialog) {
    AnswerNewImage(nullptr);
    auto doc = std::make_unique<CPelmarkDoc>();
    MemSetLimit(MemBytesInUse() + (1u << 20));
    EXPECT_FALSE(doc->OnNewDocument());
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_EQ(dialogsShown, 0);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"工作内存不足"});
    EXPECT_EQ(doc->m_hImage, nullptr);
}

TEST_F(NewDocumentTest, NewFromDataOnlyFillsThePalette) {
    AnswerNewImage(nullptr);
    GetViewDisplayToggles() = {true, true};
    const std::array<uint32_t, 256> table256 = Expected256();
    {
        document::ScopedNewFromData fromData;
        auto empty = NewDocument();
        EXPECT_EQ(empty->m_hImage, nullptr);
        EXPECT_EQ(empty->m_nLayerCount, 0);
        EXPECT_EQ(empty->m_bUntitled, 1);

        // An image already in place: 16 entries of the 256-colour table in a
        // 16-colour mode.
        auto doc = std::make_unique<CPelmarkDoc>();
        doc->m_hImage = CreateDib8(4, 4, 0);
        doc->m_nColorMode = 1;
        EXPECT_TRUE(doc->OnNewDocument());
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(EntryOf(doc->m_hImage, i), i < 16 ? table256[size_t(i)] : 0u) << i;
        EXPECT_EQ(doc->m_nLayerCount, 0);
        EXPECT_EQ(doc->m_nWidth, 4);
    }
    EXPECT_FALSE(document::IsNewFromData());
    EXPECT_EQ(dialogsShown, 0);
    EXPECT_FALSE(GetViewDisplayToggles().guidesShown);
}

}  // namespace
}  // namespace doctest
