// The settings dialog and the grid presets it keeps: what start-up reads,
// the dialog's tabs, OK and Cancel, its colour buttons, and the display
// flags written at closing.
#include <QCoreApplication>
#include <QFile>
#include <QMenuBar>
#include <QTabBar>

#include "dialogs/color_choice.h"
#include "dialogs/settings_dlg.h"
#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "frame_fixture.h"
#include "framework/child_frame.h"
#include "framework/dialog.h"
#include "framework/menu_builder.h"
#include "framework/program_globals.h"
#include "imaging/dib.h"
#include "platform/memory.h"
#include "platform/window_qt.h"
#include "plugin_api/plugin_messages.h"
#include "view/grid_presets.h"
#include "view/pelmark_view.h"
#include "view/view_geometry.h"

namespace frametest {
namespace {

class SettingsDlgTest : public FrameTest {
protected:
    void TearDown() override {
        SetColorChooser({});
        MemSetLimit(MEM_NO_LIMIT);
        if (plugin) WinDestroy(plugin);
        FrameTest::TearDown();
    }
    QString IniPath() const { return programDir.filePath(QStringLiteral("pm32.ini")); }
    QByteArray IniBytes() const {
        QFile file(IniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString MenuText(int index) const {
        QAction* action = framework::FindCommandAction(Frame()->menuBar(), 32884 + framework::CommandId(index));
        return action ? action->text() : QStringLiteral("<none>");
    }
    // A 40 x 30 document of index 0 in an active view at zoom 4.
    CPelmarkView* ImageView() {
        CPelmarkDoc* doc = NewDocument();
        if (!doc) return nullptr;
        doc->m_hImage = CreateDib8(40, 30, 0);
        EXPECT_TRUE(doc->InitDib());
        EXPECT_TRUE(document::CreateLayer(*doc, 0, 1));
        auto* view = dynamic_cast<CPelmarkView*>(doc->GetViews().front());
        Frame()->MDIActivate(view->GetParentFrame());
        QCoreApplication::processEvents();
        view->ExecuteCommand(view::ZoomCommandOf(4));
        QCoreApplication::processEvents();
        return view;
    }
    // Runs Ctrl+K's command with `drive` working the dialog.
    void RunDialog(const std::function<void(framework::Dialog&)>& drive) {
        framework::ScopedModalDriver driver([&](framework::Dialog& d) {
            ASSERT_EQ(d.TemplateId(), CSettingsDlg::kTemplateId);
            drive(d);
        });
        CPelmarkView* view = Frame()->GetActivePelmarkView();
        if (view) {
            view->ExecuteCommand(CPelmarkView::kSettingsId);
        } else {
            CSettingsDlg dlg(Frame());
            dlg.DoModal();
        }
    }
    static void SelectTab(framework::Dialog& d, int tab) { d.Item<QTabBar>(CSettingsDlg::kTabId)->setCurrentIndex(tab); }

    WinHandle plugin = nullptr;
    std::vector<std::pair<int, int>> gridSizes;
};

TEST_F(SettingsDlgTest, StartUpReadsThePresetsAndBuildsTheMenu) {
    WriteIni(QStringLiteral("[Settings]\nKankyou_Grid=2\n[Grid]\n"
                            "MainSnap2=16,16,255,0,0,1\n"
                            "SubSnap1=4,4,1,2,3\n"          // five numbers
                            "SubSnap2=a,b,1,2,3,0\n"        // no numbers
                            "SubSnap3=4,4,1,2,3,0,9\n"      // seven numbers
                            "MainSnap0=2000000000,-7,300,-5,128,0\n"));
    ASSERT_TRUE(Start());
    EXPECT_EQ(grid::GetMainGridWidth(), 16);
    EXPECT_EQ(grid::GetMainGridHeight(), 16);
    EXPECT_EQ(grid::GetMainGridColor(0), 255);
    EXPECT_EQ(grid::GetMainGridColor(1), 0);
    EXPECT_EQ(grid::GetMainGridColor(7), 7);  // not a component: as it came
    EXPECT_EQ(grid::GetGridEnableFlags(), 1);
    EXPECT_EQ(MenuText(2), QStringLiteral("3.  16,16  8,8"));
    EXPECT_EQ(MenuText(0), QStringLiteral("1.  4096,1  8,8"));
    const grid::GridSettings& s = grid::GetGridSettings();
    const grid::GridPreset start;
    for (int i : {1, 2, 3}) {
        EXPECT_EQ(s.presets[size_t(i)].subWidth, start.subWidth) << i;
        EXPECT_EQ(s.presets[size_t(i)].subColor, start.subColor) << i;
    }
    EXPECT_EQ(s.presets[0].mainColor, (std::array<int, 3>{255, 0, 128}));
}

TEST_F(SettingsDlgTest, CurrentPresetOutsideTheTableIsTheNearest) {
    for (auto [stored, want] : {std::pair{7, 3}, std::pair{-1, 0}}) {
        WriteIni(QStringLiteral("[Settings]\nKankyou_Grid=%1\n[Grid]\nMainSnap%2=12,12,0,0,0,0\n").arg(stored).arg(want));
        ASSERT_TRUE(Start());
        EXPECT_EQ(grid::GetGridSettings().current, want);
        EXPECT_EQ(grid::GetMainGridWidth(), 12);
        int shownTab = -1;
        RunDialog([&](framework::Dialog& d) {
            shownTab = d.Item<QTabBar>(CSettingsDlg::kTabId)->currentIndex();
            d.ClickButton(framework::IDCANCEL);
        });
        EXPECT_EQ(shownTab, want);
        app.reset();
    }
}

TEST_F(SettingsDlgTest, TabsKeepWhatWasTypedAndOkWritesEverything) {
    WriteIni(QStringLiteral("[Settings]\nKankyou_Grid=0\nMain_Grid_Disp=1\n"));
    ASSERT_TRUE(Start());
    CPelmarkView* view = ImageView();
    ASSERT_TRUE(view);
    plugin = platform::WinCreateFunction([this](WinHandle, uint32_t message, WinWParam w, WinLParam l) -> WinResult {
        if (message == WM_TOOL_GRIDSIZE) gridSizes.emplace_back(int(w), int(l));
        return 0;
    });
    view->GetDocument()->m_ToolPlugin.window = plugin;
    SetColorChooser([](QWidget*, ChosenColor& c) {
        c = {255, 0, 0, 0};
        return true;
    });
    RunDialog([&](framework::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(CSettingsDlg::kMainWidthId), QStringLiteral("8"));
        d.CheckDlgButton(CSettingsDlg::kAntiAliasId, 0);
        d.SetDlgItemText(CSettingsDlg::kMoveStepId, QStringLiteral("-3"));  // kept as typed
        d.CheckDlgButton(CSettingsDlg::kKeepWindowSizeId, 0);
        // Tab 1 (preset 0): sizes that are no cell become 1.
        d.SetDlgItemText(CSettingsDlg::kMainWidthId, QStringLiteral("0"));
        d.SetDlgItemText(CSettingsDlg::kMainHeightId, QStringLiteral("-5"));
        d.SetDlgItemText(CSettingsDlg::kSubWidthId, QStringLiteral("abc"));
        d.SetDlgItemText(CSettingsDlg::kSubHeightId, QStringLiteral("6"));
        d.CheckDlgButton(CSettingsDlg::kSubSnapId, 1);
        SelectTab(d, 2);
        EXPECT_EQ(d.GetDlgItemText(CSettingsDlg::kMainWidthId), QStringLiteral("8"));
        SelectTab(d, 0);
        EXPECT_EQ(d.GetDlgItemText(CSettingsDlg::kMainWidthId), QStringLiteral("1"));
        EXPECT_EQ(d.GetDlgItemText(CSettingsDlg::kMainHeightId), QStringLiteral("1"));
        EXPECT_EQ(d.GetDlgItemText(CSettingsDlg::kSubWidthId), QStringLiteral("1"));
        EXPECT_EQ(d.GetDlgItemText(CSettingsDlg::kSubHeightId), QStringLiteral("6"));
        EXPECT_TRUE(d.IsDlgButtonChecked(CSettingsDlg::kSubSnapId));
        // Tab 2 (preset 1) becomes a 16 x 16 red main grid with snapping.
        SelectTab(d, 1);
        d.SetDlgItemText(CSettingsDlg::kMainWidthId, QStringLiteral("16"));
        d.SetDlgItemText(CSettingsDlg::kMainHeightId, QStringLiteral("16"));
        d.CheckDlgButton(CSettingsDlg::kMainSnapId, 1);
        d.ClickButton(CSettingsDlg::kMainColorId);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(Ini("Settings", "AntiCheckBox"), QStringLiteral("0"));
    EXPECT_EQ(Ini("Settings", "PixcelCheckNum"), QStringLiteral("-3"));
    EXPECT_EQ(Ini("Settings", "WindowSizeCheckBox"), QStringLiteral("0"));
    EXPECT_EQ(Ini("Settings", "StartFileCheckBox"), QStringLiteral("1"));
    EXPECT_EQ(Ini("Settings", "Kankyou_Grid"), QStringLiteral("1"));
    EXPECT_EQ(Ini("Grid", "MainSnap0"), QStringLiteral("1,1,128,128,128,0"));
    EXPECT_EQ(Ini("Grid", "SubSnap0"), QStringLiteral("1,6,128,128,128,1"));
    EXPECT_EQ(Ini("Grid", "MainSnap1"), QStringLiteral("16,16,255,0,0,1"));
    for (int i : {1, 2, 3}) EXPECT_EQ(Ini("Grid", QStringLiteral("SubSnap%1").arg(i)), QStringLiteral("8,8,128,128,128,0"));
    for (int i : {2, 3}) EXPECT_EQ(Ini("Grid", QStringLiteral("MainSnap%1").arg(i)), QStringLiteral("8,8,128,128,128,0"));
    EXPECT_EQ(GetAntiAliasSetting(), 0);
    EXPECT_EQ(GetMoveStepSetting(), 1);  // its users take at least 1

    // The view shows the new preset: red lines every 64 screen pixels at zoom 4.
    EXPECT_EQ(view->MainCellWidth(), 16);
    EXPECT_EQ(view->SnapFlags(), 1);
    view->GetParentFrame()->resize(400, 300);
    QCoreApplication::processEvents();
    const QImage shot = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_GE(shot.height(), 100) << view->width() << "x" << view->height() << " visible " << view->isVisible();
    std::vector<int> redRows;
    for (int y = 0; y < 120; ++y)
        if (shot.pixel(1, y) == qRgb(255, 0, 0)) redRows.push_back(y);
    EXPECT_EQ(redRows, std::vector<int>{63});
    EXPECT_FALSE(gridSizes.empty());
    if (!gridSizes.empty()) {
        EXPECT_EQ(gridSizes.back(), std::make_pair(16, 16));
    }
    EXPECT_EQ(MenuText(1), QStringLiteral("2.  16,16  8,8"));
    EXPECT_EQ(MenuText(0), QStringLiteral("1.  1,1  1,6"));
    view->GetDocument()->m_ToolPlugin.window = nullptr;
}

TEST_F(SettingsDlgTest, CancelLeavesStoreViewMenuAndFileAsTheyWere) {
    WriteIni(QStringLiteral("[Settings]\nKankyou_Grid=1\n[Grid]\nMainSnap1=10,10,0,0,255,0\n"));
    ASSERT_TRUE(Start());
    CPelmarkView* view = ImageView();
    ASSERT_TRUE(view);
    const grid::GridSettings before = grid::GetGridSettings();
    const QByteArray file = IniBytes();
    const QString menu = MenuText(1);
    SetColorChooser([](QWidget*, ChosenColor& c) {
        c = {0, 255, 0, 0};
        return true;
    });
    RunDialog([&](framework::Dialog& d) {
        d.ClickButton(CSettingsDlg::kMainColorId);
        d.SetDlgItemText(CSettingsDlg::kMainWidthId, QStringLiteral("30"));
        SelectTab(d, 3);
        d.ClickButton(CSettingsDlg::kSubColorId);
        d.SetDlgItemText(CSettingsDlg::kSubWidthId, QStringLiteral("3"));
        SelectTab(d, 0);
        d.ClickButton(framework::IDCANCEL);
    });
    const grid::GridSettings& after = grid::GetGridSettings();
    EXPECT_EQ(after.presets, before.presets);
    EXPECT_EQ(after.current, before.current);
    EXPECT_EQ(IniBytes(), file);
    EXPECT_EQ(MenuText(1), menu);
    EXPECT_EQ(view->MainCellWidth(), 10);
    // A later snap toggle writes the colour the preset had.
    view->ExecuteCommand(34034);
    EXPECT_EQ(Ini("Grid", "MainSnap1"), QStringLiteral("10,10,0,0,255,1"));
}

TEST_F(SettingsDlgTest, ColourButtonsNeedMemoryAndAnActiveView) {
    ASSERT_TRUE(Start());
    int asked = 0;
    SetColorChooser([&](QWidget*, ChosenColor&) { return ++asked, true; });
    // Without a view: the command has no canvas; the dialog opened by the
    // frame still asks nothing.
    {
        CSettingsDlg dlg(Frame());
        framework::ScopedModalDriver driver([](framework::Dialog& d) {
            d.ClickButton(CSettingsDlg::kMainColorId);
            d.ClickButton(framework::IDCANCEL);
        });
        dlg.DoModal();
    }
    EXPECT_EQ(asked, 0);
    ASSERT_TRUE(ImageView());
    RunDialog([&](framework::Dialog& d) {
        MemSetLimit(MemBytesInUse());
        d.ClickButton(CSettingsDlg::kSubColorId);
        MemSetLimit(MEM_NO_LIMIT);
        EXPECT_EQ(asked, 0);
        d.ClickButton(CSettingsDlg::kSubColorId);
        d.ClickButton(framework::IDCANCEL);
    });
    EXPECT_EQ(asked, 1);
}

TEST_F(SettingsDlgTest, ClosingWritesTheDisplayFlagsAndStartUpReadsTheGeneralKeys) {
    WriteIni(QStringLiteral("[Settings]\nWindowSizeCheckBox=0\nAntiCheckBox=0\nPixcelCheckNum=5\n"));
    ASSERT_TRUE(Start());
    EXPECT_EQ(GetGeneralSettings().keepWindowSize, 0);
    EXPECT_EQ(GetAntiAliasSetting(), 0);
    EXPECT_EQ(GetMoveStepSetting(), 5);
    CPelmarkView* view = ImageView();
    ASSERT_TRUE(view);
    view->ExecuteCommand(34016);  // main grid shown
    view->ExecuteCommand(34033);
    view->ExecuteCommand(34033);  // sub grid shown and hidden again
    grid::GetGridSettings().displayFlags = 3;  // as if set without writing
    EXPECT_EQ(Ini("Settings", "Sub_Grid_Disp"), QStringLiteral("0"));
    Frame()->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(Ini("Settings", "Main_Grid_Disp"), QStringLiteral("1"));
    EXPECT_EQ(Ini("Settings", "Sub_Grid_Disp"), QStringLiteral("1"));
}

}  // namespace
}  // namespace frametest
