#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QDockWidget>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QFile>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "framework/program_globals.h"
#include "dialogs/gradient_dlg.h"
#include "document/image_limits.h"
#include "document/open_doc_list.h"
#include "document/pelmark_doc.h"
#include "frame/window_placement.h"
#include "frame_fixture.h"
#include "framework/cmd_ui.h"
#include "palettes/color_palette_bar.h"
#include "palettes/link_palette.h"
#include "palettes/layer_list_dlg.h"
#include "palettes/guide_palette.h"
#include "palettes/palette_dialog.h"
#include "palettes/pos_palette_dlg.h"
#include "palettes/select_mode_palette.h"
#include "palettes/tool_palette.h"
#include "platform/window_qt.h"
#include "plugin_api/plugin_api.h"

namespace frametest {
namespace {

struct Shown {
    const char* name;
    bool shown;
};

std::vector<Shown> windowsOf(CMainFrame* f) {
    return {{"toolbar", f->MainToolBar()->isVisible()},
            {"tone bar", f->ToneBar()->isVisible()},
            {"status bar", f->StatusBar1()->isVisible()},
            {"status bar 2", f->InfoBar()->isVisible()},
            {"tool palette", f->ToolPalette()->isVisible()},
            {"link palette", f->LinkPalette()->isVisible()},
            {"colour palette", f->ColorPalette()->isVisible()},
            {"layer palette", f->LayerPalette()->isVisible()},
            {"position palette", f->PosPalette()->isVisible()},
            {"guide palette", f->GuidePalette()->isVisible()}};
}

TEST_F(FrameTest, EverythingShowsWithoutDisplayKeys) {
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    for (const Shown& w : windowsOf(f)) EXPECT_TRUE(w.shown) << w.name;
    EXPECT_TRUE(f->ColorPaletteFlag() && f->LayerPaletteFlag() && f->PosPaletteFlag() &&
                f->GuidePaletteFlag());
    EXPECT_TRUE(f->RulerFlag());
    EXPECT_FALSE(f->SelectModePalette()->isVisible());
    EXPECT_FALSE(f->GradientDialog()->isVisible());
    // Floating palettes are tool windows of the frame; the colour palette is
    // not a dock, so a disabled frame leaves it alone.
    EXPECT_EQ(f->ColorPalette()->windowType(), Qt::Tool);
    EXPECT_EQ(f->LinkPalette()->parentWidget(), f);
    f->setEnabled(false);
    EXPECT_FALSE(f->LinkPalette()->isEnabled());
    EXPECT_TRUE(f->ColorPalette()->isEnabled());
    f->setEnabled(true);
    EXPECT_EQ(f->dockWidgetArea(f->ToolPalette()), Qt::RightDockWidgetArea);
    EXPECT_EQ(f->toolBarArea(f->MainToolBar()), Qt::TopToolBarArea);
    EXPECT_EQ(f->toolBarArea(f->ToneBar()), Qt::BottomToolBarArea);
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(FrameTest, DisplayKeysOffHideTheirWindows) {
    WriteIni("[Settings]\nDispToolBar=0\nDispToolBarTone=0\nDispStatusBar=0\nDispStatusBar2=0\n"
             "DispToolPalette=0\nDispToolRecPalette=0\nDispColorPalette=0\nDispLayerPalette=0\n"
             "DispPosPalette=0\nDispGaidPalette=0\nDispZyougi=0\n");
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    for (const Shown& w : windowsOf(f)) EXPECT_FALSE(w.shown) << w.name;
    EXPECT_FALSE(f->ColorPaletteFlag() || f->LayerPaletteFlag() || f->PosPaletteFlag() ||
                 f->GuidePaletteFlag() || f->RulerFlag());
}

TEST_F(FrameTest, ToolbarCommandShowsItDockedAtTheTop) {
    WriteIni("[Settings]\nDispToolBar=0\n");
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    EXPECT_FALSE(f->MainToolBar()->isVisible());
    EXPECT_EQ(f->QueryCommandState(framework::ID_VIEW_TOOLBAR).Check(), 0);
    f->addToolBar(Qt::LeftToolBarArea, f->MainToolBar());  // wherever it was
    ASSERT_TRUE(f->SendCommand(framework::ID_VIEW_TOOLBAR));
    EXPECT_TRUE(f->MainToolBar()->isVisible());
    EXPECT_EQ(f->toolBarArea(f->MainToolBar()), Qt::TopToolBarArea);
    EXPECT_EQ(f->QueryCommandState(framework::ID_VIEW_TOOLBAR).Check(), 1);
}

TEST_F(FrameTest, PaletteCommandsToggleWindowAndCheckMark) {
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    struct Case {
        framework::CommandId id;
        QWidget* window;
    } cases[] = {{502, f->ToolPalette()},       {32776, f->LinkPalette()}, {32875, f->InfoBar()},
                 {32877, f->ToneBar()},         {32882, f->LayerPalette()}, {32922, f->PosPalette()},
                 {32941, f->GuidePalette()},    {59393, f->StatusBar1()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(f->QueryCommandState(c.id).Check(), 1);
        ASSERT_TRUE(f->SendCommand(c.id));
        EXPECT_FALSE(c.window->isVisible());
        EXPECT_EQ(f->QueryCommandState(c.id).Check(), 0);
        ASSERT_TRUE(f->SendCommand(c.id));
        EXPECT_TRUE(c.window->isVisible());
    }
    // While the tool windows are disabled, the checked commands are too.
    f->SetToolWindowsDisabled(true);
    for (const Case& c : cases) {
        if (c.id == 59393) continue;
        EXPECT_FALSE(f->QueryCommandState(c.id).IsEnabled()) << c.id;
    }
}

TEST_F(FrameTest, ColourPaletteCommandNeedsAnImage) {
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    EXPECT_FALSE(f->QueryCommandState(34000).IsEnabled());
    CPelmarkDoc* doc = NewDocument();
    ASSERT_TRUE(doc);
    EXPECT_FALSE(f->QueryCommandState(34000).IsEnabled());  // no image yet
}

TEST_F(FrameTest, HidingTheLinkPaletteEndsImageMapEditing) {
    ASSERT_TRUE(Start());
    CPelmarkDoc* doc = NewDocument();
    ASSERT_TRUE(doc);
    doc->m_nToolId = 625;
    ASSERT_TRUE(Frame()->SendCommand(32776));
    EXPECT_FALSE(Frame()->LinkPalette()->isVisible());
    EXPECT_EQ(doc->m_nToolId, CPelmarkDoc::kHandToolId);
}

TEST_F(FrameTest, MapToolWidensTheToolbarAndTheImageLimit) {
    struct Case {
        const char* ini;
        int slotCount;
        int maxSize;
    } cases[] = {{"[Settings]\n", 34, 2048}, {"[Settings]\nMapTool=1\n", 37, 4096}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        WriteIni(QString::fromLatin1(c.ini));
        ASSERT_TRUE(Start());
        EXPECT_EQ(Frame()->ToolBarSlots(), c.slotCount);
        EXPECT_EQ(GetMaxImageSize().width, c.maxSize);
        EXPECT_EQ(GetMaxImageSize().height, c.maxSize);
        app.reset();
    }
}

TEST_F(FrameTest, MenuBarHasFiltersFifthAndGridPresetsSixth) {
    ASSERT_TRUE(Start());
    std::vector<QString> titles;
    for (QAction* action : Frame()->menuBar()->actions())
        if (action->menu()) titles.push_back(action->text());
    ASSERT_GE(titles.size(), 6u);
    EXPECT_EQ(titles[2], QStringLiteral("视图(&V)"));
    app->AddFilterMenuItem(QStringLiteral("模糊"));
    app->AddGridPresetMenuItem(0, QStringLiteral("1.  16,16  8,8"));
    QMenu* filters = Frame()->menuBar()->actions()[4]->menu();
    QMenu* presets = Frame()->menuBar()->actions()[5]->menu();
    EXPECT_TRUE(framework::FindCommandAction(filters, 2001));
    EXPECT_TRUE(framework::FindCommandAction(presets, 32884));
    // Accelerators come from the menu texts.
    Frame()->activateWindow();
    QApplication::setActiveWindow(Frame());
    ASSERT_TRUE(Frame()->LinkPalette()->isVisible());
    QTest::keyClick(Frame(), Qt::Key_6, Qt::ControlModifier);
    EXPECT_FALSE(Frame()->LinkPalette()->isVisible());
}

TEST_F(FrameTest, MissingDictionaryStopsTheStart) {
    EXPECT_FALSE(Start(nullptr));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"COLOR.DIC 找不到", "内存不足。"}));
}

TEST_F(FrameTest, SaveSettingsWritesTheDisplayKeys) {
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    f->SendCommand(32882);  // layer palette off
    f->SendCommand(32876);  // rulers off
    ASSERT_TRUE(f->SendCommand(32832));
    const char* on[] = {"DispColorPalette", "DispToolPalette", "DispToolBar", "DispToolBarTone",
                        "DispStatusBar", "DispStatusBar2", "DispToolRecPalette", "DispPosPalette",
                        "DispGaidPalette"};
    for (const char* key : on) EXPECT_EQ(Ini("Settings", key), "1") << key;
    EXPECT_EQ(Ini("Settings", "DispLayerPalette"), "0");
    EXPECT_EQ(Ini("Settings", "DispZyougi"), "0");
}

TEST_F(FrameTest, StoredPlacementIsUsedOnlyWhenComplete) {
    WriteIni("[Settings]\nWindowPos=0,1,-1,-1,-1,-1,40,50,840,650\n");
    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame()->geometry(), QRect(QPoint(40, 50), QPoint(839, 649)));
    app.reset();
    WriteIni("[Settings]\nWindowPos=0,1,-1,-1,-1,-1,40,50,840\n");
    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame()->size(), QSize(1024, 768));
}

