// The editor's main frame: the multiple-document window with the menus, bars
// and tool windows, and the services every part of the editor calls on
// (work-memory probe, command locks, refreshes of palettes and views).
//
// The bars, palettes and most services are still being built: the methods
// marked "not yet shown" keep their callers' contract and do nothing visible.
#pragma once

#include "framework/mdi_frame.h"

class CPelmarkDoc;

class CMainFrame : public framework::MdiFrame {
    Q_OBJECT
public:
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

    // Layer palette: take the document, rebuild the list and recompose
    // (not yet shown).
    void UpdateLayerPalette(CPelmarkDoc* doc);
    // The same without recomposition (not yet shown).
    void SetLayerPaletteDoc(CPelmarkDoc* doc);
    // Selects a row of the layer list (not yet shown).
    void SetLayerListSel(int index);
    // Position palette: show this document (not yet shown).
    void SetPositionPaletteDoc(CPelmarkDoc* doc);
    // Tool palette: back to the hand tool (current tool index 2), no tool
    // selection, tool button 2 pressed (not yet shown).
    void ResetToolSelection();
    // Refreshes the active view after an edit.
    void RefreshActiveView();
    // Undo, redo and the edit buttons follow the active document (not yet
    // shown).
    void UpdateEditButtons();
    // Tool palette: presses the button of a tool index (not yet shown).
    void SelectToolButton(int toolIndex);
    // Gives the animation maker's window the image and layers of the
    // document it works on (not yet shown).
    void SendImageToPluginWnd();
};
