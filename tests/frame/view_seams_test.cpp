// What the main frame and its palettes do with the canvas views: messages
// on activation, the zoom and grid of the active view, the zoom buttons,
// and the tool plug-in windows after palette edits.
#include <QApplication>
#include <QMdiArea>
#include <QMouseEvent>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolBar>
#include <cstring>

#include "view/grid_presets.h"
#include "dialogs/reduce_colors_dlg.h"
#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "frame_fixture.h"
#include "framework/child_frame.h"
#include "framework/cmd_ui.h"
#include "framework/doc_template.h"
#include "framework/dialog.h"
#include "framework/menu_builder.h"
#include "imaging/dib.h"
#include "imaging/dib_access.h"
#include "imaging/dib_geometry.h"
#include "palettes/color_palette_bar.h"
#include "palettes/layer_list_dlg.h"
#include "palettes/guide_palette.h"
#include "palettes/palette_dialog.h"
#include "palettes/pos_palette_dlg.h"
#include "plugin_api/plugin_api.h"
#include "plugin_api/plugin_messages.h"
#include "document/display_toggles.h"
#include "view/guide_settings.h"
#include "view/pelmark_view.h"

namespace frametest {
namespace {

// The editor's frame, keeping the messages the views send it about their
// palettes.
class RecordingFrame : public CMainFrame {
public:
    std::vector<std::pair<uint32_t, WinWParam>> received;

protected:
    WinResult OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) override {
        if (message == WM_PALETTEBAR_UPDATE || message == WM_KEEP_LAYER_CAPTION ||
            message == WM_KEEP_POS_CAPTION || message == WM_GUIDE_REFRESH)
            received.emplace_back(message, wparam);
        return CMainFrame::OnWindowMessage(message, wparam, lparam);
    }
};

// A plug-in window counting the image-changed messages it gets.
struct PluginWindow {
    PluginWindow() : handle(WinCreate(&Receive, this)) {}
    ~PluginWindow() { WinDestroy(handle); }
    static WinResult Receive(void* context, WinHandle, uint32_t message, WinWParam, WinLParam) {
        if (message == WM_TOOL_IMAGECHANGED) ++static_cast<PluginWindow*>(context)->imageChanged;
        return 0;
    }
    WinHandle handle;
    int imageChanged = 0;
};

class ViewSeamsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        makeFrame = [this] { return recording = new RecordingFrame; };
        // Main grid preset 1 of 24 x 12 cells.
        WriteIni(QStringLiteral("[Settings]\nKankyou_Grid=1\n[Grid]\nMainSnap1=24,12,255,0,0,1\n"));
        ASSERT_TRUE(Start());
        grid::LoadGridSettings();
    }
    void TearDown() override {
        FrameTest::TearDown();
        grid::LoadGridSettings();
    }

    // A document of one layer with a 40 x 30 image of colours 0..3 in its
    // own child frame.
    CPelmarkDoc* ImageDocument() {
        CPelmarkDoc* doc = NewDocument();
        if (!doc) return nullptr;
        doc->m_hImage = CreateDib8(40, 30, 0);
        EXPECT_TRUE(doc->InitDib());
        EXPECT_TRUE(document::CreateLayer(*doc, 0, 1));
        MemLockGuard layer(doc->m_hLayers[0]);
        for (size_t i = 0; i < size_t(40 * 30); ++i) layer.get()[LAYER_HEADER_SIZE + i] = uint8_t(i % 4);
        return doc;
    }
    static CPelmarkView* ViewOf(CPelmarkDoc* doc) {
        return dynamic_cast<CPelmarkView*>(doc->GetViews().front());
    }
    void Activate(CPelmarkDoc* doc) {
        Frame()->MdiArea()->setActiveSubWindow(nullptr);
        Frame()->MDIActivate(ViewOf(doc)->GetParentFrame());
        QCoreApplication::processEvents();
    }
    bool ButtonChecked(framework::CommandId id) const {
        QAction* action = framework::FindCommandAction(Frame()->MainToolBar(), id);
        return action && action->isChecked();
    }

    RecordingFrame* recording = nullptr;
};

