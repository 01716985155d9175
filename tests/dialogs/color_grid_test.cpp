// The colour grids and the dialogs made of them, on a small document.
#include <gtest/gtest.h>

#include <memory>

#include <QImage>
#include <QLabel>
#include <QTest>

#include "dialogs/color_grid.h"
#include "dialogs/color_map_dlg.h"
#include "dialogs/flag_color_dlgs.h"
#include "document/pelmark_doc.h"
#include "document/working_palette.h"
#include "imaging/dib.h"
#include "imaging/dib_access.h"

namespace {

using framework::Dialog;
using framework::IDOK;

// Entry i is (i, 255 - i, i / 2, 200): red and blue always differ.
std::unique_ptr<CPelmarkDoc> MakeDoc() {
    auto doc = std::make_unique<CPelmarkDoc>();
    doc->m_hImage = CreateDib8(4, 4, 0);
    doc->m_nWidth = 4;
    doc->m_nHeight = 4;
    for (int i = 0; i < 256; ++i) SetDibPaletteEntry(doc->m_hImage, i, uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 200);
    return doc;
}

RgbaEntry Entry(const CPelmarkDoc& doc, int i) {
    RgbaEntry e;
    GetDibPaletteEntry(doc.m_hImage, i, &e.red, &e.green, &e.blue, &e.alpha);
    return e;
}

QPoint CellCentre(int cell) { return CColorGrid::CellRect(cell).center(); }

void Click(QWidget* grid, int cell, Qt::MouseButton button = Qt::LeftButton,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(grid, button, modifiers, CellCentre(cell));
}

// A press, moves over `path` and the release at its end.
void Drag(QWidget* grid, const std::vector<QPoint>& path, Qt::MouseButton button = Qt::LeftButton,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mousePress(grid, button, modifiers, path.front());
    for (size_t i = 1; i < path.size(); ++i) QTest::mouseMove(grid, path[i]);
    QTest::mouseRelease(grid, button, modifiers, path.back());
}

TEST(ColorGrid, PointsMapToCells) {
    const std::pair<QPoint, int> cases[] = {
        {{0, 0}, 0},     {{14, 14}, 0},   {{15, 0}, 1},    {{0, 15}, 16},  {{239, 239}, 255},
        {{240, 0}, -1},  {{0, 240}, -1},  {{-3, 5}, -1},   {{5, -1}, -1},  {{-14, -14}, -1},
    };
    for (const auto& [point, cell] : cases) EXPECT_EQ(CColorGrid::CellAt(point), cell) << point.x() << "," << point.y();
    EXPECT_EQ(CColorGrid::CellRect(17), QRect(15, 15, 16, 16));
    EXPECT_EQ(CColorGrid::kSize, 241);
}

TEST(ColorGrid, CellsShowTheEntriesInsideTwoFrames) {
    auto doc = MakeDoc();
    CFlagGrid grid;
    grid.SetDocument(doc.get());
    QImage shot = grid.grab().toImage();
    const QRect r = CColorGrid::CellRect(40);
    EXPECT_EQ(QColor(shot.pixel(r.center())), QColor(40, 215, 20));
    EXPECT_EQ(QColor(shot.pixel(r.left() + 2, r.top() + 2)), QColor(40, 215, 20));
    EXPECT_EQ(QColor(shot.pixel(r.left() + 1, r.top() + 5)), QColor(Qt::black));
    EXPECT_EQ(QColor(shot.pixel(r.left(), r.top() + 5)), QColor(192, 192, 192));
    EXPECT_EQ(QColor(shot.pixel(r.right(), r.top() + 5)), QColor(192, 192, 192));
    grid.SetDocument(nullptr);
    shot = grid.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(r.center())), QColor(Qt::black));
}

TEST(FlagGrid, ADragSetsEveryEnabledCellPassed) {
    CFlagGrid grid;
    grid.Enabled()[2] = 0;
    grid.Flags()[4] = 1;
    // From cell 1 (flipped on) over 2, 3, outside on the left and 4, 5.
    Drag(&grid, {CellCentre(1), CellCentre(2), CellCentre(3), {-3, 5}, CellCentre(4), CellCentre(5)});
    const int expected[] = {0, 1, 0, 1, 1, 1, 0};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(grid.Flags()[size_t(i)], expected[i]) << i;
    // Pressing a set cell clears it, and the drag clears too.
    Drag(&grid, {CellCentre(3), CellCentre(4)});
    EXPECT_EQ(grid.Flags()[3], 0);
    EXPECT_EQ(grid.Flags()[4], 0);
    // A press outside or on a disabled cell does nothing.
    Drag(&grid, {{-3, 5}, CellCentre(0)});
    Drag(&grid, {CellCentre(2), CellCentre(6)});
    EXPECT_EQ(grid.Flags()[0], 0);
    EXPECT_EQ(grid.Flags()[6], 0);
}

