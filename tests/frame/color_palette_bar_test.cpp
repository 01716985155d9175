#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QTest>

#include "dialogs/color_choice.h"
#include "document/layer_factory.h"
#include "framework/cmd_ui.h"
#include "document/pelmark_doc.h"
#include "document/used_colors.h"
#include "frame_fixture.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "palettes/color_palette_bar.h"
#include "palettes/picture_button.h"
#include "plugin_api/plugin_messages.h"

namespace frametest {
namespace {

// Entry i of the test palette: every entry differs in all four values.
RgbaEntry testEntry(int i) {
    return {uint8_t(i), uint8_t(255 - i), uint8_t((i * 7) & 255), uint8_t((i * 3 + 1) & 255)};
}

bool sameEntry(const RgbaEntry& a, const RgbaEntry& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

class PaletteBarTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(Start());
        bar = Frame()->ColorPalette();
        ASSERT_TRUE(bar);
        bar->show();
        doc = MakeDocument(8, 4);
        ASSERT_TRUE(doc);
        bar->OnPaletteBarUpdate(PALETTEBAR_DOCUMENT, 0);
    }
    void TearDown() override {
        // The tests' services capture their locals.
        if (bar) bar->SetServices({});
        FrameTest::TearDown();
    }

    // A document of one layer whose pixels run 0, 1, 2, ... and whose
    // palette is the test palette.
    CPelmarkDoc* MakeDocument(int width, int height) {
        CPelmarkDoc* d = NewDocument();
        if (!d) return nullptr;
        d->m_hImage = CreateDib8(width, height, 0);
        EXPECT_TRUE(d->InitDib());
        EXPECT_TRUE(document::CreateLayer(*d, 0, 1));
        for (int i = 0; i < 256; ++i) {
            RgbaEntry e = testEntry(i);
            SetDibPaletteEntry(d->m_hImage, i, e.red, e.green, e.blue, e.alpha);
        }
        MemLockGuard layer(d->m_hLayers[0]);
        uint8_t* p = layer.get() + LAYER_HEADER_SIZE;
        for (size_t i = 0; i < dib::LayerRowBytes(width) * size_t(height); ++i) p[i] = uint8_t(i);
        d->InitDib();
        return d;
    }

    ColorTable Table() const { return ReadColorTable(doc->m_hImage); }
    std::vector<uint8_t> Pixels() const {
        MemLockGuard layer(doc->m_hLayers[0]);
        const size_t n = dib::LayerRowBytes(doc->m_nWidth) * size_t(doc->m_nHeight);
        return std::vector<uint8_t>(layer.get() + LAYER_HEADER_SIZE, layer.get() + LAYER_HEADER_SIZE + n);
    }
    QPoint At(int cell) const { return bar->CellRect(cell).center(); }
    void Click(int cell, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(bar, button, mods, At(cell));
    }
    void Drag(int from, int to) {
        QTest::mousePress(bar, Qt::LeftButton, {}, At(from));
        QTest::mouseMove(bar, At(to));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, At(to));
    }
    // Shift + right drag over the block between two cells.
    void CopyBlock(int from, int to) {
        QTest::mousePress(bar, Qt::RightButton, Qt::ShiftModifier, At(from));
        QTest::mouseMove(bar, At(to));
        QTest::mouseRelease(bar, Qt::RightButton, Qt::ShiftModifier, At(to));
    }
    void Press(int id) { QTest::mouseClick(bar->Control(id), Qt::LeftButton); }

    CColorPaletteBar* bar = nullptr;
    CPelmarkDoc* doc = nullptr;
};

