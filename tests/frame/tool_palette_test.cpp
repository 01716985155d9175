#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include "dialogs/brush_size_dlg.h"
#include "dialogs/color_choice.h"
#include "document/edit_state.h"
#include "document/floating_selection.h"
#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "document/undo_actions.h"
#include "frame_fixture.h"
#include "framework/cmd_ui.h"
#include "imaging/dib.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "palettes/select_mode_palette.h"
#include "palettes/tool_buttons.h"
#include "palettes/tool_palette.h"
#include "tools/pen_stamps.h"
#include "tools/tool_dispatch.h"

namespace frametest {
namespace {

std::vector<uint8_t> Bytes(MemHandle h) {
    MemLockGuard lock(h);
    return lock ? std::vector<uint8_t>(lock.get(), lock.get() + lock.size()) : std::vector<uint8_t>{};
}

std::vector<int> Rect(const DibRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// What the floating selection is made of.
struct Floating {
    std::vector<uint8_t> image, floatMask, mask;
    std::vector<int> selection;
    bool operator==(const Floating&) const = default;
};

Floating FloatingOf(const CPelmarkDoc& doc) {
    return {Bytes(doc.m_hFloatImage), Bytes(doc.m_hFloatMask), Bytes(doc.m_hMask), Rect(doc.m_rcSelection)};
}

class ToolPaletteTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(Start());
        palette = Frame()->ToolPalette();
        ASSERT_TRUE(palette);
        palette->show();
    }
    void TearDown() override {
        if (palette) palette->GetServices() = {};
        SetColorChooser({});
        FrameTest::TearDown();
    }