class GridDialogTest : public ::testing::Test {
protected:
    template <class Dlg>
    int Run(Dlg& dlg, const std::function<void(Dlg&)>& body) {
        framework::ScopedModalDriver driver([&](Dialog& d) { body(static_cast<Dlg&>(d)); });
        return dlg.DoModal();
    }
    std::unique_ptr<CPelmarkDoc> doc = MakeDoc();
};

TEST_F(GridDialogTest, TheColourMapSkipsLockedRows) {
    doc->m_wPaletteLock = 0xFFF3;  // rows 2 and 3 open
    CColorMapDlg dlg(doc.get());
    const int result = Run<CColorMapDlg>(dlg, [&](CColorMapDlg& d) {
        QWidget* pick = d.GetDlgItem(CColorMapDlg::kPickGridId);
        QWidget* map = d.GetDlgItem(CColorMapDlg::kMapGridId);
        // Before any pick: the first open entry.
        EXPECT_EQ(d.PickedIndex(), 32);
        EXPECT_EQ(d.GetDlgItemText(CColorMapDlg::kIndexTextId), "032 号");
        Click(map, 33);
        // Locked rows change nothing in either grid.
        Click(pick, 5);
        Click(map, 6);
        Click(map, 70);
        EXPECT_EQ(d.PickedIndex(), 32);
        Click(pick, 40);
        EXPECT_EQ(d.PickedIndex(), 40);
        EXPECT_EQ(d.GetDlgItemText(CColorMapDlg::kIndexTextId), "040 号");
        EXPECT_EQ(d.GetDlgItemText(CColorMapDlg::kColorTextId), "R:040 G:215 B:020");
        Drag(map, {CellCentre(50), CellCentre(51), CellCentre(52)});
        d.ClickButton(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    for (int i = 0; i < 256; ++i) {
        const int expected = i == 33 ? 32 : (i >= 50 && i <= 52) ? 40 : i;
        EXPECT_EQ(dlg.map[size_t(i)], expected) << i;
    }
}

TEST_F(GridDialogTest, UnusedColoursChangeOnlyUnusedEntries) {
    CUnusedColorDlg dlg(doc.get());
    for (int i = 0; i < 256; ++i) dlg.enabled[size_t(i)] = i % 3 == 0;  // the image uses the others
    dlg.flags[3] = 1;
    Run<CUnusedColorDlg>(dlg, [&](CUnusedColorDlg& d) {
        d.ClickButton(CUnusedColorDlg::kInvertId);
        Click(d.GetDlgItem(CUnusedColorDlg::kGridId), 4);  // used: no change
        d.ClickButton(IDOK);
    });
    for (int i = 0; i < 256; ++i) EXPECT_EQ(dlg.flags[size_t(i)], i % 3 == 0 && i != 3) << i;
    Run<CUnusedColorDlg>(dlg, [&](CUnusedColorDlg& d) {
        d.ClickButton(CUnusedColorDlg::kSelectAllId);
        d.ClickButton(IDOK);
    });
    for (int i = 0; i < 256; ++i) EXPECT_EQ(dlg.flags[size_t(i)], i % 3 == 0) << i;
    Run<CUnusedColorDlg>(dlg, [&](CUnusedColorDlg& d) {
        d.ClickButton(CUnusedColorDlg::kSelectNoneId);
        d.ClickButton(IDOK);
    });
    for (int i = 0; i < 256; ++i) EXPECT_EQ(dlg.flags[size_t(i)], 0) << i;
}

TEST_F(GridDialogTest, MaskButtonsChangeAllFlagsAndTheMouseOnlyEnabledOnes) {
    CMaskColorDlg dlg(doc.get());
    dlg.pasteEnabled.fill(0);
    dlg.copyFlags[7] = 1;
    Run<CMaskColorDlg>(dlg, [&](CMaskColorDlg& d) {
        d.ClickButton(CMaskColorDlg::kPasteAllId);
        Click(d.GetDlgItem(CMaskColorDlg::kPasteGridId), 9);  // disabled: stays set
        d.ClickButton(CMaskColorDlg::kCopyInvertId);
        Click(d.GetDlgItem(CMaskColorDlg::kCopyGridId), 9);
        d.ClickButton(IDOK);
    });
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(dlg.pasteFlags[size_t(i)], 1) << i;
        EXPECT_EQ(dlg.copyFlags[size_t(i)], i != 7 && i != 9) << i;
    }
    CMaskColorDlg cancelled(doc.get());
    cancelled.copyFlags[1] = 1;
    Run<CMaskColorDlg>(cancelled, [&](CMaskColorDlg& d) { d.ClickButton(CMaskColorDlg::kCopyNoneId); });
    EXPECT_EQ(cancelled.copyFlags[1], 1);
}

// A palette editor that says whether its swap mode is on.
class SwapHost : public PaletteGridHost {
public:
    bool swap = true;
    bool SwapMode() const override { return swap; }
};

class PaletteGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        CPaletteGrid::CopyBuffer() = {};
        ClearWorkingPalette();
        documentGrid.SetDocument(doc.get());
        documentGrid.SetHost(&host);
        workingGrid.SetDocument(doc.get());
        workingGrid.SetWorkingCopy(true);
        workingGrid.SetHost(&host);
    }
    std::unique_ptr<CPelmarkDoc> doc = MakeDoc();
    SwapHost host;
    CPaletteGrid documentGrid;
    CPaletteGrid workingGrid;
};

