// The tool palette's commands in the main frame: choosing a tool, the edit
// buttons, the pen sizes and the tone flag, with their status texts and the
// states of the palette's buttons.
#include "document/edit_state.h"
#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "framework/cmd_ui.h"
#include "palettes/color_palette_bar.h"
#include "palettes/tool_buttons.h"
#include "palettes/tool_palette.h"
#include "document/display_toggles.h"

namespace {

constexpr int kToolIndexHand = tools::kHandTool - toolpal::kFirstToolCommand;

bool isToolChoice(framework::CommandId c) {
    return c >= toolpal::kFirstToolCommand && c < toolpal::kFirstEditCommand;
}

// The scale and rotate tools chosen from a selection tool go on with its
// floating selection.
bool keepsFloating(framework::CommandId c, int tool) {
    const bool transform = c == tools::kScaleTool || c == tools::kRotateTool;
    return transform && (tool == tools::kSelectTool || tool == tools::kWandTool);
}

}  // namespace

void CMainFrame::declareToolCommands(framework::CommandTable& table) {
    table.OnRange(toolpal::kFirstToolCommand, toolpal::kToneFlagCommand, this, &CMainFrame::OnToolCommand)
        .OnUpdateRange(toolpal::kFirstToolCommand, toolpal::kToneFlagCommand, this,
                       &CMainFrame::OnUpdateToolCommand)
        .OnRange(toolpal::kFirstPenSize, toolpal::kLastPenSize, this, &CMainFrame::OnToolCommand)
        .OnUpdateRange(toolpal::kFirstPenSize, toolpal::kLastPenSize, this, &CMainFrame::OnUpdateToolCommand);
}

void CMainFrame::OnToolCommand(CommandId c) {
    CPelmarkDoc* doc = GetActiveDoc();
    if (!doc) return;
    if (c == toolpal::kToneFlagCommand) {
        const int old = doc->m_bTone ? 1 : 0;
        doc->m_bTone = old ? 0 : 1;
        if (colorPalette_) colorPalette_->OnPaletteBarUpdate(PALETTEBAR_TONE, old);
        return;
    }
    QString name = toolpal::ToolStatusName(c);
    if (isToolChoice(c)) {
        const int index = int(c) - toolpal::kFirstToolCommand;
        document::GetProgramEditState().toolIndex = index;
        if (toolPalette_) toolPalette_->ShowToolSettings(index);
        doc->SelectTool(c);
        UpdateLayerPalette(doc);
    } else if (doc->m_nToolId == tools::kPenTool) {
        const int pen = toolpal::IsPenSize(c) ? int(c) : int(c) + toolpal::kFirstPenSize - toolpal::kFirstEditCommand;
        doc->m_nPenId = pen;
        name = toolpal::ToolStatusName(pen);
    } else if (toolpal::IsPenSize(c)) {
        // A pen size is no edit: without the pen it changes nothing.
        return;
    } else {
        doc->SetEditMode(c, keepsFloating(c, doc->m_nToolId));
    }
    SetPaneText(1, 0, QStringLiteral("画板") + name + QStringLiteral("选择工具"));
    if (c <= 561 && c != tools::kWandTool && c != tools::kZoomTool) SetPaneText(2, 1, QStringLiteral(" "));
    SetToolPaletteButtons(c, doc->m_nToolId);
    RefreshCurrentTool();
}

void CMainFrame::OnUpdateToolCommand(framework::CmdUI& ui) {
    toolpal::ToolContext context;
    CPelmarkDoc* doc = GetActiveDoc();
    context.hasDocument = doc != nullptr;
    context.toolWindowsDisabled = ToolWindowsDisabled();
    context.toolsLocked = locks_.IsSet(CommandLockTable::kToolCommands);
    context.guideEditing = GetViewDisplayToggles().guideEdit;
    if (doc) {
        context.tool = doc->m_nToolId;
        context.penId = doc->m_nPenId;
        context.selection = doc->m_hFloatImage != nullptr;
    }
    const toolpal::CommandState state = toolpal::ToolCommandState(int(ui.id()), context);
    ui.Enable(state.enabled);
    ui.SetCheck(state.checked ? 1 : 0);
}

void CMainFrame::SetToolPaletteButtons(CommandId command, int tool) {
    if (!toolPalette_ || !ButtonsFollowPlugin()) return;
    CPelmarkDoc* doc = GetActiveDoc();
    toolPalette_->ApplyButtonStates(
        toolpal::PluginButtonStates(int(command), tool, doc->m_nPenId, doc->m_hFloatImage != nullptr));
}

void CMainFrame::SetCurrentTool(int toolIndex) {
    if (toolPalette_) toolPalette_->SetCurrentTool(toolIndex);
}

void CMainFrame::RefreshCurrentTool() {
    if (toolPalette_) toolPalette_->RefreshCurrentTool();
}

void CMainFrame::RedrawToolPalette() { RefreshCurrentTool(); }

void CMainFrame::RefreshCurrentColor() {
    if (colorPalette_) colorPalette_->update();
}

void CMainFrame::SelectToolButton(int toolIndex) { SetCurrentTool(toolIndex); }

void CMainFrame::ResetToolSelection() {
    document::ProgramEditState& state = document::GetProgramEditState();
    state.toolIndex = kToolIndexHand;
    state.toolFlag = 0;
    SetCurrentTool(kToolIndexHand);
}