TEST_F(ViewSeamsTest, ActivationTellsTheFrameAboutTheShownPalettes) {
    CPelmarkDoc* first = ImageDocument();
    CPelmarkDoc* second = ImageDocument();
    ASSERT_TRUE(first && second);
    using Sent = std::vector<std::pair<uint32_t, WinWParam>>;
    recording->received.clear();
    Activate(first);
    EXPECT_EQ(recording->received, (Sent{{WM_KEEP_LAYER_CAPTION, 1},
                                         {WM_KEEP_POS_CAPTION, 1},
                                         {WM_GUIDE_REFRESH, 1},
                                         {WM_PALETTEBAR_UPDATE, PALETTEBAR_DOCUMENT}}));

    // Palettes the user closed are neither shown again nor kept.
    ASSERT_TRUE(Frame()->SendCommand(CMainFrame::kLayerPaletteId));
    ASSERT_TRUE(Frame()->SendCommand(CMainFrame::kGuidePaletteId));
    recording->received.clear();
    Activate(second);
    EXPECT_EQ(recording->received,
              (Sent{{WM_KEEP_POS_CAPTION, 1}, {WM_PALETTEBAR_UPDATE, PALETTEBAR_DOCUMENT}}));
    EXPECT_TRUE(Frame()->LayerPalette()->isHidden());
}

// Closed by their close box, the layer and position palettes stay closed
// when another document becomes active, and their menu items are unchecked.
TEST_F(ViewSeamsTest, PalettesClosedByTheirCloseBoxStayClosed) {
    CPelmarkDoc* first = ImageDocument();
    CPelmarkDoc* second = ImageDocument();
    ASSERT_TRUE(first && second);
    Activate(first);
    ASSERT_TRUE(Frame()->LayerPalette()->isVisible());
    ASSERT_TRUE(Frame()->PosPalette()->isVisible());
    Frame()->LayerPalette()->close();
    Frame()->PosPalette()->close();
    EXPECT_FALSE(Frame()->LayerPaletteFlag());
    EXPECT_FALSE(Frame()->PosPaletteFlag());
    Activate(second);
    EXPECT_TRUE(Frame()->LayerPalette()->isHidden());
    EXPECT_TRUE(Frame()->PosPalette()->isHidden());
    // The menu command shows each again at once.
    ASSERT_TRUE(Frame()->SendCommand(CMainFrame::kLayerPaletteId));
    EXPECT_TRUE(Frame()->LayerPalette()->isVisible());
    EXPECT_TRUE(Frame()->LayerPaletteFlag());
}

TEST_F(ViewSeamsTest, TheFrameFollowsTheActiveViewsZoomAndGrid) {
    EXPECT_EQ(Frame()->GetActiveZoom(), 1);
    CPelmarkDoc* doc = ImageDocument();
    ASSERT_TRUE(doc);
    CPelmarkView* view = ViewOf(doc);
    EXPECT_EQ(Frame()->ActiveGridSize(), QSize(24, 12));

    ASSERT_TRUE(Frame()->SendCommand(34004));
    EXPECT_EQ(Frame()->GetActiveZoom(), 4);
    Frame()->OnIdleUpdateCmdUI();
    EXPECT_TRUE(ButtonChecked(34004));
    EXPECT_FALSE(ButtonChecked(34002));

    // While a plug-in holds the idle update back, the view's zoom signal
    // still moves the check mark.
    Frame()->SetPluginLoopRunning(true);
    ASSERT_TRUE(Frame()->SendCommand(CPelmarkView::kZoomInId));
    EXPECT_EQ(view->Zoom(), 6);
    EXPECT_TRUE(ButtonChecked(34005));
    EXPECT_FALSE(ButtonChecked(34004));
    Frame()->SetPluginLoopRunning(false);

    // The active view's scroll position, fit and stored state.
    view->GetParentFrame()->resize(120, 100);
    Frame()->ScrollActiveViewTo(12, 18);
    EXPECT_EQ(view->ScrollPosition(), QPoint(12, 18));
    Frame()->StoreActiveViewState();
    EXPECT_EQ(doc->m_ViewState.zoom, 6);
    EXPECT_EQ(doc->m_ViewState.scrollX, view->ScrollPosition().x() * 6);
}

TEST_F(ViewSeamsTest, ASecondViewOfTheDocumentSetsTheButtonsWhileAPluginRuns) {
    CPelmarkDoc* doc = ImageDocument();
    ASSERT_TRUE(doc);
    framework::DocTemplate* docTemplate = app->DocTemplates().front().get();
    framework::ChildFrame* second = docTemplate->CreateNewFrame(doc);
    ASSERT_TRUE(second);
    docTemplate->InitialUpdateFrame(second, doc, true);
    const ViewDisplayToggles saved = GetViewDisplayToggles();
    GetViewDisplayToggles().guidesShown = true;
    Frame()->SetPluginLoopRunning(true);
    doc->m_bAnimPluginRunning = 1;
    doc->m_bAnimState = 1;

    Activate(doc);  // the first view again: the same document
    EXPECT_TRUE(ButtonChecked(34036));
    EXPECT_FALSE(ButtonChecked(34037));
    EXPECT_TRUE(ButtonChecked(34012));
    EXPECT_FALSE(ButtonChecked(34027));
    EXPECT_TRUE(ButtonChecked(34002));

    Frame()->SetPluginLoopRunning(false);
    doc->m_bAnimPluginRunning = 0;
    GetViewDisplayToggles() = saved;
}

