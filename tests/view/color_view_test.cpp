// The canvas view's colour commands through the frame's command routing: the
// edit mode and its lock words, the colour map, the mask colours, the alpha
// value and the removal of unused colours, and their undo.
#include <algorithm>

#include "dialogs/color_map_dlg.h"
#include "dialogs/flag_color_dlgs.h"
#include "document/color_edits.h"
#include "document/layer_factory.h"
#include "document/unused_colors.h"
#include "document/used_colors.h"
#include "framework/cmd_ui.h"
#include "imaging/dib_access.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"
#include "platform/message_box_recorder.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

class ColorViewTest : public ViewTest {
public:
    // A w x h image of one normal layer whose pixel (x, y) is index(x, y).
    template <class F>
    CPelmarkView* Open(int w, int h, F index) {
        CPelmarkView* view = OpenImage(w, h);
        doc = view->GetDocument();
        width = w;
        height = h;
        document::LayerOptions normal;
        normal.drawMode = LAYER_DRAW_NORMAL;
        EXPECT_TRUE(document::CreateLayer(*doc, 0, 1, normal));
        doc->m_nEditLayer = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Px(x, y) = uint8_t(index(x, y));
        return view;
    }
    void TearDown() override {
        CPelmarkView::EditModeDialog() = {};
        CPelmarkView::AlphaDialog() = {};
        MemSetLimit(MEM_NO_LIMIT);
        ViewTest::TearDown();
    }
    uint8_t& Px(int x, int y) const {
        auto* p = static_cast<uint8_t*>(MemLock(doc->m_hLayers[0]));
        MemUnlock(doc->m_hLayers[0]);
        return p[LAYER_HEADER_SIZE + size_t(height - 1 - y) * dib::LayerRowBytes(width) + size_t(x)];
    }
    uint8_t Alpha(int index) const {
        uint8_t r, g, b, a;
        GetDibPaletteEntry(doc->m_hImage, index, &r, &g, &b, &a);
        return a;
    }
    bool Send(framework::CommandId id) { return frame->SendCommand(id); }
    bool Enabled(framework::CommandId id) { return frame->QueryCommandState(id).IsEnabled(); }
    uint8_t MaxIndex() const {
        uint8_t m = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) m = std::max(m, Px(x, y));
        return m;
    }

    CPelmarkDoc* doc = nullptr;
    int width = 0, height = 0;
};

int FortyColours(int x, int y) { return (x + 16 * y) % 40; }

TEST(EditModeLockWords, WordToModeAndBack) {
    struct Case {
        uint16_t word;
        int mode;
    };
    for (const Case& c : {Case{0xFFFE, 1}, Case{0xFFF3, 2}, Case{0xFFCF, 2}, Case{0xFF3F, 2}, Case{0xFCFF, 2},
                          Case{0xF3FF, 2}, Case{0xCFFF, 2}, Case{0x0000, 0}, Case{0xFFFF, 0}, Case{0x1234, 0},
                          Case{0xFFFC, 0}})
        EXPECT_EQ(document::EditModeFromLockWord(c.word), c.mode) << std::hex << c.word;
    const uint16_t words[] = {0x0000, 0xFFFE, 0xFFF3, 0xFFCF, 0xFF3F, 0xFCFF, 0xF3FF, 0xCFFF};
    for (int mode = 0; mode < 8; ++mode) EXPECT_EQ(document::LockWordOfEditMode(mode), words[mode]) << mode;
    EXPECT_EQ(document::LockWordOfEditMode(8), 0);
}

TEST_F(ColorViewTest, EditModeIsDisabledUntilItsDialogExists) {
    Open(8, 8, FortyColours);
    EXPECT_FALSE(Enabled(CPelmarkView::kEditModeId));
    EXPECT_FALSE(Enabled(CPelmarkView::kAlphaId));
    CPelmarkView::EditModeDialog() = [](int) { return std::optional<int>(1); };
    EXPECT_TRUE(Enabled(CPelmarkView::kEditModeId));
}

TEST_F(ColorViewTest, FortyColoursAskAndCancelKeeps256ColourMode) {
    Open(16, 16, FortyColours);
    int shownMode = -1;
    CPelmarkView::EditModeDialog() = [&](int current) {
        shownMode = current;
        return std::optional<int>(1);
    };
    const int32_t undo = doc->m_nUndoIndex;
    platform::MessageBoxRecorder boxes({MB_ANSWER_CANCEL});
    ASSERT_TRUE(Send(CPelmarkView::kEditModeId));
    EXPECT_EQ(shownMode, 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "减色开始。");
    EXPECT_EQ(doc->m_wPaletteLock, 0);
    EXPECT_EQ(doc->m_nColorMode, 0);
    EXPECT_EQ(doc->m_nUndoIndex, undo);
    EXPECT_EQ(MaxIndex(), 39);
}