TEST_F(PaletteBarTest, HitTestOverTheGridEdges) {
    struct Case {
        QPoint at;
        int cell;
    } cases[] = {
        {{0, 25}, -1},  {{0, 26}, 0},     {{11, 37}, 0},   {{12, 26}, 1},    {{191, 26}, 15},
        {{192, 26}, -1}, {{0, 217}, 240}, {{191, 217}, 255}, {{0, 218}, -1}, {{-1, 30}, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(bar->HitTest(c.at.x(), c.at.y()), c.cell) << c.at.x() << "," << c.at.y();

    bar->Reposition(12, 12, 100, 16);  // a shorter grid: no cell past the count
    EXPECT_EQ(bar->HitTest(5, 26 + 6 * 12 + 1), 96);
    EXPECT_EQ(bar->HitTest(5 + 4 * 12, 26 + 6 * 12 + 1), -1);
}

TEST_F(PaletteBarTest, RepositionAndResizingSizes) {
    bar->Reposition(12, 12, 256, 16);
    EXPECT_EQ(bar->size(), QSize(191, 266));
    bar->Reposition(12, 12, 256, 256);
    EXPECT_EQ(bar->size(), QSize(3071, 86));
    EXPECT_EQ(bar->HitTest(3070, 30), 255);
    bar->Reposition(12, 12, 256, 16);

    struct Case {
        QSize asked, got;
        int columnWidth, rowHeight;
    } cases[] = {
        {{191 + 16, 266 + 17}, {191 + 16, 266 + 17}, 13, 13},
        {{191 + 40, 266 + 20}, {191 + 40, 266 + 20}, 14, 13},
        {{150, 266}, {191, 266}, 12, 12},  // too small: back to the natural size
        {{191, 200}, {191, 266}, 12, 12},
    };
    for (const Case& c : cases) {
        bar->resize(c.asked);
        EXPECT_EQ(bar->size(), c.got) << c.asked.width() << "x" << c.asked.height();
        EXPECT_EQ(bar->CellRect(1).left(), c.columnWidth);
        EXPECT_EQ(bar->CellRect(16).top(), 26 + c.rowHeight);
        EXPECT_EQ(bar->Control(CColorPaletteBar::kColorTextId)->y(), 244 + c.got.height() - 266);
        EXPECT_EQ(bar->Control(CColorPaletteBar::kEditorId)->x(), 152 + c.got.width() - 191);
    }
}

TEST_F(PaletteBarTest, ClickChoosesTheColourUnlessItsRowIsLocked) {
    Click(37);
    EXPECT_EQ(doc->m_nColor, 37);
    EXPECT_EQ(bar->CurrentIndex(), 37);
    EXPECT_EQ(Frame()->PaneText(1, 0), QStringLiteral("所选色的位置是37到了"));
    const RgbaEntry e = testEntry(37);
    EXPECT_EQ(static_cast<QLabel*>(bar->Control(CColorPaletteBar::kColorTextId))->text(),
              QString::asprintf("色值：037  R:%03d  G:%03d  B:%03d", e.red, e.green, e.blue));

    doc->m_wPaletteLock = 0x0002;  // entries 16 to 31
    Click(20);
    EXPECT_EQ(doc->m_nColor, 37);
    QTest::mouseDClick(bar, Qt::LeftButton, {}, At(20));
    EXPECT_EQ(doc->m_nColor, 37);

    bar->OnPaletteBarUpdate(PALETTEBAR_TONE, 1);  // second-colour mode
    Click(20);
    EXPECT_EQ(doc->m_nColor2, 20);
    EXPECT_EQ(doc->m_nColor, 37);
    EXPECT_FALSE(doc->CanUndo());
}

TEST_F(PaletteBarTest, DragExchangesEntriesWithAndWithoutThePixels) {
    struct Case {
        int button;
        const char* label;
        bool pixelsFollow;
    } cases[] = {{CColorPaletteBar::kDragExchangeId, "色置换", false},
                 {CColorPaletteBar::kDragMoveId, "色移动", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const ColorTable before = Table();
        const std::vector<uint8_t> pixels = Pixels();
        Press(c.button);
        ASSERT_TRUE(bar->DragModeOn());
        EXPECT_EQ(static_cast<PictureButton*>(bar->Control(c.button))->Shown(), PictureButton::kDown);
        Drag(5, 9);
        ColorTable expected = before;
        std::swap(expected[5], expected[9]);
        for (int i = 0; i < 256; ++i) EXPECT_TRUE(sameEntry(Table()[size_t(i)], expected[size_t(i)])) << i;
        std::vector<uint8_t> expectedPixels = pixels;
        if (c.pixelsFollow)
            for (uint8_t& p : expectedPixels) p = p == 5 ? 9 : p == 9 ? 5 : p;
        EXPECT_EQ(Pixels(), expectedPixels);
        EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, c.label);
        EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].actionId, 700);
        EXPECT_TRUE(doc->IsModified());

        const int steps = doc->m_nUndoIndex;
        Drag(9, 9);  // dropped where it started: nothing changes, no step
        EXPECT_EQ(doc->m_nUndoIndex, steps);

        doc->OnEditUndo();
        for (int i = 0; i < 256; ++i) EXPECT_TRUE(sameEntry(Table()[size_t(i)], before[size_t(i)])) << i;
        EXPECT_EQ(Pixels(), pixels);
        Press(c.button);
        EXPECT_FALSE(bar->DragModeOn());
    }
}

