// The gradient dialog in the running frame: the ramps it writes, the
// refused runs that change nothing, its values at each showing, the swatches,
// and the main window it disables and enables.
#include <QTest>

#include "dialogs/color_choice.h"
#include "dialogs/gradient_dlg.h"
#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "frame_fixture.h"
#include "imaging/dib.h"
#include "imaging/dib_access.h"
#include "imaging/rgba_entry.h"
#include "palettes/color_palette_bar.h"

namespace frametest {
namespace {

class GradientDlgTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(Start());
        doc = NewDocument();
        ASSERT_TRUE(doc);
        doc->m_hImage = CreateDib8(8, 4, 0);
        ASSERT_TRUE(doc->InitDib());
        ASSERT_TRUE(document::CreateLayer(*doc, 0, 1));
        // Every entry's alpha marks it, so a write that loses it shows.
        for (int i = 0; i < 256; ++i) SetDibPaletteEntry(doc->m_hImage, i, 50, 60, 70, uint8_t(i ^ 0x5a));
        doc->SetModifiedFlag(false);
        dlg = Frame()->GradientDialog();
        ASSERT_TRUE(dlg);
    }
    void TearDown() override {
        SetColorChooser({});
        FrameTest::TearDown();
    }
    RgbaEntry Entry(int i) const {
        RgbaEntry e;
        GetDibPaletteEntry(doc->m_hImage, i, &e.red, &e.green, &e.blue, &e.alpha);
        return e;
    }
    // Red, green, blue, alpha of every entry.
    std::vector<std::array<int, 4>> Palette() const {
        std::vector<std::array<int, 4>> all;
        for (int i = 0; i < 256; ++i) {
            const RgbaEntry e = Entry(i);
            all.push_back({e.red, e.green, e.blue, e.alpha});
        }
        return all;
    }
    // The swatch takes palette entry `index` as the current colour.
    void TakeColor(int swatch, int index, int r, int g, int b) {
        SetDibPaletteEntry(doc->m_hImage, index, uint8_t(r), uint8_t(g), uint8_t(b), Entry(index).alpha);
        doc->m_nColor = index;
        dlg->ClickButton(swatch);
    }
    // A 16-colour document has entries 16 to 255 all zero.
    void UseMode(int mode) {
        doc->m_nColorMode = mode;
        if (mode == 1)
            for (int i = 16; i < 256; ++i) SetDibPaletteEntry(doc->m_hImage, i, 0, 0, 0, 0);
    }
    void Run(int start, int count) {
        dlg->SetDlgItemInt(CGradientDlg::kStartId, start);
        dlg->SetDlgItemInt(CGradientDlg::kCountId, count);
        dlg->ClickButton(framework::IDOK);
    }

    CPelmarkDoc* doc = nullptr;
    CGradientDlg* dlg = nullptr;
};

TEST_F(GradientDlgTest, OkWritesTheRampKeepingAlpha) {
    struct Case {
        int mode, start, count;
        std::array<int, 3> from, to;
        std::vector<std::array<int, 3>> written;  // entries start, start + 1, ...
    };
    const Case cases[] = {
        {0, 10, 4, {0, 0, 0}, {255, 255, 255}, {{0, 0, 0}, {85, 85, 85}, {170, 170, 170}, {255, 255, 255}}},
        // The division truncates toward zero both ways.
        {0, 20, 3, {0, 255, 7}, {255, 0, 7}, {{0, 255, 7}, {127, 128, 7}, {255, 0, 7}}},
        {0, 30, 1, {9, 8, 7}, {1, 2, 3}, {{9, 8, 7}}},
        {1, 12, 4, {0, 0, 0}, {255, 255, 255}, {{0, 0, 0}, {85, 85, 85}, {170, 170, 170}, {255, 255, 255}}},
        {0, 253, 3, {30, 60, 90}, {0, 0, 0}, {{30, 60, 90}, {15, 30, 45}, {0, 0, 0}}},
    };
    for (const Case& c : cases) {
        UseMode(c.mode);
        Frame()->ShowGradientDialog(doc);
        ASSERT_TRUE(dlg->isVisible());
        EXPECT_FALSE(Frame()->isEnabled());
        TakeColor(CGradientDlg::kStartColorId, 5, c.from[0], c.from[1], c.from[2]);
        TakeColor(CGradientDlg::kEndColorId, 6, c.to[0], c.to[1], c.to[2]);
        std::vector<std::array<int, 4>> want = Palette();
        const std::vector<std::array<int, 4>> before = want;
        for (int step = 0; step < c.count; ++step) {
            std::array<int, 4>& e = want[size_t(c.start + step)];
            const auto& rgb = c.written[size_t(step)];
            e = {rgb[0], rgb[1], rgb[2], e[3]};
        }
        Run(c.start, c.count);
        EXPECT_FALSE(dlg->isVisible()) << c.start;
        EXPECT_TRUE(Frame()->isEnabled()) << c.start;
        EXPECT_TRUE(doc->IsModified());
        ASSERT_TRUE(doc->CanUndo());
        EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "生成渐变颜色");
        EXPECT_EQ(Palette(), want) << "start " << c.start;
        // Undo gives the entries back.
        doc->OnEditUndo();
        EXPECT_EQ(Palette(), before) << "start " << c.start;
    }
}

