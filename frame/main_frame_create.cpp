// Making the main frame: bars, palettes, the colour dictionary, the display
// settings and the window placement.
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "framework/program_globals.h"
#include "dialogs/brush_size_dlg.h"
#include "dialogs/gradient_dlg.h"
#include "document/image_limits.h"
#include "frame/main_frame.h"
#include "frame/main_menu.h"
#include "framework/resource_pictures.h"
#include "frame/window_placement.h"
#include "framework/application.h"
#include "palettes/color_palette_bar.h"
#include "palettes/link_palette.h"
#include "palettes/layer_list_dlg.h"
#include "palettes/guide_palette.h"
#include "palettes/palette_dialog.h"
#include "palettes/pos_palette_dlg.h"
#include "palettes/select_mode_palette.h"
#include "palettes/tool_palette.h"
#include "platform/paths.h"
#include "tools/pen_stamps.h"

namespace {

const QString kSettings = QStringLiteral("Settings");
constexpr int kToolBarId = 59392;

int profileInt(const char* key, int def) {
    framework::Application* app = framework::Application::Instance();
    return app ? app->GetProfileInt(kSettings, QString::fromLatin1(key), def) : def;
}

QRect screenArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

// The main toolbar: command, image and tooltip of each slot; 0 is a separator.
std::vector<framework::ToolButton> toolBarButtons(bool mapTool) {
    std::vector<framework::ToolButton> b = {
        {57600, 0, "新建图像\n新建"}, {57601, 1, "打开图像文件\n打开"}, {57603, 2, "保存图像\n保存"},
        {0, -1, {}},
        {57643, 9, "撤消上一步操作\n撤消"}, {57644, 10, "重做撤消的操作\n重做"},
        {0, -1, {}},
        {57635, 3, "剪切选择范围\n剪切"}, {57634, 4, "复制选择范围\n复制"}, {57637, 5, "粘贴剪贴板的图像\n粘贴"},
        {0, -1, {}},
        {34018, 19, "不透明粘贴\n不透明粘贴"}, {34019, 20, "透明粘贴\n透明粘贴"}, {34020, 21, "半透明粘贴\n半透明粘贴"},
        {0, -1, {}},
        {34034, 22, "对齐主网格\n主抓图"}, {34035, 23, "对齐子网格\n副抓图"},
        {0, -1, {}},
        {34016, 25, "显示主网格\n主网格"}, {34033, 26, "显示子网格\n子网格"},
        {0, -1, {}},
        {34002, 11, "1 倍显示\n1 倍"}, {34003, 12, "2 倍显示\n2 倍"}, {34004, 13, "4 倍显示\n4 倍"},
        {34005, 14, "6 倍显示\n6 倍"}, {34006, 15, "8 倍显示\n8 倍"}, {34007, 16, "16 倍显示\n16 倍"},
        {635, 17, "显示 α 通道\nα 通道"},
        {0, -1, {}},
        {34036, 18, "显示辅助线\n辅助线显示"}, {34037, 24, "编辑辅助线\n辅助线设定"},
        {0, -1, {}},
        {34012, 27, "制作动画\n制作动画"}, {34027, 28, "动画预览\n动画预览"},
    };
    if (mapTool) {
        b.push_back({0, -1, {}});
        b.push_back({34038, 28, "地图显示\n地图显示"});
        b.push_back({32838, 28, "设置α值\n设置α值"});
    }
    return b;
}

}  // namespace

bool CMainFrame::LoadFrame() {
    setWindowTitle(QStringLiteral("Kavolt"));
    setWindowIcon(pictures::ProgramIcon());
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    LoadMenuBar(MainMenu());
    AddAccelerators(ExtraAccelerators());

    QRect screen = screenArea();
    QPoint paletteCorner(screen.width() - 380, screen.height() / 2);

    // Each step in the order the frame makes them; the first that fails
    // stops the frame.
    auto fail = [this] {
        ShowOutOfMemory();
        return false;
    };
    if (!createStatusBars()) return fail();
    if (!createToneBar()) return fail();
    if (!createToolPalette()) return fail();

    selectModePalette_ = new CSelectModePalette(this);
    selectModePalette_->PlaceAt(QPoint(0, 0));
    selectModePalette_->hide();

    linkPalette_ = new CToolRecPalette(this);
    linkPalette_->PlaceAt(paletteCorner);

    colorPalette_ = new CColorPaletteBar(this);
    colorPalette_->Reposition(12, 12, 256, 16);
    colorPalette_->Create(paletteCorner);
    colorPalette_->GetServices().paletteEditor = [this] { runColorBarPaletteEditor(); };

    if (!createMainToolBar()) return fail();

    // No child of the frame: it stays usable while the frame is disabled.
    gradientDlg_ = new CGradientDlg;
    gradientDlg_->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    gradientDlg_->SetTransientOwner(this);
    if (!gradientDlg_->Create(nullptr, false)) return fail();

    layerPalette_ = new CLayerListDlg;
    posPalette_ = new CPosPaletteDlg;
    guidePalette_ = new CGuidePalette;
    if (!layerPalette_->CreatePalette(this, paletteCorner) ||
        !posPalette_->CreatePalette(this, paletteCorner) ||
        !guidePalette_->CreatePalette(this, paletteCorner))
        return fail();

    // The colour dictionary: the user's copy, else the program's own.
    colorDic_.SetDirectories(GetProgramDirectory(),
                             QString::fromStdString(platform::SettingsFallbackDirectory()));
    if (!colorDic_.LoadColorDic()) return fail();

    for (int i = 0; i < pictures::kProgramCursorCount; ++i)
        cursors_.push_back(pictures::ProgramCursor(pictures::ProgramCursorIds()[i]));

    connectEditDialogs(true);
    applyDisplaySettings();
    return true;
}

