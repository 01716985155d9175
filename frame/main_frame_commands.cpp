// The main frame's own commands: showing and hiding bars and palettes,
// saving the display settings, revert, close all, and dropped files.
#include <algorithm>

#include <QStatusBar>
#include <QToolBar>

#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "framework/program_recent_list.h"
#include "framework/application.h"
#include "framework/child_frame.h"
#include "framework/cmd_ui.h"
#include "palettes/color_palette_bar.h"
#include "palettes/link_palette.h"
#include "palettes/layer_list_dlg.h"
#include "palettes/guide_palette.h"
#include "palettes/palette_dialog.h"
#include "palettes/pos_palette_dlg.h"
#include "palettes/tool_palette.h"
#include "view/child_frame.h"

namespace {

const QString kSettings = QStringLiteral("Settings");
constexpr int32_t kFirstMapTool = 625;
constexpr int32_t kLastMapTool = 633;

bool shown(const QWidget* w) { return w && !w->isHidden(); }

}  // namespace

void CMainFrame::DeclareCommands(framework::CommandTable& table) {
    using framework::CmdUI;
    declareToolCommands(table);
    declareMapCommands(table);
    table.On(kToolPaletteId, [this] { toggleToolPalette(); })
        .OnUpdate(kToolPaletteId, [this](CmdUI& ui) { paletteCheck(ui, shown(toolPalette_)); })
        .On(kColorPaletteId, [this] { toggleColorPalette(); })
        .OnUpdate(kColorPaletteId, [this](CmdUI& ui) {
            paletteCheck(ui, shown(colorPalette_));
            auto* doc = dynamic_cast<CPelmarkDoc*>(GetActiveDocument());
            if (!doc || !doc->m_hImage) ui.Enable(false);
        })
        .On(kInfoBarId, [this] { if (infoBar_) infoBar_->setVisible(infoBar_->isHidden()); })
        .OnUpdate(kInfoBarId, [this](CmdUI& ui) { paletteCheck(ui, shown(infoBar_)); })
        .On(kLayerPaletteId, [this] { toggleFlagged(layerPalette_, layerVisible_); })
        .OnUpdate(kLayerPaletteId, [this](CmdUI& ui) { paletteCheck(ui, layerVisible_); })
        .On(kPosPaletteId, [this] { toggleFlagged(posPalette_, posVisible_); })
        .OnUpdate(kPosPaletteId, [this](CmdUI& ui) { paletteCheck(ui, posVisible_); })
        .On(kGuidePaletteId, [this] { toggleFlagged(guidePalette_, guideVisible_); })
        .OnUpdate(kGuidePaletteId, [this](CmdUI& ui) { paletteCheck(ui, guideVisible_); })
        .On(kLinkPaletteId, [this] { toggleLinkPalette(); })
        .OnUpdate(kLinkPaletteId, [this](CmdUI& ui) { paletteCheck(ui, shown(linkPalette_)); })
        .On(kToneBarId, [this] { toggleToneBar(); })
        .OnUpdate(kToneBarId, [this](CmdUI& ui) { paletteCheck(ui, shown(toneBar_)); })
        .On(framework::ID_VIEW_TOOLBAR, [this] { toggleMainToolBar(); })
        .OnUpdate(framework::ID_VIEW_TOOLBAR, [this](CmdUI& ui) { paletteCheck(ui, shown(toolBar_)); })
        .OnUpdate(framework::ID_VIEW_STATUS_BAR,
                  [this](CmdUI& ui) { paletteCheck(ui, shown(statusBar())); })
        .On(kRulerId, [this] { toggleRulers(); })
        .OnUpdate(kRulerId, [this](CmdUI& ui) { paletteCheck(ui, rulers_); })
        .On(kSaveDisplaySettingsId, [this] { SaveDisplaySettings(); })
        .On(kRevertId, [this] { revertDocument(); })
        .OnUpdate(kRevertId, [this](CmdUI& ui) {
            framework::Document* doc = GetActiveDocument();
            ui.Enable(doc && !doc->GetPathName().isEmpty() && !IsCommandLocked());
        })
        .On(kCloseAllId, [this] { closeAllFiles(); })
        .OnRange(kFirstRecentFileId, kFirstRecentFileId + kProgramRecentFiles - 1,
                 [this](CommandId id) { openRecentFile(id); })
        .OnUpdateRange(kFirstRecentFileId, kFirstRecentFileId + kProgramRecentFiles - 1,
                       [this](CmdUI& ui) { updateRecentFile(ui); });
    framework::MdiFrame::DeclareCommands(table);
}

void CMainFrame::paletteCheck(framework::CmdUI& ui, bool checked) {
    ui.SetCheck(checked ? 1 : 0);
    ui.Enable(!ToolWindowsDisabled());
}