    // A document with an 8 x 4 image and one layer whose pixels are all 5.
    CPelmarkDoc* MakeDocument() {
        CPelmarkDoc* d = NewDocument();
        if (!d) return nullptr;
        d->m_hImage = CreateDib8(8, 4, 0);
        EXPECT_TRUE(d->InitDib());
        EXPECT_TRUE(document::CreateLayer(*d, 0, 1));
        MemLockGuard layer(d->m_hLayers[0]);
        std::fill(layer.get() + LAYER_HEADER_SIZE, layer.get() + layer.size(), uint8_t(5));
        return d;
    }
    // Presses a button as the user does, after the idle update gave the
    // buttons their states.
    void Click(int button) {
        Frame()->OnIdleUpdateCmdUI();
        QTest::mouseClick(palette->Client(), Qt::LeftButton, {}, toolpal::ButtonRect(button).center());
    }
    // MakeDocument with the selection tool chosen and the rectangle
    // (2, 1)-(6, 3) lifted, as the selection tool leaves it; the layer's
    // pixels differ from each other.
    CPelmarkDoc* MakeFloatingDocument() {
        CPelmarkDoc* d = MakeDocument();
        if (!d) return nullptr;
        {
            MemLockGuard layer(d->m_hLayers[0]);
            for (size_t i = LAYER_HEADER_SIZE; i < layer.size(); ++i) layer.get()[i] = uint8_t(i * 7);
        }
        Click(0);
        EXPECT_EQ(d->m_nToolId, 551);
        document::ClearMask(*d);
        document::MaskFillRect(*d, 2, 1, 6, 3);
        const DibRect r = document::MaskBoundingRect(*d);
        document::LiftSelection(*d, r);
        document::LiftFloatingMask(*d, r.left, r.top, r.right, r.bottom);
        d->m_rcFloatTarget = d->m_rcSelection;
        d->m_hLayerBackup = DuplicateGlobal(d->m_hLayers[0]);
        EXPECT_NE(d->m_hFloatImage, nullptr);
        return d;
    }
    // A double click as the window system delivers it: the second press
    // comes only as the double-click event.
    void DoubleClick(const QPoint& at) {
        QWidget* client = palette->Client();
        palette->RunTimerSteps();
        QTest::mousePress(client, Qt::LeftButton, {}, at);
        QTest::mouseRelease(client, Qt::LeftButton, {}, at);
        QMouseEvent second(QEvent::MouseButtonDblClick, at, client->mapToGlobal(at), Qt::LeftButton,
                           Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(client, &second);
        QTest::mouseRelease(client, Qt::LeftButton, {}, at);
    }
    void DoubleClickBackSwatch() { DoubleClick(QPoint(60, 160)); }
    QString Text(int id) const {
        QWidget* w = palette->Control(id);
        if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
        return {};
    }
    bool Shown(int id) const { return !palette->Control(id)->isHidden(); }
    framework::CmdUI State(framework::CommandId id) { return Frame()->QueryCommandState(id); }

    CToolPalette* palette = nullptr;
};

TEST_F(ToolPaletteTest, OutlineToolShowsItsPanelWithStartValues) {
    CPelmarkDoc* doc = MakeDocument();
    ASSERT_TRUE(doc);
    EXPECT_TRUE(Frame()->SendCommand(557));
    EXPECT_EQ(doc->m_nToolId, 557);
    EXPECT_EQ(palette->SettingsToolIndex(), 6);
    for (int id = 400; id <= 447; ++id) {
        bool expected = (id >= 406 && id <= 410) || (id >= 426 && id <= 434);
        EXPECT_EQ(Shown(id), expected) << id;
    }
    EXPECT_EQ(Text(427), QStringLiteral("任意"));
    EXPECT_EQ(Text(428), QStringLiteral("中央"));
    EXPECT_EQ(Text(430), QStringLiteral("1"));
    EXPECT_EQ(Frame()->PaneText(1, 0), QStringLiteral("画板矩形选择工具"));
    EXPECT_EQ(Frame()->PaneText(2, 1), QStringLiteral(" "));
    // Buttons 12 to 20 give way to the panel.
    EXPECT_FALSE(palette->ButtonVisible(14));
    EXPECT_TRUE(palette->ButtonVisible(11));
    // The same tool again keeps the panel as it is.
    EXPECT_FALSE(palette->ShowToolSettings(6));
}

TEST_F(ToolPaletteTest, PenSizeButtonSetsThePenAndChecksIt) {
    CPelmarkDoc* doc = MakeDocument();
    ASSERT_TRUE(doc);
    Click(3);  // the pen
    EXPECT_EQ(doc->m_nToolId, 554);
    EXPECT_EQ(palette->ShownImage(14), 29);
    Click(14);
    EXPECT_EQ(doc->m_nPenId, 602);
    EXPECT_EQ(State(565).IsChecked(), std::optional<bool>(true));
    EXPECT_EQ(State(564).IsChecked(), std::optional<bool>(false));
    EXPECT_EQ(State(554).IsChecked(), std::optional<bool>(true));
    EXPECT_EQ(Frame()->PaneText(1, 0), QStringLiteral("画板笔尖大小(5像素)选择工具"));
    // The line tool takes the pen's diameter.
    EXPECT_EQ(Frame()->GetToolOption(kLineDiameter), 5);
    Frame()->OnIdleUpdateCmdUI();
    EXPECT_TRUE(palette->ButtonAction(14)->isChecked());
    EXPECT_FALSE(palette->ButtonAction(13)->isChecked());
}

TEST_F(ToolPaletteTest, SecondPressOnACustomPenEditsItAndThePenStampsTheNewSize) {
    tools::CustomPens() = tools::kDefaultCustomPens;
    CPelmarkDoc* doc = MakeDocument();
    ASSERT_TRUE(doc);
    Click(3);  // the pen
    int opened = 0;
    framework::ScopedModalDriver driver([&](framework::Dialog& d) {
        ++opened;
        ASSERT_EQ(d.TemplateId(), CBrushSizeDlg::kTemplateId);
        EXPECT_EQ(static_cast<CBrushSizeDlg&>(d).m_nSlot, 1);
        EXPECT_EQ(d.GetDlgItemText(CBrushSizeDlg::kSizeId), "13");
        d.SetDlgItemText(CBrushSizeDlg::kSizeId, "40");
        d.ClickButton(CBrushSizeDlg::kRoundId);
        // The mouse takes the focus from the size edit to the button.
        QTest::mouseClick(d.GetDlgItem(framework::IDOK), Qt::LeftButton);
    });
    Click(19);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(doc->m_nPenId, 607);
    Click(19);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(tools::CustomPens()[1].size, 40);
    EXPECT_EQ(tools::CustomPens()[1].shape, 0);
    EXPECT_EQ(Frame()->GetToolOption(kLineDiameter), 40);
    tools::StampContext context;
    context.toolId = tools::kPenTool;
    context.docPenId = doc->m_nPenId;
    const tools::PenStamp stamp = tools::ChooseStamp(context);
    EXPECT_EQ(stamp.kind, tools::StampKind::Ellipse);
    EXPECT_EQ(stamp.size, 40);
    tools::CustomPens() = tools::kDefaultCustomPens;
}

TEST_F(ToolPaletteTest, FourPointCurveDisablesStyleAndDashFields) {
    ASSERT_TRUE(MakeDocument());
    ASSERT_TRUE(Frame()->SendCommand(555));
    auto* style = qobject_cast<QComboBox*>(palette->Control(415));
    style->setCurrentIndex(1);  // dashed: the dash fields open
    for (int id = 415; id <= 419; ++id) EXPECT_TRUE(palette->Control(id)->isEnabled()) << id;
    qobject_cast<QComboBox*>(palette->Control(412))->setCurrentIndex(1);
    EXPECT_EQ(Text(412), QStringLiteral("４点式"));
    for (int id = 415; id <= 419; ++id) EXPECT_FALSE(palette->Control(id)->isEnabled()) << id;
    EXPECT_EQ(Frame()->GetToolOption(kLineType), 1);
    qobject_cast<QComboBox*>(palette->Control(412))->setCurrentIndex(0);
    style->setCurrentIndex(0);
    EXPECT_TRUE(palette->Control(415)->isEnabled());
    EXPECT_FALSE(palette->Control(417)->isEnabled());
}

TEST_F(ToolPaletteTest, FeatherWidthIsClampedAndKeptAcrossPanels) {
    ASSERT_TRUE(MakeDocument());
    ASSERT_TRUE(Frame()->SendCommand(556));
    EXPECT_EQ(Text(446), QStringLiteral("描画色"));
    qobject_cast<QLineEdit*>(palette->Control(445))->setText(QStringLiteral("70"));
    EXPECT_EQ(Frame()->GetToolOption(kFeatherWidth), 50);
    EXPECT_EQ(Text(445), QStringLiteral("50"));
    qobject_cast<QLineEdit*>(palette->Control(445))->setText(QStringLiteral("90"));
    // Leaving the panel reads the value back, clamped; coming back shows it.
    ASSERT_TRUE(Frame()->SendCommand(553));
    EXPECT_EQ(palette->CachedSetting(445), 50);
    ASSERT_TRUE(Frame()->SendCommand(556));
    EXPECT_EQ(Text(445), QStringLiteral("50"));
    // The fill source is taken over with its name.
    qobject_cast<QComboBox*>(palette->Control(442))->setCurrentIndex(1);
    EXPECT_EQ(Text(446), QStringLiteral("模型"));
    EXPECT_EQ(Frame()->GetToolOption(kFillSource), 1);
}

TEST_F(ToolPaletteTest, ToolCommandsFollowDocumentAndLocks) {
    EXPECT_FALSE(State(554).IsEnabled());  // no document
    CPelmarkDoc* doc = MakeDocument();
    ASSERT_TRUE(doc);
    EXPECT_TRUE(State(554).IsEnabled());
    // Edit buttons need a selection with the selection tools.
    EXPECT_FALSE(State(563).IsEnabled());
    EXPECT_TRUE(State(571).IsEnabled());
    Frame()->LockToolCommands();
    EXPECT_FALSE(State(554).IsEnabled());
    EXPECT_FALSE(Frame()->SendCommand(554));
    EXPECT_EQ(doc->m_nToolId, CPelmarkDoc::kHandToolId);
    Frame()->ClearCommandLocks();
    EXPECT_TRUE(Frame()->SendCommand(554));
    EXPECT_EQ(doc->m_nToolId, 554);
    EXPECT_EQ(document::GetProgramEditState().toolIndex, 3);
}

TEST_F(ToolPaletteTest, FilledRectangleToolLeavesTheLayerAlone) {
    CPelmarkDoc* doc = MakeDocument();
    ASSERT_TRUE(doc);
    ASSERT_TRUE(Frame()->SendCommand(560));
    EXPECT_EQ(doc->m_nToolId, 560);
    EXPECT_EQ(doc->m_nPrevToolId, CPelmarkDoc::kHandToolId);
    EXPECT_EQ(doc->m_nUndoIndex, -1);
    MemLockGuard layer(doc->m_hLayers[0]);
    EXPECT_EQ(layer.get()[LAYER_HEADER_SIZE], 5);
    EXPECT_EQ(layer.get()[layer.size() - 1], 5);
}

TEST_F(ToolPaletteTest, SecondPressOnSelectionButtonOpensTheModes) {
    ASSERT_TRUE(MakeDocument());
    ASSERT_TRUE(Frame()->SendCommand(551));
    Click(0);
    EXPECT_TRUE(Frame()->SelectModePalette()->isHidden());
    Click(0);
    EXPECT_FALSE(Frame()->SelectModePalette()->isHidden());
    // A timer step between two presses makes them two first presses.
    Frame()->SelectModePalette()->hide();
    Click(0);
    palette->RunTimerSteps();
    Click(0);
    EXPECT_TRUE(Frame()->SelectModePalette()->isHidden());
}

TEST_F(ToolPaletteTest, DoubleClickOnTheSelectionButtonOpensTheModes) {
    ASSERT_TRUE(MakeDocument());
    Click(0);
    const bool floating = palette->isFloating();
    DoubleClick(toolpal::ButtonRect(0).center());
    EXPECT_FALSE(Frame()->SelectModePalette()->isHidden());
    EXPECT_EQ(palette->isFloating(), floating);  // a double click on a button is no docking
}

TEST_F(ToolPaletteTest, BackgroundSwatchEditsEntryZeroAsOneStep) {
    CPelmarkDoc* doc = MakeDocument();
    ASSERT_TRUE(doc);
    int asked = 0;
    bool accept = false;
    palette->GetServices().editColor = [&](RgbaEntry& e) {
        ++asked;
        e = {10, 20, 30, 40};
        return accept;
    };
    const QPoint swatch(60, 160);
    QTest::mouseClick(palette->Client(), Qt::LeftButton, {}, swatch);
    EXPECT_EQ(asked, 0);  // the first press only arms
    QTest::mouseClick(palette->Client(), Qt::LeftButton, {}, swatch);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(doc->m_nUndoIndex, -1);  // cancelled: nothing changed
    EXPECT_FALSE(doc->IsModified());
    accept = true;
    palette->RunTimerSteps();
    QTest::mouseClick(palette->Client(), Qt::LeftButton, {}, swatch);
    QTest::mouseClick(palette->Client(), Qt::LeftButton, {}, swatch);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_TRUE(doc->IsModified());
    uint8_t r = 0, g = 0, b = 0, a = 0;
    GetDibPaletteEntry(doc->m_hImage, 0, &r, &g, &b, &a);
    EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({10, 20, 30, 40}));
}

TEST_F(ToolPaletteTest, ScaleAndRotateGoOnWithTheFloatingSelection) {
    struct Case {
        int button, tool;
    } cases[] = {{18, 569}, {19, 570}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        CPelmarkDoc* doc = MakeFloatingDocument();
        ASSERT_TRUE(doc);
        const Floating before = FloatingOf(*doc);
        Click(c.button);
        EXPECT_EQ(doc->m_nToolId, c.tool);
        EXPECT_TRUE(FloatingOf(*doc) == before);
        EXPECT_EQ(doc->m_nUndoIndex, -1);  // no step 705
        EXPECT_FALSE(doc->IsModified());
    }
}

TEST_F(ToolPaletteTest, LeavingScaleOrRotateEndsTheFloatingStateButNotForTheSelectionTools) {
    struct Case {
        int transformButton, nextButton, nextTool;
        bool dropped;
    } cases[] = {
        {18, 3, 554, true},  {19, 3, 554, true},   // the pen
        {18, 2, 553, true},  {19, 9, 560, true},   // the hand; the filled rectangle clears nothing
        {18, 0, 551, false}, {19, 1, 552, false},  // back to the selection tool or the wand
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.transformButton << " then " << c.nextButton);
        CPelmarkDoc* doc = MakeFloatingDocument();
        ASSERT_TRUE(doc);
        const std::vector<uint8_t> layer = Bytes(doc->m_hLayers[0]);
        const Floating before = FloatingOf(*doc);
        Click(c.transformButton);
        Click(c.nextButton);
        EXPECT_EQ(doc->m_nToolId, c.nextTool);
        if (c.dropped) {
            EXPECT_EQ(doc->m_hFloatImage, nullptr);
            EXPECT_EQ(doc->m_nUndoIndex, 0);
            EXPECT_EQ(doc->m_UndoSlots[0].actionId, document::kReleaseFloatingAction);
            EXPECT_EQ(doc->m_UndoSlots[0].label, "选取解除");
        } else {
            EXPECT_TRUE(FloatingOf(*doc) == before);
            EXPECT_EQ(doc->m_nUndoIndex, -1);
        }
        EXPECT_EQ(Bytes(doc->m_hLayers[0]), layer);
    }
}