TEST_F(ViewSeamsTest, LayerStepsAndTheUnderlayDeleteClearTheCommandLocks) {
    CPelmarkDoc* doc = ImageDocument();
    ASSERT_TRUE(doc);
    ASSERT_TRUE(document::CreateLayer(*doc, 1, 1));
    doc->m_nEditLayer = 0;
    Frame()->LockAllCommands();
    doc->OnLayerUp();
    EXPECT_EQ(doc->m_nEditLayer, 1);
    EXPECT_FALSE(Frame()->IsCommandLocked());

    doc->m_hUnderlay = MemAlloc(64);
    doc->m_bHasUnderlay = 1;
    doc->m_nEditLayer = -1;
    Frame()->LockAllCommands();
    doc->OnLayerDelete();
    EXPECT_EQ(doc->m_nEditLayer, 0);
    EXPECT_FALSE(doc->m_bHasUnderlay);
    EXPECT_FALSE(Frame()->IsCommandLocked());
}

TEST_F(ViewSeamsTest, TheUnderlayShowsThroughIndexZeroOnlyWhileItIsChecked) {
    CPelmarkDoc* doc = ImageDocument();  // layer pixels 0..3
    ASSERT_TRUE(doc);
    for (int i = 1; i < 4; ++i) SetDibPaletteEntry(doc->m_hImage, i, 0, uint8_t(80 * i), 0, 0);
    ASSERT_TRUE(doc->InitDib());
    MemHandle picture = CreateDib8(40, 30, 0);
    SetDibPaletteEntry(picture, 1, 255, 0, 0, 0);
    {
        dib::LockedDib d(picture);
        std::memset(d.bits(), 1, d.geo().PaddedRow() * 30);
    }
    ASSERT_EQ(doc->SetUnderlay(picture, 0), 0);
    CPelmarkView* view = ViewOf(doc);
    auto redPixels = [view] {
        const QImage shot = view->grab().toImage();
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) n += shot.pixel(x, y) == qRgb(255, 0, 0);
        return n;
    };
    // Index 0 of the layer shows the underlay.
    EXPECT_GT(redPixels(), 0);
    doc->m_bUnderlayCheck = 0;  // hidden in the layer palette
    EXPECT_EQ(redPixels(), 0);
}

// A document in the colour palette bar whose tool plug-in window counts the
// image changes.
class BarSeamsTest : public ViewSeamsTest {
protected:
    void SetUp() override {
        ViewSeamsTest::SetUp();
        doc = ImageDocument();  // pixels of colours 0..3
        ASSERT_TRUE(doc);
        bar = Frame()->ColorPalette();
        bar->show();
        bar->OnPaletteBarUpdate(PALETTEBAR_DOCUMENT, 0);
        window = std::make_unique<PluginWindow>();
        record.window = window->handle;
        doc->m_ToolPlugin.record = &record;
    }
    void TearDown() override {
        if (doc) doc->m_ToolPlugin = {};
        window.reset();
        ViewSeamsTest::TearDown();
    }

    CPelmarkDoc* doc = nullptr;
    CColorPaletteBar* bar = nullptr;
    std::unique_ptr<PluginWindow> window;
    PluginToolRecord record{};
};

TEST_F(BarSeamsTest, PaletteEditsReachTheToolPluginWindows) {

    // A colour exchange by drag.
    QTest::mouseClick(bar->Control(CColorPaletteBar::kDragExchangeId), Qt::LeftButton);
    QTest::mousePress(bar, Qt::LeftButton, {}, bar->CellRect(1).center());
    QTest::mouseMove(bar, bar->CellRect(2).center());
    QTest::mouseRelease(bar, Qt::LeftButton, {}, bar->CellRect(2).center());
    // Each edit tells them itself, and the layer palette's recomposition
    // after it once more.
    EXPECT_EQ(window->imageChanged, 2);

    // The reduction dialog from the bar, to 256 grey levels.
    {
        framework::ScopedModalDriver answer([](framework::Dialog& d) {
            d.ClickButton(CReduceColorsDlg::kGrey256Id);
            d.ClickButton(framework::IDOK);
        });
        QTest::mouseClick(bar->Control(CColorPaletteBar::kReduceId), Qt::LeftButton);
    }
    EXPECT_EQ(window->imageChanged, 4);
    ASSERT_GE(doc->m_nUndoIndex, 0);
    EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].actionId, document::kRecolorAction);
}