TEST_F(FrameTest, PalettesKeepTheirPositions) {
    WriteIni("[Settings]\nToolRecPalettePos=30,40\nLayerPalettePos=50,60,190,300\n"
             "PosPalettePos=1,2,3\nColorPalettePos=70,80\nDicMode=0\n");
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    EXPECT_EQ(f->LinkPalette()->pos(), QPoint(30, 40));
    EXPECT_EQ(f->LayerPalette()->pos(), QPoint(50, 60));
    EXPECT_NE(f->PosPalette()->pos(), QPoint(1, 2));  // three numbers of four: ignored
    EXPECT_EQ(f->ColorPalette()->pos(), QPoint(70, 80));
    EXPECT_EQ(f->ColorPalette()->DictionaryMode(), 0);
    f->LinkPalette()->move(-500, 20);
    app.reset();
    EXPECT_EQ(Ini("Settings", "ToolRecPalettePos"), "0,20");  // clamped to the screen
    EXPECT_EQ(Ini("Settings", "LayerPalettePos").section(u',', 0, 1), "50,60");
    EXPECT_EQ(Ini("Settings", "ColorPalettePos"), "70,80");
}

// The closing sequence with the dictionary changed: Cancel keeps the
// program after the open-file list and the grid flags were written, and
// before the bar state and the placement.
TEST_F(FrameTest, CancelOnTheDictionaryQuestionKeepsTheProgram) {
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    std::vector<std::string> order;
    f->SetGridFlagsWriter([&] { order.push_back("grid"); });
    CPelmarkDoc doc;
    document::AddOpenDocument(&doc, QStringLiteral("/pictures/a.gif"));
    WriteIni("[Next Open File List]\nFile1=/old/x.gif\nFile2=/old/y.gif\n");
    ASSERT_TRUE(f->ColorDic().AddEntry({QStringLiteral("red"), 255, 0, 0, 0}));
    boxes.Script({MB_ANSWER_CANCEL});

    EXPECT_FALSE(f->close());
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"是否保存色表？"});
    EXPECT_EQ(Ini("Next Open File List", "File1"), "/pictures/a.gif");
    EXPECT_EQ(Ini("Next Open File List", "File2"), "<none>");
    EXPECT_EQ(order, std::vector<std::string>{"grid"});
    EXPECT_EQ(Ini("General", "BarState"), "<none>");
    EXPECT_EQ(Ini("Settings", "WindowPos"), "<none>");

    // No: the dictionary file stays as it was and the close goes on.
    boxes.Script({MB_ANSWER_NO});
    EXPECT_TRUE(f->close());
    QFile dic(programDir.filePath(QStringLiteral("COLOR.DIC")));
    ASSERT_TRUE(dic.open(QIODevice::ReadOnly));
    EXPECT_EQ(dic.readAll(), QByteArray("\x1a"));
    EXPECT_NE(Ini("General", "BarState"), "<none>");
    std::optional<WindowPlacement> placement = ParseWindowPlacement(Ini("Settings", "WindowPos"));
    ASSERT_TRUE(placement);
    EXPECT_EQ(placement->normal, f->geometry());
    document::RemoveOpenDocument(&doc);
}