TEST_F(GradientDlgTest, ARefusedRunChangesNothingAndKeepsTheDialog) {
    struct Case {
        int mode, start, count;
        const char* message;
    };
    const Case cases[] = {
        {0, 0, 0, "指定渐变值不正确"},
        {0, 0, 257, "指定渐变值不正确"},
        {0, 256, 1, "指定生成位置不正确"},
        {0, -1, 1, "指定生成位置不正确"},
        {0, 250, 8, "指定生成位置、不能生成此数值的渐变。"},
        {1, 0, 17, "指定渐变值不正确"},
        {1, 16, 1, "指定生成位置不正确"},
        {1, 12, 8, "指定生成位置、不能生成此数值的渐变。"},
    };
    for (const Case& c : cases) {
        UseMode(c.mode);
        Frame()->ShowGradientDialog(doc);
        TakeColor(CGradientDlg::kEndColorId, 3, 255, 255, 255);
        const std::vector<std::array<int, 4>> before = Palette();
        boxes.Clear();
        Run(c.start, c.count);
        ASSERT_EQ(BoxTexts(), std::vector<std::string>{c.message}) << c.start << " " << c.count;
        EXPECT_EQ(boxes.Requests().front().owner, dlg->WindowHandle());
        EXPECT_EQ(Palette(), before);
        EXPECT_FALSE(doc->CanUndo());
        EXPECT_FALSE(doc->IsModified());
        EXPECT_FALSE(Frame()->isEnabled());
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_TRUE(dlg->isEnabled());
        dlg->ClickButton(framework::IDCANCEL);
    }
    // The same dialog then takes a run that fits.
    Frame()->ShowGradientDialog(doc);
    Run(12, 8);
    Run(2, 3);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(Frame()->isEnabled());
    EXPECT_TRUE(doc->CanUndo());
    EXPECT_EQ(doc->m_nUndoIndex, 0);
}

TEST_F(GradientDlgTest, InitValuesAndTheSwatches) {
    struct Case {
        int mode, current, count;
    };
    for (const Case& c : {Case{0, 250, 6}, Case{1, 10, 6}, Case{0, 5, 8}, Case{1, 8, 8}, Case{0, 248, 8}}) {
        UseMode(c.mode);
        doc->m_nColor = c.current;
        Frame()->ShowGradientDialog(doc);
        EXPECT_EQ(dlg->GetDlgItemInt(CGradientDlg::kStartId), c.current);
        EXPECT_EQ(dlg->GetDlgItemInt(CGradientDlg::kCountId), c.count) << c.mode << " " << c.current;
        EXPECT_EQ(dlg->StartColor().color.red, 50);
        EXPECT_EQ(dlg->EndColor().index, 0);
        dlg->ClickButton(framework::IDCANCEL);
    }

    Frame()->ShowGradientDialog(doc);
    TakeColor(CGradientDlg::kStartColorId, 3, 1, 2, 3);
    const CGradientDlg::RampEnd& start = dlg->StartColor();
    EXPECT_EQ(start.index, 3);
    EXPECT_EQ(start.edited, 0);
    EXPECT_EQ(start.color.blue, 3);
    EXPECT_EQ(start.color.alpha, 3 ^ 0x5a);

    // A double click runs the colour editor over the dialog; Cancel keeps the
    // colour, OK takes the new one. The main window stays disabled.
    QWidget* chooserParent = nullptr;
    bool answer = false;
    int asked = 0;
    SetColorChooser([&](QWidget* parent, ChosenColor& color) {
        ++asked;
        chooserParent = parent;
        if (answer) color = {200, 100, 50, 9};
        return answer;
    });
    QWidget* swatch = dlg->GetDlgItem(CGradientDlg::kStartColorId);
    QTest::mouseDClick(swatch, Qt::LeftButton);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(chooserParent, dlg);
    EXPECT_EQ(dlg->StartColor().color.blue, 3);
    EXPECT_EQ(dlg->StartColor().index, 3);
    answer = true;
    QTest::mouseDClick(swatch, Qt::LeftButton);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(dlg->StartColor().color.red, 200);
    EXPECT_EQ(dlg->StartColor().edited, 1);
    EXPECT_FALSE(Frame()->isEnabled());
    EXPECT_TRUE(dlg->isVisible());
    const int alpha = Entry(40).alpha;
    Run(40, 2);
    EXPECT_EQ(Entry(40).red, 200);
    EXPECT_EQ(Entry(40).alpha, alpha);
}

TEST_F(GradientDlgTest, TheCommandsShowItAndEveryWayOutEnablesTheMainWindow) {
    // The view's command and the colour palette bar's button.
    ASSERT_TRUE(Frame()->SendCommand(34017));
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->Document(), doc);
    EXPECT_FALSE(Frame()->isEnabled());
    EXPECT_TRUE(Frame()->ColorPalette()->isEnabled());
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(Frame()->isEnabled());

    CColorPaletteBar* bar = Frame()->ColorPalette();
    bar->show();
    QTest::mouseClick(bar->Control(CColorPaletteBar::kGradientId), Qt::LeftButton);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(Frame()->isEnabled());
    QTest::keyClick(dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(Frame()->isEnabled());

    Frame()->ShowGradientDialog(doc);
    dlg->ClickButton(framework::IDCANCEL);
    EXPECT_TRUE(Frame()->isEnabled());
    EXPECT_FALSE(doc->CanUndo());
}

TEST_F(GradientDlgTest, OkAfterTheDocumentWentWritesNothing) {
    Frame()->ShowGradientDialog(doc);
    doc->OnCloseDocument();
    doc = nullptr;
    EXPECT_EQ(dlg->Document(), nullptr);
    dlg->ClickButton(framework::IDOK);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(Frame()->isEnabled());
    // Without a document at all the dialog opens with the start at 0.
    Frame()->ShowGradientDialog(nullptr);
    EXPECT_EQ(dlg->GetDlgItemInt(CGradientDlg::kStartId), 0);
    dlg->ClickButton(framework::IDOK);
    EXPECT_TRUE(Frame()->isEnabled());
}

}  // namespace
}  // namespace frametest