TEST_F(ColorViewTest, FortyColoursReduceToSixteenAndUndoBringsThemBack) {
    Open(16, 16, FortyColours);
    CPelmarkView::EditModeDialog() = [](int) { return std::optional<int>(1); };
    platform::MessageBoxRecorder boxes({MB_ANSWER_OK});
    ASSERT_TRUE(Send(CPelmarkView::kEditModeId));
    EXPECT_EQ(doc->m_wPaletteLock, 0xFFFE);
    EXPECT_EQ(doc->m_nColorMode, 1);
    EXPECT_EQ(doc->m_nColor, 0);
    EXPECT_LT(MaxIndex(), 16);
    ASSERT_TRUE(Send(framework::ID_EDIT_UNDO));
    EXPECT_EQ(doc->m_wPaletteLock, 0);
    EXPECT_EQ(doc->m_nColorMode, 0);
    EXPECT_EQ(Px(7, 2), FortyColours(7, 2));
    // Back to 256 colours asks nothing.
    CPelmarkView::EditModeDialog() = [](int) { return std::optional<int>(0); };
    boxes.Clear();
    ASSERT_TRUE(Send(framework::ID_EDIT_REDO));
    ASSERT_EQ(doc->m_wPaletteLock, 0xFFFE);
    ASSERT_TRUE(Send(CPelmarkView::kEditModeId));
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(doc->m_wPaletteLock, 0);
}

TEST_F(ColorViewTest, FewUsedColoursGoToTheFirstEntries) {
    // Two colours high in the palette: reduced to two entries.
    Open(6, 4, [](int x, int) { return x < 3 ? 200 : 230; });
    CPelmarkView::EditModeDialog() = [](int) { return std::optional<int>(1); };
    platform::MessageBoxRecorder boxes({MB_ANSWER_OK});
    ASSERT_TRUE(Send(CPelmarkView::kEditModeId));
    EXPECT_EQ(doc->m_wPaletteLock, 0xFFFE);
    EXPECT_LT(MaxIndex(), 16);
    EXPECT_NE(Px(0, 0), Px(5, 0));
}

TEST_F(ColorViewTest, AFailedReductionLeavesNoStep) {
    Open(16, 16, FortyColours);
    CPelmarkView::EditModeDialog() = [](int) { return std::optional<int>(1); };
    const int32_t undo = doc->m_nUndoIndex;
    platform::MessageBoxRecorder boxes({MB_ANSWER_OK});
    // The step is open when the answer comes; the reducer then gets no
    // memory.
    const document::EditModeResult result = document::ChangeEditMode(*doc, 1, [] {
        MemSetLimit(MemBytesInUse());
        return true;
    });
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_EQ(result, document::EditModeResult::Failed);
    EXPECT_EQ(doc->m_nUndoIndex, undo);
    EXPECT_EQ(doc->m_wPaletteLock, 0);
    EXPECT_EQ(Px(7, 2), FortyColours(7, 2));
}

TEST_F(ColorViewTest, PaddingOnlyIndexZeroIsOfferedForRemoval) {
    // Rows of 5 pixels are padded to 8 bytes of 0.
    Open(5, 3, [](int, int) { return 3; });
    const document::UsedColors used = document::ScanLayerColors(*doc);
    EXPECT_EQ(used.count, 1);
    EXPECT_EQ(used.flags[0], 0);
    const document::ColorFlagTable offered = document::OfferedUnusedColors(*doc);
    EXPECT_EQ(offered[0], 1);
    EXPECT_EQ(offered[3], 0);
}

TEST_F(ColorViewTest, TwoIdenticalUsedEntriesKeepOne) {
    Open(4, 2, [](int x, int) { return x < 2 ? 3 : 7; });
    uint8_t r, g, b, a;
    GetDibPaletteEntry(doc->m_hImage, 3, &r, &g, &b, &a);
    SetDibPaletteEntry(doc->m_hImage, 7, r, g, b, a);
    doc->InitDib();
    bool asked = false;
    framework::ScopedModalDriver driver([&](framework::Dialog& d) {
        auto* dlg = dynamic_cast<CUnusedColorDlg*>(&d);
        ASSERT_TRUE(dlg);
        asked = true;
        EXPECT_EQ(dlg->flags[7], 1);  // the copy is offered, marked
        EXPECT_EQ(dlg->flags[3], 0);
        d.ClickButton(framework::IDOK);
    });
    ASSERT_TRUE(Enabled(CPelmarkView::kDeleteUnusedId));
    ASSERT_TRUE(Send(CPelmarkView::kDeleteUnusedId));
    EXPECT_TRUE(asked);
    // Index 3 closes up to 0; both halves show it.
    EXPECT_EQ(Px(0, 0), 0);
    EXPECT_EQ(Px(3, 1), 0);
    uint8_t r0, g0, b0, a0;
    GetDibPaletteEntry(doc->m_hImage, 0, &r0, &g0, &b0, &a0);
    EXPECT_EQ(r0, r);
    EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "消除未使用色");
    ASSERT_TRUE(Send(framework::ID_EDIT_UNDO));
    EXPECT_EQ(Px(3, 1), 7);
}

