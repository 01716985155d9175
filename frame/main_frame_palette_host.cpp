// The main frame as the host of its palette windows and of the dialogs.
#include <QString>

#include "frame/main_frame.h"
#include "palettes/select_mode_palette.h"
#include "palettes/tool_palette.h"

CPelmarkDoc* CMainFrame::ActiveDocument() const { return GetActiveDoc(); }

bool CMainFrame::PaletteBarLocked() const { return locks_.IsSet(CommandLockTable::kPaletteBar); }

ToolOptions& CMainFrame::ToolSettings() { return ToolOptionValues(); }

const QFont& CMainFrame::PaletteFont() const { return StatusFont(); }

void CMainFrame::ShowStatusMessage(const QString& text) { SetPaneText(1, 0, text); }

void CMainFrame::EnableMainWindow(bool enabled) { setEnabled(enabled); }

CColorPaletteBar* CMainFrame::ColorBar() const { return ColorPalette(); }

QWidget* CMainFrame::SelectModeWindow() const { return SelectModePalette(); }

void CMainFrame::RepaintToolPalette() {
    if (ToolPalette()) ToolPalette()->update();
}

bool CMainFrame::LayerCommandsLocked() const { return locks_.IsSet(CommandLockTable::kLayers); }

framework::CommandHooks CMainFrame::FrameCommandHooks() { return Hooks(); }

void CMainFrame::RepaintActiveView() { RefreshActiveView(); }