TEST_F(ToolPaletteTest, LayerCommandsPutTheSelectionOfScaleDown) {
    CPelmarkDoc* doc = MakeFloatingDocument();
    ASSERT_TRUE(doc);
    Click(18);
    ASSERT_NE(doc->m_hFloatImage, nullptr);
    doc->OnLayerUnifyAll();
    EXPECT_EQ(doc->m_hFloatImage, nullptr);
    EXPECT_EQ(doc->m_nToolId, 569);
    EXPECT_EQ(doc->m_UndoSlots[0].actionId, document::kReleaseFloatingAction);
}

TEST_F(ToolPaletteTest, EditButtonsWorkOnTheFloatingSelectionAsBefore) {
    struct Case {
        int button, clicks, steps;
        const char* label;
        bool floating;
    } cases[] = {
        {12, 2, 2, "水平翻转", true}, {13, 2, 2, "上下反转", true}, {14, 2, 1, "上移动", true},
        {15, 3, 1, "左移动", true},   {16, 2, 1, "右移动", true},   {17, 2, 1, "下移动", true},
        {20, 1, 1, "选取消除", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CPelmarkDoc* doc = MakeFloatingDocument();
        ASSERT_TRUE(doc);
        for (int i = 0; i < c.clicks; ++i) Click(c.button);
        EXPECT_EQ(doc->m_nToolId, 551);
        EXPECT_EQ(doc->m_nUndoIndex, c.steps - 1);
        EXPECT_EQ(doc->m_UndoSlots[size_t(c.steps - 1)].label, c.label);
        EXPECT_EQ(doc->m_hFloatImage != nullptr, c.floating);
    }
}

TEST_F(ToolPaletteTest, BackgroundSwatchAsksTheProgramsColourChooser) {
    int asked = 0;
    bool accept = false;
    SetColorChooser([&](QWidget*, ChosenColor& color) {
        ++asked;
        color = {200, 100, 50, 25};
        return accept;
    });
    DoubleClickBackSwatch();  // no document: nothing to ask about
    EXPECT_EQ(asked, 0);

    CPelmarkDoc* doc = MakeDocument();
    ASSERT_TRUE(doc);
    SetDibPaletteEntry(doc->m_hImage, 0, 1, 2, 3, 4);
    auto entry0 = [&] {
        uint8_t r = 0, g = 0, b = 0, a = 0;
        GetDibPaletteEntry(doc->m_hImage, 0, &r, &g, &b, &a);
        return std::vector<int>({r, g, b, a});
    };
    DoubleClickBackSwatch();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(entry0(), std::vector<int>({1, 2, 3, 4}));
    EXPECT_EQ(doc->m_nUndoIndex, -1);
    EXPECT_FALSE(doc->IsModified());

    accept = true;
    DoubleClickBackSwatch();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(entry0(), std::vector<int>({200, 100, 50, 25}));
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_EQ(doc->m_UndoSlots[0].actionId, document::kColorEditAction);
    EXPECT_EQ(doc->m_UndoSlots[0].label, "改变");
    EXPECT_TRUE(doc->IsModified());
    doc->OnEditUndo();
    EXPECT_EQ(entry0(), std::vector<int>({1, 2, 3, 4}));
}

TEST(ToolButtons, StatesWhileAPluginRuns) {
    using toolpal::PluginButtonStates;
    // Pen: all edit buttons enabled, the current pen size and the pen pressed.
    auto pen = PluginButtonStates(565, 554, 602, false);
    for (int i = 12; i <= 20; ++i) EXPECT_TRUE(pen[size_t(i)].enabled) << i;
    EXPECT_TRUE(pen[14].pressed);
    EXPECT_TRUE(pen[3].pressed);
    EXPECT_FALSE(pen[12].pressed);
    // Selection without a selection: 12 to 19 disabled, delete enabled.
    auto select = PluginButtonStates(563, 551, 600, false);
    EXPECT_FALSE(select[12].enabled);
    EXPECT_FALSE(select[19].enabled);
    EXPECT_TRUE(select[20].enabled);
    EXPECT_TRUE(select[0].pressed);
    // Scale is a tool of its own; any other tool disables every edit button.
    auto scale = PluginButtonStates(569, 551, 600, true);
    EXPECT_TRUE(scale[18].pressed);
    EXPECT_TRUE(scale[20].enabled);
    auto line = PluginButtonStates(555, 555, 600, true);
    EXPECT_FALSE(line[20].enabled);
    EXPECT_TRUE(line[4].pressed);
}

TEST(ToolButtons, Layout) {
    EXPECT_EQ(toolpal::ButtonRect(0), QRect(0, 0, 29, 27));
    EXPECT_EQ(toolpal::ButtonRect(4).top(), 30);
    EXPECT_EQ(toolpal::ButtonRect(12).top(), 270);
    EXPECT_EQ(toolpal::ButtonAt(QPoint(40, 280)), 13);
    EXPECT_EQ(toolpal::ButtonAt(QPoint(40, 200)), -1);
    EXPECT_EQ(toolpal::ButtonImage(0, 0, 1), 24);
}

}  // namespace
}  // namespace frametest
