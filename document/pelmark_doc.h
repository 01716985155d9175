// The image document: one 8-bit composite image with its palette, up to 100
// layers and 100 channels, the underlay, the selection masks, the floating
// selection, the undo snapshots, the animation frame table and the plug-in
// windows working on it.
//
// Views, tool windows, dialogs and the plug-in host read and change the
// members directly; every block is held by handle and owned by the document,
// which frees them all when it is destroyed.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>

#include <QString>

#include "document/content_generation.h"
#include "document/doc_limits.h"
#include "document/floating_selection_state.h"
#include "document/doc_view_state.h"
#include "document/undo_actions.h"
#include "document/undo_slot.h"
#include "framework/document.h"
#include "imaging/dib_layout.h"
#include "imaging/logical_palette.h"
#include "platform/memory.h"
#include "platform/window.h"

struct PluginToolRecord;

namespace framework {
class CmdUI;
class View;
}  // namespace framework

// A window a tool plug-in opened for the document and the record it works on.
struct PluginWindowSlot {
    WinHandle window = nullptr;
    PluginToolRecord* record = nullptr;
};

class CPelmarkDoc : public framework::Document {
public:
    static constexpr int32_t kHandToolId = 553;
    static constexpr int32_t kFirstPenId = 600;
    // Repeat: switches between the states before and after the last edit.
    static constexpr framework::CommandId kRepeatId = 32852;
    static constexpr framework::CommandId kFileRevertId = 32849;
    // The layer menu.
    static constexpr framework::CommandId kLayerNewId = 32859;
    static constexpr framework::CommandId kLayerDuplicateId = 32860;
    static constexpr framework::CommandId kLayerDeleteId = 32861;
    static constexpr framework::CommandId kLayerUpId = 32862;
    static constexpr framework::CommandId kLayerDownId = 32863;
    static constexpr framework::CommandId kLayerMergeDownId = 32864;
    static constexpr framework::CommandId kLayerMergeAllId = 32865;
    static constexpr framework::CommandId kLayerUnifyAllId = 32866;
    static constexpr framework::CommandId kLayerAllTransparentId = 32867;
    static constexpr framework::CommandId kLayerExpandId = 32933;
    static constexpr framework::CommandId kLayerMergeVisibleId = 32942;
    // The underlay commands of the layer menu's details.
    static constexpr framework::CommandId kUnderlayFromFileId = 32868;
    static constexpr framework::CommandId kUnderlayDeleteId = 32869;
    static constexpr framework::CommandId kUnderlayShowId = 32870;
    // "将选中部分定义为图案": the pattern from the floating selection.
    static constexpr framework::CommandId kDefinePatternCommand = 32845;

    CPelmarkDoc();
    ~CPelmarkDoc() override;

    // A new image from the new-image dialog (or, while the new-from-data flag
    // is set, an empty document that the caller gives its image). False when
    // no image is made; the framework then discards the document.
    bool OnNewDocument() override;
    // Reading and writing files go through the file-format plug-in that
    // lists the file's extension (plugin_host/). A failed open leaves the
    // document without image, layers or channels; a failed save leaves the
    // file on disk as it was and the document modified.
    bool OnOpenDocument(const QString& path) override;
    bool OnSaveDocument(const QString& path) override;
    // An empty path asks for one (Save As). The document's file is released
    // around the write and held again afterwards.
    bool DoSave(const QString& path, bool replace = true) override;

    // Makes the document's image ready after any change of m_hImage: a 4-bit
    // image becomes 8 bit, the size is taken and both palettes are rebuilt.
    // An image with a negative size or one larger than the maximum image size
    // ("DIB 过大。"), or a document without its masks ("内存不足。"), loses
    // its image. True when the document has an image afterwards.
    bool InitDib();
    // Invalidates every view of the document but `view`; returns 0.
    int InvalidateOtherViews(framework::View* view);
    // Layer 0 for an image that came from the clipboard or a scanner: visible,
    // default draw mode and name; the layer palette shows it. False when the
    // layer could not be made (the work-memory message has been shown).
    bool CreateFirstLayer();
    // Closes the file held open against writers; 1 when it was closed, 0 when
    // none was held or closing failed.
    int UnlockFile();
    // Holds the file open against writers (after an open or a save) with a
    // shared lock that writers asking for a lock are refused (advisory:
    // programs that take no lock are not stopped). 1 when the file is held;
    // 0 when it cannot be opened or a writer holds it (nothing is reported).
    int LockFile(const QString& path);