TEST_F(BarSeamsTest, TheUnusedColoursGoFromTheBar) {
    for (int i = 0; i < 256; ++i) SetDibPaletteEntry(doc->m_hImage, i, uint8_t(i), uint8_t(255 - i), 9, 1);
    SetDibPaletteEntry(doc->m_hImage, 3, 1, 254, 9, 1);  // the same colour as 1
    doc->InitDib();

    // The reduction dialog with the count it offers (the colours in use)
    // removes the unused colours instead.
    {
        framework::ScopedModalDriver answer([](framework::Dialog& d) { d.ClickButton(framework::IDOK); });
        QTest::mouseClick(bar->Control(CColorPaletteBar::kReduceId), Qt::LeftButton);
    }
    for (int i = 0; i < 4; ++i) {
        uint8_t r = 0, g = 0, b = 0, a = 0;
        GetDibPaletteEntry(doc->m_hImage, i, &r, &g, &b, &a);
        EXPECT_EQ(std::vector<int>({r, g, b, a}),
                  i < 3 ? std::vector<int>({i, 255 - i, 9, 1}) : std::vector<int>({0, 0, 0, 0}))
            << i;
    }
    {
        MemLockGuard layer(doc->m_hLayers[0]);
        const uint8_t expected[] = {0, 1, 2, 1};
        for (size_t i = 0; i < size_t(40 * 30); ++i)
            ASSERT_EQ(layer.get()[LAYER_HEADER_SIZE + i], expected[i % 4]) << i;
    }
    EXPECT_EQ(window->imageChanged, 2);
    EXPECT_TRUE(doc->IsModified());
    ASSERT_GE(doc->m_nUndoIndex, 0);
    EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "消除未使用色");

    // The button: nothing left to remove, no step.
    const int steps = doc->m_nUndoIndex;
    QTest::mouseClick(bar->Control(CColorPaletteBar::kDeleteUnusedId), Qt::LeftButton);
    EXPECT_EQ(doc->m_nUndoIndex, steps);
}

}  // namespace
}  // namespace frametest

namespace frametest {
namespace {

// 鼠标位置 (Ctrl+4) switches the pointer's image position in the status
// bar off and on again (the fixture snaps to its 24 x 12 grid).
TEST_F(ViewSeamsTest, ThePointerPositionIsShownUntilSwitchedOff) {
    CPelmarkDoc* doc = ImageDocument();
    ASSERT_TRUE(doc);
    Activate(doc);
    CPelmarkView* view = ViewOf(doc);
    QWidget* canvas = view;
    // The canvas point over the middle of an image pixel.
    auto over = [&](int x, int y) {
        const int z = view->Zoom();
        return view->OffsetImagePoint(QPoint(x * z + z / 2, y * z + z / 2));
    };
    auto pointAt = [&](QPoint client) {
        QMouseEvent move(QEvent::MouseMove, client, canvas->mapToGlobal(client), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &move);
    };
    auto checked = [&] { return Frame()->QueryCommandState(CPelmarkView::kPointerPositionId).IsChecked(); };
    pointAt(over(24, 12));
    EXPECT_EQ(Frame()->PaneText(2, 0), QStringLiteral("  24 , 12  "));
    EXPECT_EQ(checked(), std::optional<bool>(true));
    ASSERT_TRUE(Frame()->SendCommand(CPelmarkView::kPointerPositionId));
    EXPECT_EQ(Frame()->PaneText(2, 0), QStringLiteral(" "));
    EXPECT_EQ(checked(), std::optional<bool>(false));
    pointAt(over(9, 3));
    EXPECT_EQ(Frame()->PaneText(2, 0), QStringLiteral(" "));
    ASSERT_TRUE(Frame()->SendCommand(CPelmarkView::kPointerPositionId));
    pointAt(over(24, 12));
    EXPECT_EQ(Frame()->PaneText(2, 0), QStringLiteral("  24 , 12  "));
}

}  // namespace
}  // namespace frametest
