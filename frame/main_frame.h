// The editor's main frame: the multiple-document window with the menus, the
// two status bars, the main toolbar, the tone bar and the floating tool
// windows (palettes), and the services every part of the editor calls on
// (work-memory probe, command locks, refreshes of palettes and views). It is
// the documents' host (document/document_host.h) from its making to its end.
//
// LoadFrame creates, in this order: status bars, tone bar, tool palette,
// selection-mode palette, link palette, colour palette, main toolbar,
// gradient dialog, layer, position and guide palettes, then loads the colour
// dictionary and applies the display settings (Disp... keys). The first step
// that fails shows "内存不足。" and the frame is not made.
//
// Closing (OnClose): open plug-in windows are closed first and the close
// stops there; otherwise "Next Open File List" is rewritten, the grid
// display flags are written, "是否保存色表？" is asked when the colour
// dictionary changed (Cancel stops), the bar state ("General") and WindowPos
// are saved, and the framework asks about modified documents.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QPointer>

#include "dialogs/dialog_host.h"
#include "imaging/rgba_entry.h"
#include "document/document_host.h"
#include "frame/color_dic.h"
#include "frame/command_locks.h"
#include "tools/tool_options.h"
#include "framework/mdi_frame.h"
#include "plugin_host/plugin_frame.h"
#include "palettes/palette_host.h"
#include "plugin_host/plugin_frame.h"
#include "view/view_host.h"

class CPelmarkDoc;
class CPelmarkView;
class CColorPaletteBar;
class CGradientDlg;
class CGuidePalette;
class CLayerListDlg;
class CPosPaletteDlg;
class CSelectModePalette;
class CToolPalette;
class CToolRecPalette;
class QLabel;
class QStatusBar;
class QToolBar;