void CMainFrame::toggleToolPalette() {
    if (!toolPalette_) return;
    if (toolPalette_->isHidden()) {
        dockToolPalette();
        toolPalette_->show();
    } else {
        toolPalette_->hide();
    }
}

void CMainFrame::dockToolPalette() {
    toolPalette_->setAllowedAreas(Qt::RightDockWidgetArea);
    if (toolPalette_->isFloating()) toolPalette_->setFloating(false);
    addDockWidget(Qt::RightDockWidgetArea, toolPalette_);
}

void CMainFrame::toggleMainToolBar() {
    if (!toolBar_) return;
    if (toolBar_->isHidden()) {
        addToolBar(Qt::TopToolBarArea, toolBar_);
        toolBar_->show();
    } else {
        toolBar_->hide();
    }
}

void CMainFrame::toggleToneBar() {
    if (!toneBar_) return;
    if (toneBar_->isHidden()) {
        // Above the information bar, which stays the lowest.
        insertToolBar(infoBar_, toneBar_);
        toneBar_->show();
    } else {
        toneBar_->hide();
    }
}

void CMainFrame::toggleLinkPalette() {
    if (!linkPalette_) return;
    bool show = linkPalette_->isHidden();
    linkPalette_->setVisible(show);
    if (show) return;
    // Without its palette, image-map editing ends: back to the hand tool.
    auto* doc = dynamic_cast<CPelmarkDoc*>(GetActiveDocument());
    if (doc && doc->m_nToolId >= kFirstMapTool && doc->m_nToolId <= kLastMapTool) {
        doc->m_nToolId = CPelmarkDoc::kHandToolId;
        RefreshActiveView();
    }
}

void CMainFrame::toggleColorPalette() {
    if (!colorPalette_) return;
    colorVisible_ = colorPalette_->isHidden();
    colorPalette_->setVisible(colorVisible_);
}

void CMainFrame::toggleFlagged(QWidget* window, bool& flag) {
    if (!window) return;
    flag = !flag;
    window->setVisible(flag);
}

void CMainFrame::toggleRulers() {
    rulers_ = !rulers_;
    auto* child = dynamic_cast<CChildFrame*>(MDIGetActive());
    if (!child) return;
    const QSize before = child->RulerStrips();
    if (rulers_) {
        if (!child->CreateRulers()) ShowWorkMemoryError();
    } else {
        child->DestroyRulers();
    }
    // The frame grows or shrinks by the strips on its top and left edges,
    // so that the canvas keeps its place and size on the screen; a frame at
    // the area's top or left edge stays there with its title bar in sight.
    if (child->isMaximized() || child->isMinimized()) return;
    const QSize grow = child->RulerStrips() - before;
    QPoint place = child->pos() - QPoint(grow.width(), grow.height());
    place = QPoint(std::max(0, place.x()), std::max(0, place.y()));
    child->setGeometry(QRect(place, child->size() + grow));
}

void CMainFrame::SaveDisplaySettings() {
    framework::Application* app = framework::Application::Instance();
    if (!app) return;
    auto write = [app](const char* key, bool on) {
        app->WriteProfileInt(kSettings, QString::fromLatin1(key), on ? 1 : 0);
    };
    write("DispColorPalette", colorVisible_);
    write("DispToolPalette", shown(toolPalette_));
    write("DispToolBar", shown(toolBar_));
    write("DispToolBarTone", shown(toneBar_));
    write("DispStatusBar", shown(statusBar()));
    write("DispStatusBar2", shown(infoBar_));
    write("DispToolRecPalette", shown(linkPalette_));
    write("DispLayerPalette", shown(layerPalette_));
    write("DispPosPalette", shown(posPalette_));
    write("DispGaidPalette", shown(guidePalette_));
    write("DispZyougi", rulers_);
}

void CMainFrame::revertDocument() {
    framework::Document* doc = GetActiveDocument();
    framework::Application* app = framework::Application::Instance();
    if (!doc || !app) return;
    // The active document's own file, not whichever file was opened last.
    QString path = doc->GetPathName();
    if (path.isEmpty()) return;
    doc->SetModifiedFlag(false);
    app->ReopenDocument(path);
}

void CMainFrame::closeAllFiles() {
    // One close per child; a close that the user refuses ends the run.
    while (MDIGetActive()) {
        size_t before = ChildFrames().size();
        SendCommand(framework::ID_FILE_CLOSE);
        if (ChildFrames().size() >= before) break;
    }
}

void CMainFrame::OnDropFiles(const QStringList& paths) { framework::MdiFrame::OnDropFiles(paths); }