TEST_F(FrameTest, YesOnTheDictionaryQuestionSavesIt) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Frame()->ColorDic().AddEntry({QStringLiteral("sky"), 1, 2, 3, 4}));
    boxes.Script({MB_ANSWER_YES});
    EXPECT_TRUE(Frame()->close());
    QFile dic(programDir.filePath(QStringLiteral("COLOR.DIC")));
    ASSERT_TRUE(dic.open(QIODevice::ReadOnly));
    EXPECT_EQ(dic.readAll(), QByteArray("sky,1,2,3,4\r\n\x1a"));
}

TEST_F(FrameTest, CloseWithAPluginWindowOnlyClosesThatWindow) {
    ASSERT_TRUE(Start());
    CPelmarkDoc* doc = NewDocument();
    ASSERT_TRUE(doc);
    std::vector<uint32_t> received;
    WinHandle pluginWindow = platform::WinCreateFunction(
        [&](WinHandle, uint32_t message, WinWParam, WinLParam) -> WinResult {
            received.push_back(message);
            return 0;
        });
    PluginToolRecord record{};
    record.window = pluginWindow;
    record.window2 = pluginWindow;  // its preview, here the same receiver
    doc->m_ToolPlugin.window = pluginWindow;
    doc->m_ToolPlugin.record = &record;

    EXPECT_FALSE(Frame()->close());
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(received, (std::vector<uint32_t>{CMainFrame::kCloseMessage, CMainFrame::kCloseMessage}));
    EXPECT_EQ(doc->m_ToolPlugin.window, nullptr);
    EXPECT_EQ(Ini("Settings", "WindowPos"), "<none>");  // the sequence stopped there
    WinDestroy(pluginWindow);
}