class CMainFrame : public framework::MdiFrame,
                   public document::DocumentHost,
                   public plugin_host::PluginFrame,
                   public view::ViewHost,
                   public PaletteHost,
                   public DialogHost {
    Q_OBJECT
public:
    using CommandId = framework::CommandId;
    // Commands of the frame's own table.
    static constexpr CommandId kToolPaletteId = 502;
    static constexpr CommandId kColorPaletteId = 34000;
    static constexpr CommandId kInfoBarId = 32875;
    static constexpr CommandId kLayerPaletteId = 32882;
    static constexpr CommandId kPosPaletteId = 32922;
    static constexpr CommandId kGuidePaletteId = 32941;
    static constexpr CommandId kLinkPaletteId = 32776;
    static constexpr CommandId kToneBarId = 32877;
    static constexpr CommandId kRulerId = 32876;
    static constexpr CommandId kSaveDisplaySettingsId = 32832;
    static constexpr CommandId kRevertId = 32849;
    static constexpr CommandId kCloseAllId = 657;
    static constexpr CommandId kFirstToneId = 636;
    static constexpr int kToneButtons = 16;
    // Sent to plug-in windows when the program closes.
    static constexpr uint32_t kCloseMessage = 0x0010;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The application's main frame, or null.
    static CMainFrame* Get();

    // Creates the bars and palettes; false when the frame cannot be made.
    virtual bool LoadFrame();

    // Work-memory probe: mode 2 tries 250,000,000 bytes, any other mode the
    // maximum width x maximum height x 8 bytes. 1 when the block could be
    // had (it is freed at once); else "工作内存不足" and 0.
    int CheckWorkMemory(int mode);
    void ShowWorkMemoryError();
    void ShowOutOfMemory();

    // True while any command lock is set.
    bool IsCommandLocked() const;
    // The command locks; a command whose lock is set shows disabled and does
    // not run.
    CommandLockTable& Locks() { return locks_; }
    void ClearCommandLocks() override { locks_.ClearCommandLocks(); }
    void LockToolCommands() { locks_.LockToolCommands(); }
    void LockEditCommands(int mode) { locks_.LockEditCommands(mode); }
    void LockSelectCommands(int mode) { locks_.LockSelectCommands(mode); }
    void LockForAnimationPlugin() { locks_.LockForAnimationPlugin(); }
    void LockViewCommand() { locks_.LockViewCommand(); }
    void LockPaletteCommand() { locks_.LockPaletteCommand(); }
    void LockLayerCommands() { locks_.LockLayerCommands(); }
    void LockAllCommands() { locks_.LockAllCommands(); }
    // LockAllCommands, then the layer palette takes the active document.
    void LockAllAndUpdateLayers();
    // While set, the palette commands with a check mark and the recent
    // files are disabled.
    bool ToolWindowsDisabled() const { return locks_.ToolWindowsDisabled(); }
    void SetToolWindowsDisabled(bool disabled) override { locks_.SetToolWindowsDisabled(disabled); }

    // The tool setting of an index 0..21 (0 for others), clamped.
    int GetToolOption(int index) { return toolOptions_.GetToolOption(index); }
    ToolOptions& ToolOptionValues() { return toolOptions_; }

    // The active child's document and view; null when none is open.
    CPelmarkDoc* GetActiveDoc() const;
    bool HasActiveDoc() const { return GetActiveDoc() != nullptr; }
    // Zoom of the active view, 1 when none.
    int GetActiveZoom() const;
    bool IsActiveChildMaximized() const;
    // Invalidates the active view and repaints it at once / later.
    void RedrawActiveView();
    void InvalidateActiveView();
    // The main grid cell of the active view (sent to plug-in windows).
    QSize ActiveGridSize() const;
    // The active child's canvas view, or null.
    CPelmarkView* GetActivePelmarkView() const;
    // The active view fits its child frame to the image at its zoom.
    void FitActiveFrame();
    // Scrolls the active view to (x, y) client pixels and repaints it.
    void ScrollActiveViewTo(int x, int y);
    // The active view stores its scroll position, size and zoom in its
    // document.
    void StoreActiveViewState();
    // The active view removes the palette entries no layer uses.
    void DeleteUnusedColorsInActiveView();
    // The palette editor on the active document, window-modal; its result.
    int RunPaletteEditorDialog();
    // The gradient dialog takes the document and is shown (null when the
    // frame has none).
    CGradientDlg* ShowGradientDialogFor(CPelmarkDoc* doc) override;
    // The frame follows this canvas view's zoom button signal.
    void WatchCanvasView(CPelmarkView* view);

    // While the animation maker or the hex tool runs its own loop the
    // accelerators are not in force; the canvas view then passes its keys
    // here. Sends the command the accelerator table gives for the key; true
    // when one was sent. Does nothing while no such plug-in runs.
    bool TranslateShortcutKey(int key, Qt::KeyboardModifiers modifiers);
    void SetPluginLoopRunning(bool running) override { pluginLoopRunning_ = running; }
    bool PluginLoopRunning() const { return pluginLoopRunning_; }

    // Button states while a plug-in runs: the idle update does not reach
    // the bars then (a plug-in loop may run for long), so the frame sets
    // them itself. Each does something only when a child with a document is
    // active and the animation maker or the hex tool runs or the document's
    // plug-in-running byte is set.
    bool ButtonsFollowPlugin() const;
    // The button of the zoom command pressed, the other five released.
    void SetZoomButtons(CommandId zoom);
    // Snap 34034/34035 and grid 34016/34033 by bit 0 (main) and bit 1 (sub).
    void SetGridButtons(int snapFlags, int gridFlags);
    // Guide buttons 34036/34037, released while lock 3 is set.
    void SetGuideButtons(bool shown, bool editing);
    // Animation buttons 34012/34027 by the document's animation bytes.
    void SetAnimationButtons(bool editorOpen, bool previewShown);
    // Undo, redo, cut, copy, paste and save by the document and the locks.
    void SetEditButtons();
    void SetPasteModeButton(CommandId mode);
    void SetToneButton(CommandId tone);
    void OnIdleUpdateCmdUI() override;

    // Layer palette: it takes the document and its layer count, rebuilds its
    // list and recomposes the composite from the layers (shown or not).
    void UpdateLayerPalette(CPelmarkDoc* doc);
    // The same without recomposition.
    void SetLayerPaletteDoc(CPelmarkDoc* doc);
    // The palette's document (null when none) and its selected row (-1 when
    // none); selects a row.
    CPelmarkDoc* GetLayerPaletteDoc() const;
    int GetLayerListSel() const;
    void SetLayerListSel(int index);
    // Position palette (main_frame_position.cpp): shows the document (its
    // kept values first when it was not the one shown), fitted to its image
    // and with the rectangle of its view state; null shows none.
    void SetPosPaletteDoc(CPelmarkDoc* doc);
    // Fits the palette to an image size.
    void SetPosPaletteSize(int width, int height);
    // The palette's values from / into the document.
    void LoadPosPaletteState(CPelmarkDoc* doc);
    void StorePosPaletteState(CPelmarkDoc* doc);
    // The rectangle again from the shown document's view state.
    void RefreshPosPalette();
    // The gradient dialog for the document (main_frame_color_edit.cpp): the
    // main window is disabled, the dialog and the colour palette bar stay
    // enabled; the dialog enables the main window again when it ends.
    void ShowGradientDialog(CPelmarkDoc* doc) override;
    // Guide palette: WM_GUIDE_REFRESH with `value` to it, so that it reloads
    // its controls from the guide state; RefreshGuidePalette sends 1.
    void SendGuidePalette(WinWParam value);
    void RefreshGuidePalette() { SendGuidePalette(1); }
    // Tool palette: back to the hand tool (current tool index 2), no tool
    // selection, tool button 2 pressed.
    void ResetToolSelection();
    // Refreshes the active view after an edit.
    void RefreshActiveView();
    // A plug-in changed the active image (WM_PLUGIN_STATUS code 12): mode 0
    // refreshes it fully (palettes, every layer, the colour palette bar),
    // mode 1 recomposes the whole image; both repaint.
    void RefreshActiveView(int mode);
    // The active canvas view tells the plug-in windows that its image changed.
    void SyncToolWindows();
    // Undo, redo and the edit buttons follow the active document (while a
    // plug-in runs; the idle update does it otherwise).
    void UpdateEditButtons();
    // Tool palette: presses the button of a tool index.
    void SelectToolButton(int toolIndex);
    // Gives the animation maker's window (its preview window when it has no
    // main window) the image and layers of the document it works on, while
    // the maker runs.
    void SendImageToPluginWnd();
    // The text tool, colour tone, negative and colouring fill plug-ins on
    // the active document; the run's result (0 when none is open). The text
    // tool holds the filter lock for its run.
    int RunTextTool();
    int RunToneChange();
    int RunToneInvert();
    int RunFillPlugin() override;

    // The tool palette's commands: tools 551 to 562, edit buttons 563 to
    // 571 (pen sizes while the pen is current), the tone flag 572 and the
    // pen sizes 600 to 608.
    void OnToolCommand(CommandId command);
    void OnUpdateToolCommand(framework::CmdUI& ui);
    // Presses the button of a tool index and repaints the palette.
    void SetCurrentTool(int toolIndex);
    void RefreshCurrentTool();
    // Repaints the tool palette with its colour swatches / the colour
    // palette bar's current colour.
    void RedrawToolPalette();
    void RefreshCurrentColor();
    // The tool palette's buttons by the command and the document's tool
    // (only while a plug-in runs, as the other bars).
    void SetToolPaletteButtons(CommandId command, int tool);

    // ---- The image-map tools and the selection modes (main_frame_map.cpp) ----
    // Commands 625 to 634 of the link palette: 634 shows the HTML area text
    // of the active view; the others make the tool current (629 and 630
    // then read or write a *.map file and go back to the previous tool).
    void OnMapCommand(CommandId command);
    void OnUpdateMapCommand(framework::CmdUI& ui);
    // Commands 653 to 656: the selection mode (0 to 3), then the mode
    // palette hides and the tool palette's selection button follows.
    void OnSelectModeCommand(CommandId command);
    void OnUpdateSelectModeCommand(framework::CmdUI& ui);
    // The selection-mode palette: moved to (x + 12, y + 12); shown or hidden
    // with the current mode's button pressed.
    void SetRangeBarState(int x, int y) override;
    void ShowRangeBar(bool show) override;
    // The link palette's button of the command pressed, the others released;
    // the mode palette's button of the mode.
    void UpdateToolRecButtons(CommandId command);
    void UpdateRangeBarButtons(int mode);
    bool AskRegionUrl(QString* url) override;
    bool LinkPaletteShown() const override;

    // The bars and palettes (null before LoadFrame).
    QStatusBar* StatusBar1() const;
    QStatusBar* StatusBar2() const { return statusBar2_; }
    QToolBar* InfoBar() const { return infoBar_; }
    QToolBar* MainToolBar() const { return toolBar_; }
    QToolBar* ToneBar() const { return toneBar_; }
    CToolPalette* ToolPalette() const { return toolPalette_; }
    CSelectModePalette* SelectModePalette() const { return selectModePalette_; }
    CToolRecPalette* LinkPalette() const { return linkPalette_; }
    CColorPaletteBar* ColorPalette() const { return colorPalette_; }
    CGradientDlg* GradientDialog() const { return gradientDlg_; }
    CLayerListDlg* LayerPalette() const { return layerPalette_; }
    CPosPaletteDlg* PosPalette() const { return posPalette_; }
    CGuidePalette* GuidePalette() const { return guidePalette_; }
    // Text of a pane: bar 1 panes 0 (message), 1 (Caps Lock), 2 (Num Lock);
    // bar 2 panes 0 to 2.
    void SetPaneText(int bar, int pane, const QString& text);
    QString PaneText(int bar, int pane) const;
    const QFont& StatusFont() const;

    // Visible flags of the colour, layer, position and guide palettes.
    bool ColorPaletteFlag() const { return colorVisible_; }
    bool LayerPaletteFlag() const { return layerVisible_; }
    bool PosPaletteFlag() const { return posVisible_; }
    bool GuidePaletteFlag() const { return guideVisible_; }
    // Rulers of the child frames (DispZyougi).
    bool RulerFlag() const { return rulers_; }

    // Paste compositing flags: pixels of an index may be overwritten / the
    // index may be written (all 1, entry 0 of the first 0 at start).
    std::array<uint8_t, 256>& PasteOverwriteFlags() { return pasteOverwrite_; }
    std::array<uint8_t, 256>& PasteWriteFlags() { return pasteWrite_; }

    // The colour dictionary (loaded by LoadFrame).
    ColorDicFile& ColorDic() { return colorDic_; }

    // Writes the Disp... keys (command 32832).
    void SaveDisplaySettings() override;
    // Writes the grid display flags when the program closes; the settings
    // store of the grids installs the writer.
    void SetGridFlagsWriter(std::function<void()> writer) { gridFlagsWriter_ = std::move(writer); }
    // Rebuilds the application's grid preset menu (the application sets it).
    void SetGridMenuRefresher(std::function<void()> refresher) { gridMenuRefresher_ = std::move(refresher); }

    // The closing sequence; false keeps the program running.
    bool OnClose() override;

    // The cursor of the canvas view by resource number (110-116, 118, 119,
    // 144, 179-184, 207, 249-254, 271-274); the arrow for others.
    QCursor ProgramCursor(int resourceId) const;

    // The main toolbar's slot count (buttons and separators): 34, or 37
    // with MapTool.
    int ToolBarSlots() const;

    void setVisible(bool visible) override;

    // Commands whose lock is set show disabled (and so do not run).
    bool RouteCommand(framework::CommandRequest& request) override;

    // What else the plug-in host asks of the frame (main_frame_plugin_frame.cpp;
    // ClearCommandLocks, SetToolWindowsDisabled and SetPluginLoopRunning are
    // the frame's own, ProbeWorkMemory is shared with the hosts below).
    WinHandle PluginParentWindow() override;
    bool CommandLocked(CommandId id) override;
    void LockForAnimationMaker() override;
    int ToolSetting(int index) override;
    int ActiveViewTone() override;
    QWidget* ColorPaletteWindow() override;
    std::vector<QWidget*> ToolWindows() override;
    void PaletteColorsChanged() override;
    void RebuildLayerPalette(CPelmarkDoc* doc) override;
    void ShowLayersOf(CPelmarkDoc* doc) override;
    void ShowPositionOf(CPelmarkDoc* doc) override;
    // What the canvas views, the palettes and the dialogs ask of the frame
    // (main_frame_view_host.cpp, main_frame_palette_host.cpp); each is one
    // of the frame's services above. Installed as the views' and the
    // dialogs' host while the frame exists; the palettes find it as their
    // owner. Shared by the three:
    int ProbeWorkMemory(int mode) override;
    void SendFrameCommand(CommandId id) override;
    void DeleteUnusedColors() override;
    void PaletteChanged() override;
    void LayersChanged(CPelmarkDoc* doc) override;
    void ImageDrawn() override;
    void RefreshToolPalette() override;
    bool HasActiveView() override;
    void RefreshGridPresetMenu() override;
    void ApplyGridSettingsToActiveView() override;
    // view::ViewHost
    bool CommandsLocked() const override;
    bool ZoomLocked() const override;
    framework::View* ActiveView() const override;
    QWidget* MenuOwner() override;
    WinHandle FrameWindow() override;
    int ToolOption(int index) override;
    void EditStateChanged() override;
    void ShowCurrentTool(int toolIndex) override;
    void FollowZoomOf(CPelmarkView* view) override;
    void ResetTool() override;
    void HideDocumentWindows() override;
    void ShowDocumentWindows() override;
    void ShowGuideState(bool shown, bool editing) override;
    void ShowAnimationState(bool editorOpen, bool previewShown) override;
    void ShowTone(CommandId tone) override;
    void ShowPasteMode(CommandId mode) override;
    void ShowGridState(int snapFlags, int gridFlags) override;
    void FollowPosition(CPelmarkDoc* doc) override;
    void GuideChanged() override;
    void PassShortcutKey(int key, Qt::KeyboardModifiers modifiers) override;
    void StartTextTool() override;
    bool RulersWanted() const override { return RulerFlag(); }
    QFont InterfaceFont() const override { return StatusFont(); }
    bool AskColorMap(CPelmarkDoc* doc, ColorFlags* map) override;
    bool AskImageSize(CPelmarkDoc* doc, int* width, int* height) override;
    void RunBorderLineDialog(CPelmarkDoc* doc) override;
    void RunSettingsDialog() override;
    void ScrollActiveView(int x, int y) override { ScrollActiveViewTo(x, y); }
    void StorePositionState(CPelmarkDoc* doc) override { StorePosPaletteState(doc); }
    void RunPaletteEditor() override { RunPaletteEditorDialog(); }
    bool AskUnusedColors(CPelmarkDoc* doc, ColorFlags* remove, const ColorFlags& offered) override;
    bool AskMaskColors(CPelmarkDoc* doc, ColorFlags* copy, ColorFlags* paste) override;
    // PaletteHost
    CPelmarkDoc* ActiveDocument() const override;
    bool PaletteBarLocked() const override;
    ToolOptions& ToolSettings() override;
    const QFont& PaletteFont() const override;
    void ShowStatusMessage(const QString& text) override;
    void EnableMainWindow(bool enabled) override;
    // The palettes' colour editor (main_frame_color_edit.cpp).
    bool EditPaletteColor(RgbaEntry& entry) override;
    // The layer dialogs (main_frame_document_host.cpp).
    bool ChangeEditLayer(CPelmarkDoc* doc) override;
    CColorPaletteBar* ColorBar() const override;
    QWidget* SelectModeWindow() const override;
    void RepaintToolPalette() override;
    bool LayerCommandsLocked() const override;
    framework::CommandHooks FrameCommandHooks() override;
    void GuideEdited() override;
    void PaletteClosed(QWidget* palette) override;
    // DialogHost
    void RepaintActiveView() override;
    // One pen stamp of the active view at an image point (the border-line
    // dialog's plots).
    void PlotOnActiveView(int x, int y, bool repaint) override;
    void RefreshActiveViewMode(int mode) override { RefreshActiveView(mode); }
    void LendToolWindows(QWidget* dialog) override;
    std::vector<NamedColor> ColorDictionary() override;
    bool AddColorDictionaryEntry(const NamedColor& entry) override;
    bool DeleteColorDictionaryEntry(int index) override;
    int ColorDictionaryMode() override;
    void SetColorDictionaryMode(int mode) override;
    // The documents' host (main_frame_document_host.cpp): each answer and
    // notification is passed to the frame's service of the same meaning
    // (CommandsLocked, ActiveView, ToolSetting and LayersChanged are shared
    // with the hosts above).
    bool HasWorkMemory(int mode) override;
    void ReportWorkMemoryShort() override;
    void ReportOutOfMemory() override;
    void ReleaseCommandLocks() override;
    document::NewImageAnswer AskNewImage(document::NewImageSettings* settings) override;
    bool RunNewLayerDialog(CPelmarkDoc* doc, int slot) override;
    bool RunCopyLayerDialog(CPelmarkDoc* doc) override;
    bool AskLayerSheetGrid(CPelmarkDoc* doc, document::LayerSheetGrid* grid) override;
    void DeclarePluginCommands(framework::CommandTable& table, CPelmarkDoc* doc) override;
    void DocumentClosing(CPelmarkDoc* doc) override;
    void DocumentCreated(CPelmarkDoc* doc) override;
    void LayerListChanged(CPelmarkDoc* doc) override;
    void CurrentLayerChanged(CPelmarkDoc* doc, int row) override;
    void ImageChanged(CPelmarkDoc* doc) override;
    void ImageDrawn(CPelmarkDoc* doc) override;
    void ImageReplaced(CPelmarkDoc* doc) override;
    void PositionChanged(CPelmarkDoc* doc) override;
    void PaletteChanged(CPelmarkDoc* doc) override;
    void CurrentColorChanged(CPelmarkDoc* doc) override;
    void EditStateChanged(CPelmarkDoc* doc) override;
    void ToolChanged(CPelmarkDoc* doc, int toolIndex) override;
    bool ResizeActiveCanvas(CPelmarkDoc* doc, int width, int height, int columns, int rows,
                            bool dropUncovered) override;

protected:
    void DeclareCommands(framework::CommandTable& table) override;
    void OnDropFiles(const QStringList& paths) override;
    // The custom messages plug-ins and views send to the frame.
    WinResult OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) override;