TEST_F(PaletteBarTest, TheOtherDragButtonWaitsWhileOneHoldsTheMode) {
    Press(CColorPaletteBar::kDragExchangeId);
    Press(CColorPaletteBar::kDragMoveId);
    EXPECT_TRUE(bar->DragModeOn());
    EXPECT_FALSE(bar->RemapPixels());
    EXPECT_EQ(static_cast<PictureButton*>(bar->Control(CColorPaletteBar::kDragMoveId))->Shown(),
              PictureButton::kUp);
    Press(CColorPaletteBar::kDragExchangeId);
    Press(CColorPaletteBar::kDragMoveId);
    EXPECT_TRUE(bar->DragModeOn());
    EXPECT_TRUE(bar->RemapPixels());
}

TEST_F(PaletteBarTest, CopiedBlockPastesClippedAtTheLastColumn) {
    struct Case {
        const char* name;
        Qt::Key key;  // held while pasting, 0 for none
        bool alpha, rgb;
    } cases[] = {{"all", Qt::Key(0), true, true},
                 {"A", Qt::Key_A, true, false},
                 {"C", Qt::Key_C, false, true}};
    CopyBlock(0, 34);  // rows 0-2, columns 0-2
    const SwatchCopyBuffer& copy = bar->CopyBuffer();
    ASSERT_EQ(copy.right, 3);
    ASSERT_EQ(copy.bottom, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ColorTable before = Table();
        if (c.key) QTest::keyPress(bar, c.key);
        Click(15, Qt::RightButton);  // the last column of row 0
        if (c.key) QTest::keyRelease(bar, c.key);
        ColorTable expected = before;
        for (int r = 0; r < 3; ++r) {
            RgbaEntry& to = expected[size_t(15 + 16 * r)];
            const RgbaEntry from = before[size_t(16 * r)];
            if (c.alpha) to.alpha = from.alpha;
            if (c.rgb) to.red = from.red, to.green = from.green, to.blue = from.blue;
        }
        for (int i = 0; i < 256; ++i) EXPECT_TRUE(sameEntry(Table()[size_t(i)], expected[size_t(i)])) << i;
        EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "颜色复制");
        doc->OnEditUndo();
        for (int i = 0; i < 256; ++i) EXPECT_TRUE(sameEntry(Table()[size_t(i)], before[size_t(i)])) << i;
    }
    // Locked rows take a paste all the same.
    doc->m_wPaletteLock = 0xFFFF;
    Click(100, Qt::RightButton);
    EXPECT_TRUE(sameEntry(Table()[100], testEntry(0)));
}

TEST_F(PaletteBarTest, PasteWithNothingCopiedOpensNoStep) {
    Click(40, Qt::RightButton);
    EXPECT_FALSE(doc->CanUndo());
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(PaletteBarTest, DoubleClickEditsTheEntryAsOneStep) {
    int asked = 0;
    bool answer = false;
    bar->GetServices().editColor = [&](RgbaEntry& e) {
        ++asked;
        EXPECT_TRUE(sameEntry(e, testEntry(50)));
        e = {1, 2, 3, 4};
        return answer;
    };
    QTest::mouseDClick(bar, Qt::LeftButton, {}, At(50));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(sameEntry(Table()[50], testEntry(50)));
    EXPECT_FALSE(doc->CanUndo());
    EXPECT_EQ(doc->m_nColor, 50);

    answer = true;
    QTest::mouseDClick(bar, Qt::LeftButton, {}, At(50));
    EXPECT_TRUE(sameEntry(Table()[50], RgbaEntry{1, 2, 3, 4}));
    EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "改变颜色");
    doc->OnEditUndo();
    EXPECT_TRUE(sameEntry(Table()[50], testEntry(50)));
}

TEST_F(PaletteBarTest, DoubleClickAsksTheProgramsColourChooser) {
    std::vector<int> given;
    ColorChooser previous = SetColorChooser([&](QWidget*, ChosenColor& color) {
        given = {color.red, color.green, color.blue, color.alpha};
        color = {9, 8, 7, 6};
        return true;
    });
    QTest::mouseDClick(bar, Qt::LeftButton, {}, At(50));
    SetColorChooser(previous);
    const RgbaEntry e = testEntry(50);
    EXPECT_EQ(given, std::vector<int>({e.red, e.green, e.blue, e.alpha}));
    EXPECT_TRUE(sameEntry(Table()[50], RgbaEntry{9, 8, 7, 6}));
    EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "改变颜色");
}