TEST_F(PaletteGridTest, ADragSwapsTwoEntriesInSwapMode) {
    Drag(&documentGrid, {CellCentre(5), CellCentre(7), CellCentre(9)});
    EXPECT_EQ(documentGrid.SelectedCell(), 5);
    EXPECT_EQ(documentGrid.TargetCell(), 9);
    EXPECT_EQ(doc->m_nColor, 5);
    EXPECT_EQ(Entry(*doc, 5).red, 9);
    EXPECT_EQ(Entry(*doc, 9).red, 5);
    EXPECT_EQ(Entry(*doc, 9).blue, 2);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(PaletteGridTest, AReleaseOnThePressedCellExchangesNothing) {
    Drag(&documentGrid, {CellCentre(5), CellCentre(5)});
    EXPECT_EQ(Entry(*doc, 5).red, 5);
    EXPECT_FALSE(doc->IsModified());
    host.swap = false;
    Drag(&documentGrid, {CellCentre(5), CellCentre(9)});
    EXPECT_EQ(Entry(*doc, 5).red, 5);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(PaletteGridTest, ABlockCopiedFromTheDocumentPastesIntoTheWorkingPaletteClipped) {
    // Rows 0..3, columns 0..3 of the document's palette.
    Drag(&documentGrid, {CellCentre(0), CellCentre(17), CellCentre(51)}, Qt::RightButton, Qt::ShiftModifier);
    const SwatchCopyBuffer& copy = CPaletteGrid::CopyBuffer();
    ASSERT_FALSE(copy.Empty());
    EXPECT_EQ(copy.Width(), 4);
    Click(&workingGrid, 14, Qt::RightButton);
    const WorkingPalette& working = GetWorkingPalette();
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 16; ++column) {
            const WorkingPaletteEntry& e = working[size_t(row * 16 + column)];
            if (column >= 14) {
                const RgbaEntry from = Entry(*doc, row * 16 + column - 14);
                EXPECT_EQ(e.red, from.red) << row << "," << column;
                EXPECT_EQ(e.green, from.green);
                EXPECT_EQ(e.blue, from.blue);
                EXPECT_EQ(e.alpha, from.alpha);
            } else {
                EXPECT_EQ(e.red | e.green | e.blue | e.alpha, 0) << row << "," << column;
            }
        }
    // Pasting into the document writes there.
    Click(&documentGrid, 254, Qt::RightButton);
    EXPECT_EQ(Entry(*doc, 254).red, 0);
    EXPECT_EQ(Entry(*doc, 255).red, 1);
    EXPECT_EQ(Entry(*doc, 253).red, 253);
}

}  // namespace