    // The modified flag, and the save button follows it.
    void SetModified(bool flag);
    // The current layer one down (up), the layer palette's row with it;
    // 1 when it moved.
    int SelectLowerLayer();
    int SelectUpperLayer();
    // Flags the palette indices the image uses in the used-colour table;
    // returns how many it uses.
    int ScanUsedColors();
    // In every layer pixels a become b and pixels b become a.
    void SwapLayerColorIndices(int a, int b);
    // Removes the underlay picture.
    void DeleteUnderlay();
    // The underlay (underlay.cpp). Takes `picture` as the underlay: a 4-bit
    // picture becomes 8 bit; one of the image's size is copied into a new
    // picture of that size unless `converted`; another size asks "图象尺寸适合
    // 吗？" (Yes: scaled to the image's size in 24 bits, No: as the same size,
    // Cancel: dropped). Every layer's index 0 becomes transparent and the
    // document is modified. Takes ownership of `picture` on every path; a null
    // picture changes nothing. 1 when the picture was scaled, else 0.
    int SetUnderlay(MemHandle picture, int converted);
    // Reads a picture for the underlay through its file-format plug-in (the
    // layers it hands over composed into it, a 2-colour picture made 8 bit);
    // null after the message (none when the user cancelled in the plug-in).
    MemHandle ReadUnderlayFile(const QString& path);
    // No command lock, no underlay and at least one layer: an underlay may be
    // taken (from a file, or from a scanner when its source is loaded).
    bool CanTakeUnderlay() const;
    void OnUnderlayFromFile();
    void OnUnderlayDelete();
    void OnUnderlayShow();

    // A number that changes whenever the pixels, layers or palette may have
    // changed: a step opened or restored, a new image, the modified flag
    // set, the views invalidated. Whoever keeps something computed from the
    // pixels compares it. Code that changes pixels without passing any of
    // those calls NoteContentChange itself.
    uint64_t ContentGeneration() const { return m_nContentGeneration; }
    void NoteContentChange() { m_nContentGeneration = document::NextContentGeneration(); }

    // After the current layer changed, while a selection rectangle exists:
    // the saved copy of the current layer is taken again and a floating
    // selection is lifted again from the new current layer.
    void RefreshSavedLayerCopy();

    // Layer menu commands.
    void OnLayerNew();
    void OnLayerDuplicate();
    void OnLayerDelete();
    void OnLayerUp();
    void OnLayerDown();
    void OnLayerMergeDown();
    void OnLayerMergeAll();
    void OnLayerMergeVisible();
    void OnLayerUnifyAll();
    void OnLayerAllTransparent();
    void OnLayerExpand();

    // Undo steps. Every edit first opens a step with the edit's action id and
    // display text; the step keeps the document's state before the edit.
    // `merge` marks an edit of the user: it discards the redo steps, and a
    // repeated one-pixel move joins the step of the move before it. 0 when
    // the work memory is short or the state cannot be copied (the message has
    // been shown, nothing changed, the caller must not edit); 1 otherwise.
    int32_t PushUndo(int32_t actionId, const QString& text, bool merge);
    // Takes back the step that the last PushUndo opened, for an edit that
    // changed nothing. Any other step stays.
    void DropUndoStep();
    // Takes back every step after `index` (the last step of an earlier
    // moment), for work that was given back whole.
    void DropUndoStepsAbove(int32_t index);
    // After a save: undoing anything then marks the document modified.
    void ResetUndoFlags();
    // Slots in use: the undo depth (1 to 10) plus one.
    static int UndoDepth();
    bool CanUndo() const { return m_nUndoIndex >= 0; }
    bool CanRedo() const { return m_nRedoLimit >= m_nUndoIndex + 2; }
    void OnEditUndo();
    void OnEditRedo();
    // Every entry of the colour table keeps red, green and blue and takes
    // its alpha from `pairs`: the first member in redo mode 0 (after an
    // undo), the second in redo mode 1 (after a redo); then the colour
    // palette bar reloads the palette.
    void ApplyAlphaTable(const document::AlphaPairs& pairs);
    void OnEditRepeat();