TEST_F(PaletteBarTest, UpdateCodesSwitchTheDisplayMode) {
    struct Case {
        const char* name;
        int tone, colorMode, startMode, code, flag;
        int mode, columns;
    } cases[] = {
        {"256 colours", 1, 0, CColorPaletteBar::k256Colors, 1, 0, CColorPaletteBar::k256Colors, 16},
        {"16-colour document", 1, 1, CColorPaletteBar::k256Colors, 1, 0, CColorPaletteBar::k16Colors, 16},
        {"tone flag clear", 0, 0, CColorPaletteBar::k256Colors, 1, 0, CColorPaletteBar::kSecondColor, 16},
        {"back from second colour", 1, 0, CColorPaletteBar::kSecondColor, 3, 0, CColorPaletteBar::k256Colors, 16},
        {"back from 16 colours", 1, 0, CColorPaletteBar::k16Colors, 3, 0, CColorPaletteBar::k256Colors, 16},
        {"tone switched off", 0, 0, CColorPaletteBar::k256Colors, 2, 1, CColorPaletteBar::kSecondColor, 256},
        {"tone switched on", 1, 1, CColorPaletteBar::kSecondColor, 2, 0, CColorPaletteBar::k16Colors, 16},
        {"unknown code", 0, 0, CColorPaletteBar::k256Colors, 4, 0, CColorPaletteBar::k256Colors, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The starting mode.
        doc->m_bTone = 1;
        doc->m_nColorMode = c.startMode == CColorPaletteBar::k16Colors ? 1 : 0;
        bar->OnPaletteBarUpdate(PALETTEBAR_TONE, c.startMode == CColorPaletteBar::kSecondColor);
        ASSERT_EQ(bar->DisplayMode(), c.startMode);

        doc->m_bTone = c.tone;
        doc->m_nColorMode = c.colorMode;
        bar->OnPaletteBarUpdate(c.code, c.flag);
        EXPECT_EQ(bar->DisplayMode(), c.mode);
        EXPECT_EQ(bar->Columns(), c.columns);
    }
    doc->m_nColor = 77;
    Frame()->SendWindowMessage(WM_PALETTEBAR_UPDATE, PALETTEBAR_CURRENT_COLOR, 0);
    EXPECT_EQ(bar->CurrentIndex(), 77);
    doc->m_bTone = 1;
    Frame()->SendWindowMessage(WM_PALETTEBAR_UPDATE, PALETTEBAR_TONE, 1);
    EXPECT_EQ(bar->DisplayMode(), CColorPaletteBar::kSecondColor);
}

TEST_F(PaletteBarTest, SwatchPixelsAreThePalette) {
    doc->m_nColor = 3;
    doc->m_wPaletteLock = 0x8000;  // the last row is crossed
    for (bool alpha : {false, true}) {
        SCOPED_TRACE(alpha ? "alpha shown" : "colours");
        if (alpha) Press(CColorPaletteBar::kShowAlphaId);
        EXPECT_EQ(static_cast<QCheckBox*>(bar->Control(CColorPaletteBar::kShowAlphaId))->isChecked(), alpha);
        const QImage shot = bar->grab().toImage();
        const ColorTable table = Table();
        for (int i = 0; i < 240; ++i) {
            const QRect r = bar->CellRect(i);
            const RgbaEntry& e = table[size_t(i)];
            EXPECT_EQ(shot.pixel(r.left() + 2, r.top() + 2), qRgb(e.red, e.green, e.blue)) << i;
            EXPECT_EQ(shot.pixel(r.left() + 9, r.top() + 1), qRgb(e.red, e.green, e.blue)) << i;
            if (alpha) {
                EXPECT_EQ(shot.pixel(r.left() + 3, r.bottom() - 1), qRgb(e.alpha, e.alpha, e.alpha)) << i;
            }
            EXPECT_EQ(shot.pixel(r.topLeft()), i == 3 ? qRgb(255, 255, 255) : qRgb(0, 0, 0)) << i;
        }
        const QRect locked = bar->CellRect(250);
        EXPECT_EQ(shot.pixel(locked.left() + 5, locked.top() + 5), qRgb(0, 0, 0));
    }
}

TEST_F(PaletteBarTest, UsedColoursAreExactAndScannedOnlyAfterAChange) {
    bar->grab();
    const int scans = bar->UsedColorScans();
    EXPECT_EQ(bar->UsedColors().count, 32);  // pixels 0..31
    EXPECT_EQ(bar->UsedColors().flags[31], 1);
    EXPECT_EQ(bar->UsedColors().flags[32], 0);
    bar->grab();
    bar->repaint();
    EXPECT_EQ(bar->UsedColorScans(), scans);

    {
        MemLockGuard layer(doc->m_hLayers[0]);
        layer.get()[LAYER_HEADER_SIZE] = 200;
    }
    doc->SetModified(true);
    bar->grab();
    EXPECT_EQ(bar->UsedColorScans(), scans + 1);
    EXPECT_EQ(bar->UsedColors().flags[200], 1);
    EXPECT_EQ(bar->UsedColors().flags[0], 0);
}

TEST_F(PaletteBarTest, CommandButtonsRunTheirServicesUnlessLocked) {
    std::vector<std::string> ran;
    CColorPaletteBar::Services& s = bar->GetServices();
    s.deleteUnusedColors = [&] { ran.push_back("unused"); };
    s.reduceColors = [&](int used) { ran.push_back("reduce " + std::to_string(used)); };
    s.showGradient = [&] { ran.push_back("gradient"); };
    s.paletteEditor = [&] { ran.push_back("editor"); };
    for (int id : {CColorPaletteBar::kDeleteUnusedId, CColorPaletteBar::kReduceId,
                   CColorPaletteBar::kGradientId, CColorPaletteBar::kEditorId})
        Press(id);
    EXPECT_EQ(ran, (std::vector<std::string>{"unused", "reduce 32", "gradient", "editor"}));

    Frame()->LockPaletteCommand();
    bar->OnPaletteBarUpdate(PALETTEBAR_REFRESH, 0);
    for (int id : {CColorPaletteBar::kDeleteUnusedId, CColorPaletteBar::kDragExchangeId,
                   CColorPaletteBar::kDragMoveId, CColorPaletteBar::kReduceId,
                   CColorPaletteBar::kGradientId, CColorPaletteBar::kEditorId}) {
        EXPECT_FALSE(bar->Control(id)->isEnabled()) << id;
        Press(id);
    }
    EXPECT_EQ(ran.size(), 4u);
    EXPECT_FALSE(bar->DragModeOn());
    EXPECT_EQ(static_cast<PictureButton*>(bar->Control(CColorPaletteBar::kReduceId))->Shown(),
              PictureButton::kDisabled);
    Frame()->ClearCommandLocks();
    bar->OnPaletteBarUpdate(PALETTEBAR_REFRESH, 0);
    EXPECT_TRUE(bar->Control(CColorPaletteBar::kReduceId)->isEnabled());
}

TEST_F(PaletteBarTest, FollowsTheActiveDocument) {
    CPelmarkDoc* second = MakeDocument(4, 4);
    ASSERT_TRUE(second);
    SetDibPaletteEntry(second->m_hImage, 0, 9, 8, 7, 6);
    Frame()->MDIActivate(second->GetFrames().front());
    QImage shot = bar->grab().toImage();
    EXPECT_EQ(shot.pixel(bar->CellRect(0).center()), qRgb(9, 8, 7));
    Frame()->MDIActivate(doc->GetFrames().front());
    shot = bar->grab().toImage();
    const RgbaEntry e = testEntry(0);
    EXPECT_EQ(shot.pixel(bar->CellRect(0).left() + 2, bar->CellRect(0).top() + 2), qRgb(e.red, e.green, e.blue));
}

}  // namespace
}  // namespace frametest

namespace frametest {
namespace {

// The close box hides the bar for good: a document switch does not bring
// it back, and the display settings keep it closed.
TEST_F(PaletteBarTest, StaysClosedAfterItsCloseBox) {
    ASSERT_TRUE(bar->isVisible());
    ASSERT_TRUE(bar->close() || bar->isHidden());
    EXPECT_TRUE(bar->isHidden());
    Frame()->HideDocumentWindows();
    Frame()->ShowDocumentWindows();
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(Frame()->QueryCommandState(CMainFrame::kColorPaletteId).IsChecked(), std::optional<bool>(false));
    ASSERT_TRUE(Frame()->SendCommand(CMainFrame::kSaveDisplaySettingsId));
    EXPECT_EQ(Ini("Settings", "DispColorPalette"), "0");
    // Its command shows it again.
    ASSERT_TRUE(Frame()->SendCommand(CMainFrame::kColorPaletteId));
    EXPECT_TRUE(bar->isVisible());
}

}  // namespace
}  // namespace frametest