bool CMainFrame::createToneBar() {
    toneBar_ = new QToolBar(QStringLiteral("样式栏"), this);
    toneBar_->setObjectName(QStringLiteral("ToneBar"));
    toneBar_->setIconSize(pictures::kButtonImage);
    toneBar_->setAllowedAreas(Qt::BottomToolBarArea | Qt::TopToolBarArea);
    std::vector<framework::ToolButton> buttons;
    for (int i = 0; i < kToneButtons; ++i) {
        // Level i covers i + 1 of 16 pixels.
        QString percent = QString::number((i + 1) * 6.25, 'f', i % 2 ? 2 : 1);
        if (percent.endsWith(QLatin1String(".0"))) percent.chop(2);
        buttons.push_back({kFirstToneId + CommandId(i), i,
                           QStringLiteral("样式 %1%\n样式 %1%").arg(percent)});
    }
    framework::BuildToolBar(toneBar_, buttons,
                            framework::IconStrip(pictures::ToneBarStrip(), pictures::kButtonImage),
                            Hooks());
    addToolBar(Qt::BottomToolBarArea, toneBar_);
    RegisterControlBar(kToneBarId, toneBar_);
    return true;
}

bool CMainFrame::createToolPalette() {
    toolPalette_ = new CToolPalette(this);
    toolPalette_->setAllowedAreas(Qt::RightDockWidgetArea);
    addDockWidget(Qt::RightDockWidgetArea, toolPalette_);
    toolPalette_->RestorePosition();
    if (!toolPalette_->StoredDocked()) toolPalette_->setFloating(true);
    toolPalette_->hide();
    toolPalette_->GetServices().editCustomPen = [this](int slot) {
        CBrushSizeDlg dlg(toolpal::kFirstCustomPenButton + slot, this);
        if (dlg.DoModal() != framework::IDOK || !toolPalette_) return;
        toolPalette_->SetSetting(toolpal::kLineDiameter, tools::CustomPens()[size_t(dlg.m_nSlot)].size);
    };
    return true;
}

bool CMainFrame::createMainToolBar() {
    int mapTool = profileInt("MapTool", 0);
    SetMapToolSetting(mapTool);
    toolBar_ = new QToolBar(QStringLiteral("工具栏"), this);
    toolBar_->setObjectName(QStringLiteral("MainToolBar"));
    toolBar_->setIconSize(pictures::kButtonImage);
    toolBar_->setAllowedAreas(Qt::TopToolBarArea);
    framework::BuildToolBar(toolBar_, toolBarButtons(mapTool != 0),
                            framework::IconStrip(pictures::ToolbarStrip(), pictures::kButtonImage),
                            Hooks());
    addToolBar(Qt::TopToolBarArea, toolBar_);
    RegisterControlBar(kToolBarId, toolBar_);
    toolBar_->update();
    toneBar_->update();
    return true;
}

void CMainFrame::applyDisplaySettings() {
    // Dock positions of the last run; what is shown is decided below.
    if (framework::Application* app = framework::Application::Instance()) {
        QByteArray state = QByteArray::fromBase64(
            app->GetProfileString(QStringLiteral("General"), QStringLiteral("BarState")).toLatin1());
        if (!state.isEmpty()) restoreState(state);
    }
    rulers_ = profileInt("DispZyougi", 1) != 0;
    toolBar_->setVisible(profileInt("DispToolBar", 1) != 0);
    toneBar_->setVisible(profileInt("DispToolBarTone", 1) != 0);
    statusBar()->setVisible(profileInt("DispStatusBar", 1) != 0);
    infoBar_->setVisible(profileInt("DispStatusBar2", 1) != 0);
    colorVisible_ = profileInt("DispColorPalette", 1) != 0;
    colorPalette_->setVisible(colorVisible_);
    guideVisible_ = profileInt("DispGaidPalette", 1) != 0;
    guidePalette_->setVisible(guideVisible_);
    // The tool, link, layer and position palettes start hidden: the start-up
    // sends their commands for those whose Disp... key is on.
    toolPalette_->hide();
    linkPalette_->hide();
    layerVisible_ = false;
    layerPalette_->hide();
    posVisible_ = false;
    posPalette_->hide();
    selectModePalette_->hide();
}

void CMainFrame::setVisible(bool visible) {
    if (visible && !placed_) {
        placed_ = true;
        applyWindowPlacement();
    }
    framework::MdiFrame::setVisible(visible);
}

void CMainFrame::applyWindowPlacement() {
    framework::Application* app = framework::Application::Instance();
    if (!app) return;
    std::optional<WindowPlacement> p =
        ParseWindowPlacement(app->GetProfileString(kSettings, QStringLiteral("WindowPos")));
    if (!p) return;
    if (p->normal.isValid()) setGeometry(p->normal);
    // The start asked for a state of its own (minimised): that one holds.
    if (windowState() & Qt::WindowMinimized) return;
    // A window closed while minimised comes back as it was before.
    bool maximised = p->showCmd == WindowPlacement::kShowMaximized ||
                     (p->showCmd == WindowPlacement::kShowMinimized &&
                      (p->flags & WindowPlacement::kRestoreToMaximized));
    if (maximised) setWindowState(windowState() | Qt::WindowMaximized);
}