    // Switches the tool, or runs an edit command of the tool palette (560
    // clears the current layer, 571 deletes the selection's pixels).
    // A floating selection is put down (step 705) by a switch away from the
    // selection tools, and by one from scale or rotate to any tool but the
    // selection, wand, scale and rotate tools; `keepFloat` keeps it floating
    // without a step of its own.
    void SetEditMode(int32_t newMode, bool keepFloat = false);
    // Makes `tool` the current tool and never runs an edit command (the
    // filled rectangle 560 shares its id with the clear-layer edit); a
    // floating selection is put down as by any tool switch.
    void SelectTool(int32_t tool);
    // Ends an edit under way (a floating selection is put down); the tool
    // stays.
    void EndEditMode();

    // Colour reduction of the whole document (doc_color_reduce.cpp).
    // To 16 colours, image and layers together, when palette entries 16 to
    // 255 are in use; the document then becomes a 16-colour document and
    // loses its undo history. False when the reduction failed ("内存不足。";
    // nothing changed, the undo history stays).
    bool ReduceTo16Colors();
    // Every layer to `colors` colours; with `keepReserved` the 20 reserved
    // colours keep entries 0..9 and 246..255. False when it failed.
    bool ReduceAllLayersColors(int colors, int bitCount, int keepReserved);
    // Every layer to 256 grey levels, or 2 with `twoLevels`.
    bool ConvertLayersToGrey(int colors, int bitCount, int twoLevels);

    // Selection (right and bottom exclusive) and the floating target.
    DibRect m_rcSelection{};
    DibRect m_rcFloatTarget{};
    // Frame of the scale tool around the floating selection, corners
    // inclusive.
    DibRect m_rcScaleFrame{};
    int32_t m_nToolId = kHandToolId;
    int32_t m_nPrevToolId = kHandToolId;
    // Screen palettes: of the colour table, of the underlay, and the grey
    // palette of the entries' alpha values.
    std::optional<LogicalPalette> m_pPalette;
    std::optional<LogicalPalette> m_pUnderlayPalette;
    std::optional<LogicalPalette> m_pAlphaPalette;
    MemHandle m_hFloatImage = nullptr;
    int32_t m_nPenId = kFirstPenId;
    int32_t m_bTone = 1;
    int32_t m_nColor = 0;
    int32_t m_nColor2 = 0;
    // Per palette index: pixels of that index may be overwritten / the index
    // may be written.
    std::array<int32_t, 256> m_WritableColors;
    std::array<int32_t, 256> m_EnabledColors;
    // Bit r set: palette entries 16r to 16r + 15 cannot be edited.
    uint16_t m_wPaletteLock = 0;
    // Spare copy of the current layer (lifted selections, rubber-band tools).
    MemHandle m_hLayerBackup = nullptr;

    // Undo: the snapshots and their bookkeeping.
    std::array<document::UndoSlot, document::kUndoSlots> m_UndoSlots;
    int32_t m_nUndoIndex = -1;  // slot of the last step, -1 for none
    int32_t m_nRedoLimit = -1;  // highest slot holding a state
    int32_t m_bRedoMode = 0;
    // Slot of the step the last PushUndo opened, -1 when it opened none.
    int32_t m_nOpenedUndoStep = -1;
    // The state before an image size change, kept to undo it.
    MemHandle m_hPrevImage = nullptr;
    std::array<MemHandle, document::kLayerSlots> m_hPrevLayers{};
    int32_t m_nPrevWidth = 0;
    int32_t m_nPrevHeight = 0;
    int32_t m_nPrevLayerCount = 0;
    int32_t m_nPrevEditLayer = 0;