private:
    bool createStatusBars();
    bool createToneBar();
    bool createToolPalette();
    void declareToolCommands(framework::CommandTable& table);
    void declareMapCommands(framework::CommandTable& table);
    bool createMainToolBar();
    // The canvas views' edit-mode and alpha commands ask through these
    // dialogs while the frame exists.
    void connectEditDialogs(bool connect);
    // The colour palette bar's editor button: the palette editor; any end
    // but OK reloads the working palette from the document.
    void runColorBarPaletteEditor();
    void applyDisplaySettings();
    void applyWindowPlacement();
    // Closes the open plug-in windows; true when there were any.
    bool closePluginWindows();
    void writeNextOpenList();
    void saveBarState();
    void saveWindowPlacement();
    void dockToolPalette();
    void toggleMainToolBar();
    void toggleToneBar();
    void toggleToolPalette();
    void toggleLinkPalette();
    void toggleColorPalette();
    void toggleFlagged(QWidget* window, bool& flag);
    void toggleRulers();
    void revertDocument();
    void closeAllFiles();
    void paletteCheck(framework::CmdUI& ui, bool checked);
    void pressButton(QToolBar* bar, CommandId id, bool pressed);
    void enableButton(CommandId id, bool enabled);
    void openRecentFile(CommandId id);
    void updateRecentFile(framework::CmdUI& ui);
    WinResult onPluginStatus(WinWParam code, WinLParam value);
    WinResult onToolRectStatus(WinWParam type, WinLParam values);
    WinResult onCommandLineByte(WinWParam byte, WinLParam position);
    WinResult onPluginSettings(WinWParam argument, WinLParam op);
    WinResult onEnableHost(WinWParam group, WinLParam enable);
    WinResult onGetGrid(WinWParam window);
    WinResult onAnimState(WinWParam editor, WinLParam preview);
    WinResult onStoreAnimTable();

    QStatusBar* statusBar2_ = nullptr;
    QToolBar* infoBar_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QToolBar* toneBar_ = nullptr;
    std::vector<QLabel*> panes_;  // bar 1 panes 1, 2; bar 2 panes 0..2
    CToolPalette* toolPalette_ = nullptr;
    CSelectModePalette* selectModePalette_ = nullptr;
    CToolRecPalette* linkPalette_ = nullptr;
    CColorPaletteBar* colorPalette_ = nullptr;
    CGradientDlg* gradientDlg_ = nullptr;
    CLayerListDlg* layerPalette_ = nullptr;
    CPosPaletteDlg* posPalette_ = nullptr;
    CGuidePalette* guidePalette_ = nullptr;
    bool colorVisible_ = false;
    bool layerVisible_ = false;
    bool posVisible_ = false;
    bool guideVisible_ = false;
    bool rulers_ = true;
    CommandLockTable locks_;
    ToolOptions toolOptions_;
    bool pluginLoopRunning_ = false;
    std::array<char, 512> commandLine_{};
    bool placed_ = false;
    std::array<uint8_t, 256> pasteOverwrite_;
    std::array<uint8_t, 256> pasteWrite_;
    ColorDicFile colorDic_;
    std::function<void()> gridFlagsWriter_;
    std::function<void()> gridMenuRefresher_;
    std::unique_ptr<QFont> statusFont_;
    std::vector<QCursor> cursors_;
};
