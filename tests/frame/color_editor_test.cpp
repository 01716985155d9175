// The frame's colour editor: the colour palette bar's double click and the
// tool palette's background swatch run the real colour edit dialog, which
// shows the frame's colour dictionary.
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include "dialogs/color_edit_dlg.h"
#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "frame_fixture.h"
#include "imaging/dib.h"
#include "imaging/dib_access.h"
#include "palettes/color_palette_bar.h"
#include "palettes/tool_palette.h"

namespace frametest {
namespace {

using framework::Dialog;

class ColorEditorTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        CColorEditDlg::SetMode(CColorEditDlg::kRgbMode);
        ASSERT_TRUE(Start("灰,128,128,128,255\r\n\x1a"));
        bar = Frame()->ColorPalette();
        bar->show();
        doc = NewDocument();
        ASSERT_TRUE(doc);
        doc->m_hImage = CreateDib8(8, 4, 0);
        ASSERT_TRUE(doc->InitDib());
        ASSERT_TRUE(document::CreateLayer(*doc, 0, 1));
        for (int i = 0; i < 256; ++i) SetDibPaletteEntry(doc->m_hImage, i, uint8_t(i), 10, 20, 30);
        bar->OnPaletteBarUpdate(PALETTEBAR_DOCUMENT, 0);
    }
    // Every colour edit dialog sets red to 99 and ends with `result`.
    void Answer(int result) {
        driver.reset();
        driver = std::make_unique<framework::ScopedModalDriver>([this, result](Dialog& d) {
            ASSERT_EQ(d.TemplateId(), CColorEditDlg::kTemplateId);
            ++dialogs;
            d.Item<QScrollBar>(CColorEditDlg::kBarIds[0])->setValue(99);
            d.ClickButton(result);
        });
    }
    RgbaEntry Entry(int i) const {
        RgbaEntry e;
        GetDibPaletteEntry(doc->m_hImage, i, &e.red, &e.green, &e.blue, &e.alpha);
        return e;
    }

    CColorPaletteBar* bar = nullptr;
    CPelmarkDoc* doc = nullptr;
    std::unique_ptr<framework::ScopedModalDriver> driver;
    int dialogs = 0;
};

TEST_F(ColorEditorTest, TheColourBarsDoubleClickIsOneStepWithOk) {
    Answer(framework::IDCANCEL);
    QTest::mouseDClick(bar, Qt::LeftButton, {}, bar->CellRect(50).center());
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(Entry(50).red, 50);
    EXPECT_FALSE(doc->CanUndo());
    Answer(framework::IDOK);
    QTest::mouseDClick(bar, Qt::LeftButton, {}, bar->CellRect(50).center());
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(Entry(50).red, 99);
    EXPECT_EQ(Entry(50).alpha, 30);
    EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "改变颜色");
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_TRUE(Frame()->isEnabled());
}

TEST_F(ColorEditorTest, TheToolPalettesBackgroundRunsTheSameDialog) {
    CToolPalette* palette = Frame()->ToolPalette();
    palette->show();
    const QPoint swatch(60, 160);
    Answer(framework::IDCANCEL);
    QTest::mouseClick(palette->Client(), Qt::LeftButton, {}, swatch);
    QTest::mouseClick(palette->Client(), Qt::LeftButton, {}, swatch);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(doc->m_nUndoIndex, -1);
    palette->RunTimerSteps();
    Answer(framework::IDOK);
    QTest::mouseClick(palette->Client(), Qt::LeftButton, {}, swatch);
    QTest::mouseClick(palette->Client(), Qt::LeftButton, {}, swatch);
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_EQ(Entry(0).red, 99);
}

TEST_F(ColorEditorTest, TheDialogShowsTheFramesDictionary) {
    framework::ScopedModalDriver answer([&](Dialog& d) {
        if (d.TemplateId() == CColorNameDlg::kTemplateId) {
            d.SetDlgItemText(CColorNameDlg::kNameId, "红");
            d.ClickButton(framework::IDOK);
            return;
        }
        auto* list = d.Item<QListWidget>(CColorEditDlg::kDictionaryListId);
        ASSERT_EQ(list->count(), 1);
        EXPECT_EQ(list->item(0)->text(), "灰");
        d.ClickButton(CColorEditDlg::kDictionaryCheckId);
        EXPECT_EQ(bar->DictionaryMode(), 1);
        d.ClickButton(CColorEditDlg::kAddEntryId);
        EXPECT_EQ(list->count(), 2);
        d.ClickButton(framework::IDCANCEL);
    });
    ChosenColor color{200, 0, 0, 255};
    EXPECT_FALSE(ChooseColor(Frame(), color));
    EXPECT_TRUE(Frame()->ColorDic().IsModified());
    ASSERT_EQ(Frame()->ColorDic().Entries().size(), 2u);
    EXPECT_EQ(Frame()->ColorDic().Entries()[1].red, 200);
}

}  // namespace
}  // namespace frametest