// Revert reopens the active document's own file, not the one opened last.
TEST_F(FrameTest, RevertReopensTheActiveDocumentsFile) {
    ASSERT_TRUE(Start());
    CPelmarkDoc* first = NewDocument(QStringLiteral("/pictures/first.gif"));
    CPelmarkDoc* second = NewDocument(QStringLiteral("/pictures/second.gif"));
    ASSERT_TRUE(first && second);
    SetLastOpenedPath(QStringLiteral("/pictures/first.gif"));
    Frame()->MDIActivate(Frame()->ChildFrames().back());
    second->SetModifiedFlag(true);

    ASSERT_TRUE(Frame()->SendCommand(CMainFrame::kRevertId));
    ASSERT_FALSE(app->opened.empty());
    EXPECT_EQ(app->opened.back(), QStringLiteral("/pictures/second.gif"));
    // The other document stays open.
    std::vector<framework::Document*> docs = app->Documents();
    EXPECT_NE(std::find(docs.begin(), docs.end(), first), docs.end());
    EXPECT_EQ(std::find(docs.begin(), docs.end(), second), docs.end());
}

TEST_F(FrameTest, CloseAllClosesEveryChild) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(NewDocument());
    ASSERT_TRUE(NewDocument());
    ASSERT_EQ(Frame()->ChildFrames().size(), 2u);
    Frame()->SendCommand(CMainFrame::kCloseAllId);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Frame()->ChildFrames().empty());
}

TEST_F(FrameTest, DroppedFilesAreOpened) {
    ASSERT_TRUE(Start());
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(QStringLiteral("/pictures/a.gif")),
                   QUrl::fromLocalFile(QStringLiteral("/pictures/b.gif"))});
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window, as the drag-and-drop machinery delivers it.
    static_cast<QObject*>(Frame())->event(&drop);
    EXPECT_EQ(app->opened, (std::vector<QString>{QStringLiteral("/pictures/a.gif"),
                                                 QStringLiteral("/pictures/b.gif")}));
    delete data;
}

TEST_F(FrameTest, StatusPanes) {
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    f->SetPaneText(1, 0, QStringLiteral("读取中"));
    f->SetPaneText(2, 1, QStringLiteral("  3 x 4  "));
    EXPECT_EQ(f->PaneText(1, 0), QStringLiteral("读取中"));
    EXPECT_EQ(f->PaneText(2, 1), QStringLiteral("  3 x 4  "));
    EXPECT_EQ(f->StatusFont().pixelSize(), 12);
}

}  // namespace
}  // namespace frametest