    // The composite image: an 8-bit packed DIB with 256 entries.
    MemHandle m_hImage = nullptr;
    MemHandle m_hUnderlay = nullptr;
    MemHandle m_hFloatPixels = nullptr;
    // Mask bytes of the floating rectangle, with their byte rectangle
    // (left / 8, top, (right + 7) / 8, bottom) and pixel rectangle.
    MemHandle m_hFloatMask = nullptr;
    DibRect m_rcFloatMaskBytes{};
    DibRect m_rcFloatMaskPixels{};
    // Set when the selection was inverted.
    int32_t m_bMaskChanged = 0;
    int32_t m_nWidth = 1;
    int32_t m_nHeight = 1;
    int32_t m_nColorMode = 0;
    int32_t m_bBusy = 0;
    QString m_szPath;
    // One byte per pixel and three selection masks, all at the maximum image
    // size; null when they could not be allocated.
    MemHandle m_hPixelFlags = nullptr;
    MemHandle m_hMask = nullptr;
    MemHandle m_hMask2 = nullptr;
    MemHandle m_hMask3 = nullptr;
    // Place in the open-document list, -1 without an entry.
    int32_t m_nOpenListSlot = -1;
    int32_t m_nMaskMode = 0;
    // Floating mask layout, lasso list and the other selection values.
    document::SelectionState m_Selection;
    // Plug-in windows working on this document.
    PluginWindowSlot m_ToolPlugin;
    PluginWindowSlot m_AnimPlugin;
    PluginWindowSlot m_HexPlugin;
    std::array<MemHandle, document::kLayerSlots> m_hLayers{};
    std::array<MemHandle, document::kChannelSlots> m_hChannels{};
    int32_t m_nLayerCount = 0;
    int32_t m_nChannelCount = 0;
    int32_t m_bHasUnderlay = 0;
    int32_t m_bUnderlayCheck = 0;
    int32_t m_nEditLayer = 0;
    int32_t m_nChildFrames = 0;
    int32_t m_nUnderlayWidth = 0;
    int32_t m_nUnderlayHeight = 0;
    // 0 no underlay, 1 loaded, 2 shown by the show command.
    uint8_t m_bUnderlayState = 0;
    uint8_t m_bAnimState = 0;
    uint8_t m_bLayerStep = 0;
    uint8_t m_bAnimPluginRunning = 0;
    // The animation maker's preview is shown.
    uint8_t m_bAnimPreview = 0;
    uint8_t m_bRepeatToggle = 0;
    int32_t m_bUntitled = 0;
    int32_t m_bPasted = 0;
    int32_t m_bLayerUpdatePending = 0;
    std::array<uint8_t, document::kPackedAnimTableBytes> m_AnimTable{};
    // The document's file held open against writers (a descriptor, -1 none).
    int32_t m_bFileLocked = 0;
    int m_fileLock = -1;
    // What the views keep here (position palette values, fitting, title).
    document::DocViewState m_ViewState;
    // The position palette's values while the document is not shown there.
    document::PosPaletteState m_PosPaletteState;
    uint64_t m_nContentGeneration = document::NextContentGeneration();

protected:
    void DeclareCommands(framework::CommandTable& table) override;

private:
    void OnFileSaveAs();
    void OnUpdateLockedFileCommand(framework::CmdUI& ui);
    // The first `count` entries of the image from a 0xRRGGBB table, alpha 0.
    void WriteTableEntries(const uint32_t* table, int count);
    // Asks the host for a new image (the new-image dialog) until it gives
    // one; false when it is cancelled or the image cannot be made. `layerName` gets the name of
    // the first layer.
    bool MakeImageFromDialog(QString* layerName);
    void ReleaseImagePalettes();

    void OnUpdateEditUndo(framework::CmdUI& ui);
    void OnUpdateEditRedo(framework::CmdUI& ui);
    void OnUpdateEditRepeat(framework::CmdUI& ui);
    // Undo and redo without the refreshes; false when nothing moved.
    bool UndoStep();
    bool RedoStep();
    void RefreshAfterUndo();
    // Copies the document's state into `slot`; false when a copy cannot be
    // allocated (`slot` is then unusable).
    bool TakeSnapshot(document::UndoSlot& slot, std::initializer_list<int> neighbours);
    void RestoreUndoSlot(int slot);
    void ForgetUndoHistory();
    void ExchangeWithPreSizeState();
    // The floating selection's commands and its release when the tool
    // changes; true when `newMode` was one of them.
    bool RunFloatingSelectionMode(int32_t newMode, bool keepFloat);
    void DeclareLayerCommands(framework::CommandTable& table);
    void DeclareUnderlayCommands(framework::CommandTable& table);
    bool IsLayerCommandAvailable(framework::CommandId id) const;
    // After a change of the layer table: modified, the layer palette, and
    // the saved copy of the current layer while a selection exists.
    void RefreshAfterLayerChange();
    void FinishMerge();
    void StepLayer(bool up);
    void SetDrawModesCommand(int mode);
    // The edit commands of SetEditMode.
    void ClearEditLayer();
    void DeleteSelectionPixels();
    // Frees the image, layers, channels and underlay (a failed open).
    void ReleaseOpenedBlocks();
};