TEST_F(ColorViewTest, EntriesTheUserUnmarksStay) {
    Open(4, 2, [](int, int) { return 9; });
    const int32_t undo = doc->m_nUndoIndex;
    framework::ScopedModalDriver driver([](framework::Dialog& d) {
        d.ClickButton(CUnusedColorDlg::kSelectNoneId);
        d.ClickButton(framework::IDOK);
    });
    ASSERT_TRUE(Send(CPelmarkView::kDeleteUnusedId));
    EXPECT_EQ(doc->m_nUndoIndex, undo);
    EXPECT_EQ(Px(1, 1), 9);
}

TEST_F(ColorViewTest, ColorMapOpensItsDialogAndIsOneStep) {
    Open(8, 8, [](int x, int y) { return PatternIndex(x, y); });
    bool shown = false;
    framework::ScopedModalDriver driver([&](framework::Dialog& d) {
        shown = dynamic_cast<CColorMapDlg*>(&d) != nullptr;
        d.ClickButton(framework::IDOK);
    });
    ASSERT_TRUE(Send(CPelmarkView::kColorMapId));
    EXPECT_TRUE(shown);
    EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "换色");

    // The remap itself: the selection only while one floats.
    std::array<uint8_t, 256> map;
    for (int i = 0; i < 256; ++i) map[size_t(i)] = uint8_t(255 - i);
    ASSERT_TRUE(document::RemapSelectionColors(*doc, map));
    EXPECT_EQ(Px(3, 4), 255 - PatternIndex(3, 4));
    ASSERT_TRUE(Send(framework::ID_EDIT_UNDO));
    EXPECT_EQ(Px(3, 4), PatternIndex(3, 4));
}

TEST_F(ColorViewTest, ColorMapCancelChangesNothing) {
    Open(8, 8, [](int x, int y) { return PatternIndex(x, y); });
    const int32_t undo = doc->m_nUndoIndex;
    framework::ScopedModalDriver driver([](framework::Dialog& d) { d.ClickButton(framework::IDCANCEL); });
    ASSERT_TRUE(Send(CPelmarkView::kColorMapId));
    EXPECT_EQ(doc->m_nUndoIndex, undo);
}

TEST_F(ColorViewTest, MaskColoursAreWrittenBack) {
    Open(4, 4, [](int, int) { return 1; });
    framework::ScopedModalDriver driver([](framework::Dialog& d) {
        ASSERT_TRUE(dynamic_cast<CMaskColorDlg*>(&d));
        d.ClickButton(CMaskColorDlg::kCopyAllId);
        d.ClickButton(framework::IDOK);
    });
    ASSERT_TRUE(Send(CPelmarkView::kMaskColorsId));
    for (size_t i = 0; i < 256; ++i) {
        ASSERT_EQ(doc->m_EnabledColors[i], 0) << i;
        ASSERT_EQ(doc->m_WritableColors[i], 1) << i;
    }
}

TEST_F(ColorViewTest, AlphaIsClampedAndUndone) {
    Open(4, 4, [](int, int) { return 1; });
    CPelmarkView::AlphaDialog() = [] { return std::optional<int>(300); };
    doc->m_bRedoMode = 1;
    ASSERT_TRUE(Enabled(CPelmarkView::kAlphaId));
    ASSERT_TRUE(Send(CPelmarkView::kAlphaId));
    for (int i : {0, 5, 255}) EXPECT_EQ(Alpha(i), 255) << i;
    EXPECT_EQ(doc->m_bRedoMode, 0);
    EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "改变 Alpha 值");
    ASSERT_TRUE(Send(framework::ID_EDIT_UNDO));
    EXPECT_EQ(Alpha(5), 255 - 5);
    CPelmarkView::AlphaDialog() = [] { return std::optional<int>(-4); };
    ASSERT_TRUE(Send(CPelmarkView::kAlphaId));
    EXPECT_EQ(Alpha(9), 0);
}

}  // namespace
}  // namespace viewtest
