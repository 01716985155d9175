// The main frame's image-map commands (the link palette) and the selection
// modes (the selection-mode palette).
#include "dialogs/link_text_dlg.h"
#include "dialogs/url_dlg.h"
#include "document/display_toggles.h"
#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "framework/cmd_ui.h"
#include "palettes/link_palette.h"
#include "palettes/select_mode_palette.h"
#include "palettes/tool_palette.h"
#include "tools/tool_dispatch.h"
#include "view/pelmark_view.h"
#include "view/view_globals.h"

namespace {

constexpr framework::CommandId kFirstMapCommand = tools::kMapRectTool;
constexpr framework::CommandId kLastMapCommand = tools::kMapTextTool;
constexpr framework::CommandId kFirstModeCommand = CSelectModePalette::kFirstModeCommand;
constexpr framework::CommandId kLastModeCommand = kFirstModeCommand + CSelectModePalette::kButtons - 1;

QString MapToolName(framework::CommandId c) {
    switch (c) {
    case tools::kMapRectTool: return QStringLiteral("四边形");
    case tools::kMapCircleTool: return QStringLiteral("圆");
    case tools::kMapPointTool: return QStringLiteral("点");
    case tools::kMapPolyTool: return QStringLiteral("多边形");
    case tools::kMapOpenTool: return QStringLiteral("读取");
    case tools::kMapSaveTool: return QStringLiteral("保存");
    case tools::kMapMoveTool: return QStringLiteral("移动");
    case tools::kMapDeleteTool: return QStringLiteral("消除");
    case tools::kMapUrlTool: return QStringLiteral("URL");
    default: return {};
    }
}

}  // namespace

void CMainFrame::declareMapCommands(framework::CommandTable& table) {
    table.OnRange(kFirstMapCommand, kLastMapCommand, this, &CMainFrame::OnMapCommand)
        .OnUpdateRange(kFirstMapCommand, kLastMapCommand, this, &CMainFrame::OnUpdateMapCommand)
        .OnRange(kFirstModeCommand, kLastModeCommand, this, &CMainFrame::OnSelectModeCommand)
        .OnUpdateRange(kFirstModeCommand, kLastModeCommand, this, &CMainFrame::OnUpdateSelectModeCommand);
}

void CMainFrame::OnMapCommand(CommandId c) {
    CPelmarkView* view = GetActivePelmarkView();
    CPelmarkDoc* doc = view ? view->GetDocument() : nullptr;
    if (!doc) return;
    if (c == tools::kMapTextTool) {
        if (!CheckWorkMemory(1)) return;
        CLinkTextDlg dialog(this);
        if (!dialog.BuildAreaHtml(view->Regions())) {
            ShowOutOfMemory();
            return;
        }
        dialog.DoModal();
        dialog.FreeAreaHtml();
        return;
    }
    view->BeginMapCommand();
    doc->SetEditMode(c);
    SetPaneText(1, 0, QStringLiteral("连接面板的") + MapToolName(c) + QStringLiteral("选择工具"));
    SetPaneText(2, 1, QStringLiteral(" "));
    if (c == tools::kMapOpenTool) view->OnOpenMapFile();
    else if (c == tools::kMapSaveTool) view->OnSaveMapFile();
    UpdateToolRecButtons(doc->m_nToolId);
    RefreshActiveView();
}

void CMainFrame::OnUpdateMapCommand(framework::CmdUI& ui) {
    CPelmarkDoc* doc = GetActiveDoc();
    const bool enabled = doc && !GetViewDisplayToggles().guideEdit &&
                         !locks_.IsSet(CommandLockTable::kToolCommands);
    ui.Enable(enabled);
    ui.SetCheck(doc && doc->m_nToolId == int(ui.id()) ? 1 : 0);
}

void CMainFrame::OnSelectModeCommand(CommandId c) {
    view::SelectionModeIndex() = int(c - kFirstModeCommand);
    ShowRangeBar(false);
    if (toolPalette_) toolPalette_->SelectionModeChosen();
}

void CMainFrame::OnUpdateSelectModeCommand(framework::CmdUI& ui) {
    ui.Enable(true);
    ui.SetCheck(view::SelectionModeIndex() + kFirstModeCommand == ui.id() ? 1 : 0);
}

void CMainFrame::SetRangeBarState(int x, int y) {
    if (selectModePalette_) selectModePalette_->move(x + 12, y + 12);
}

void CMainFrame::ShowRangeBar(bool show) {
    if (!selectModePalette_) return;
    UpdateRangeBarButtons(view::SelectionModeIndex());
    selectModePalette_->setVisible(show);
}

void CMainFrame::UpdateToolRecButtons(CommandId command) {
    if (linkPalette_) linkPalette_->PressOnly(command);
}

void CMainFrame::UpdateRangeBarButtons(int mode) {
    if (selectModePalette_) selectModePalette_->PressOnly(kFirstModeCommand + CommandId(mode));
}

bool CMainFrame::AskRegionUrl(QString* url) {
    CUrlDlg dialog(this);
    dialog.m_strUrl = *url;
    if (dialog.DoModal() != framework::IDOK) return false;
    *url = dialog.m_strUrl;
    return true;
}

// Without a link palette (a frame not loaded) nothing hides the regions.
bool CMainFrame::LinkPaletteShown() const { return !linkPalette_ || !linkPalette_->isHidden(); }
