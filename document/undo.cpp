// Undo steps of the document: opening a step, undo, redo and repeat, and
// putting a step's state back into the document.
#include <algorithm>
#include <utility>

#include "framework/program_globals.h"
#include "document/edit_state.h"
#include "document/document_host.h"
#include "document/pelmark_doc.h"
#include "document/undo_actions.h"
#include "framework/cmd_ui.h"
#include "imaging/dib_access.h"
#include "imaging/dib_create.h"

namespace {

using document::kImageSizeAction;
using document::kScaleToolAction;

bool CommandsLocked() { return document::Host().CommandsLocked(); }

}  // namespace

int CPelmarkDoc::UndoDepth() {
    return std::clamp(GetUndoDepth(), 1, document::kUndoSlots - 1);
}

bool CPelmarkDoc::TakeSnapshot(document::UndoSlot& slot, std::initializer_list<int> neighbours) {
    using document::SnapshotBlock;
    using document::SnapshotOf;
    std::vector<const document::UndoSlot*> near;
    for (int n : neighbours)
        if (n >= 0 && n < document::kUndoSlots) near.push_back(&m_UndoSlots[size_t(n)]);
    auto candidate = [&](size_t i, SnapshotBlock document::UndoSlot::*item) -> const SnapshotBlock* {
        return i < near.size() ? &(near[i]->*item) : nullptr;
    };
    auto take = [&](MemHandle live, SnapshotBlock document::UndoSlot::*item) {
        return SnapshotOf(live, {candidate(0, item), candidate(1, item)}, &(slot.*item));
    };

    MemHandle table = m_hImage ? CopyDibColorTable(m_hImage) : nullptr;
    bool ok = take(table, &document::UndoSlot::colorTable);
    if (table) MemFree(table);
    ok = ok && take(m_hFloatImage, &document::UndoSlot::floatImage) &&
         take(m_hFloatPixels, &document::UndoSlot::floatPixels) &&
         take(m_hFloatMask, &document::UndoSlot::floatMask) &&
         take(m_hLayerBackup, &document::UndoSlot::layerBackup) &&
         take(m_hMask, &document::UndoSlot::mask) && take(m_hMask3, &document::UndoSlot::mask3);
    for (size_t i = 0; ok && i < m_hLayers.size(); ++i) {
        const SnapshotBlock* a = near.size() > 0 ? &near[0]->layers[i] : nullptr;
        const SnapshotBlock* b = near.size() > 1 ? &near[1]->layers[i] : nullptr;
        ok = SnapshotOf(m_hLayers[i], {a, b}, &slot.layers[i]);
    }
    if (!ok) return false;

    const document::ProgramEditState& edit = document::GetProgramEditState();
    slot.modifiedMark = IsModified() ? 1 : 0;
    slot.toolIndex = edit.toolIndex;
    slot.toolFlag = edit.toolFlag;
    slot.toolId = m_nToolId;
    slot.prevToolId = m_nPrevToolId;
    slot.viewState = edit.selectionDisplay;
    slot.rcSelection = m_rcSelection;
    slot.rcFloatTarget = m_rcFloatTarget;
    slot.rcFloatMaskBytes = m_rcFloatMaskBytes;
    slot.rcFloatMaskPixels = m_rcFloatMaskPixels;
    slot.floatAngle = m_Selection.angle;
    slot.floatTransformed = m_Selection.transformed;
    slot.lasso = m_Selection.lasso;
    slot.polygonCount = m_Selection.polygonCount;
    slot.previousVertex = m_Selection.previousVertex;
    slot.firstPoint = m_Selection.firstPoint;
    slot.firstMovePending = m_Selection.firstMovePending;
    slot.movedSinceLift = m_Selection.movedSinceLift;
    slot.floatOffsetX = m_Selection.floatOffsetX;
    slot.floatOffsetY = m_Selection.floatOffsetY;
    slot.editLayer = m_nEditLayer;
    slot.layerCount = m_nLayerCount;
    slot.maskMode = m_nMaskMode;
    slot.maskChanged = m_bMaskChanged;
    slot.pasted = m_bPasted;
    slot.paletteLock = m_wPaletteLock;
    slot.color = m_nColor;
    slot.colorMode = m_nColorMode;
    return true;
}

int32_t CPelmarkDoc::PushUndo(int32_t actionId, const QString& text, bool merge) {
    document::DocumentHost& host = document::Host();
    m_nOpenedUndoStep = -1;
    if (!host.HasWorkMemory(0)) return 0;
    // The edit that follows changes the content.
    NoteContentChange();

    const int depth = UndoDepth();
    // After an image size change any other edit starts a new history.
    const bool forget = actionId != kImageSizeAction && m_nRedoLimit >= 0 &&
                        m_UndoSlots[0].actionId == kImageSizeAction;
    if (!forget && merge && m_nUndoIndex >= 0 && document::IsRepeatedMove(actionId) &&
        m_UndoSlots[size_t(m_nUndoIndex)].actionId == actionId) {
        // Another press of the same move: its step already holds the state
        // before the first press. It is still a new edit.
        m_nRedoLimit = m_nUndoIndex;
        return 1;
    }

    // The state is copied before anything changes, so that a copy that
    // cannot be had leaves the history as it was.
    document::UndoSlot snapshot;
    bool taken = forget ? TakeSnapshot(snapshot, {})
                        : TakeSnapshot(snapshot, {m_nUndoIndex, m_nUndoIndex + 1});
    if (!taken) {
        host.ReportWorkMemoryShort();
        return 0;
    }
    if (forget) ForgetUndoHistory();

    int index;
    if (m_nUndoIndex < depth) {
        index = ++m_nUndoIndex;
        document::ClearUndoSlot(m_UndoSlots[size_t(index)]);
        if (merge)
            for (int s = index + 1; s < document::kUndoSlots; ++s)
                document::ClearUndoSlot(m_UndoSlots[size_t(s)]);
    } else {
        // Every slot is in use: the oldest steps go.
        int drop = m_nUndoIndex - depth + 1;
        std::rotate(m_UndoSlots.begin(), m_UndoSlots.begin() + drop,
                    m_UndoSlots.begin() + m_nUndoIndex + 1);
        for (int s = depth; s < document::kUndoSlots; ++s)
            document::ClearUndoSlot(m_UndoSlots[size_t(s)]);
        m_nRedoLimit = std::min(m_nRedoLimit - drop, depth);
        index = m_nUndoIndex = depth;
    }
    if (merge || m_nRedoLimit < index) m_nRedoLimit = index;

    document::UndoSlot& slot = m_UndoSlots[size_t(index)];
    slot = std::move(snapshot);
    slot.actionId = actionId;
    slot.label = text.toStdString();
    m_nOpenedUndoStep = index;
    host.EditStateChanged(this);
    return 1;
}

void CPelmarkDoc::DropUndoStep() {
    const int index = m_nOpenedUndoStep;
    m_nOpenedUndoStep = -1;
    if (index < 0 || index != m_nUndoIndex) return;
    document::ClearUndoSlot(m_UndoSlots[size_t(index)]);
    if (m_nRedoLimit == index) m_nRedoLimit = index - 1;
    m_nUndoIndex = index - 1;
    document::Host().EditStateChanged(this);
}

void CPelmarkDoc::DropUndoStepsAbove(int32_t index) {
    if (m_nUndoIndex <= index) return;
    while (m_nUndoIndex > index && m_nUndoIndex >= 0) {
        document::ClearUndoSlot(m_UndoSlots[size_t(m_nUndoIndex)]);
        if (m_nRedoLimit >= m_nUndoIndex) m_nRedoLimit = m_nUndoIndex - 1;
        --m_nUndoIndex;
    }
    m_nOpenedUndoStep = -1;
    document::Host().EditStateChanged(this);
}

void CPelmarkDoc::ResetUndoFlags() {
    for (document::UndoSlot& slot : m_UndoSlots) slot.modifiedMark = 1;
}

void CPelmarkDoc::ForgetUndoHistory() {
    for (document::UndoSlot& slot : m_UndoSlots) document::ClearUndoSlot(slot);
    m_nUndoIndex = -1;
    m_nRedoLimit = -1;
    m_nOpenedUndoStep = -1;
    if (m_hPrevImage) MemFree(m_hPrevImage);
    m_hPrevImage = nullptr;
    for (MemHandle& layer : m_hPrevLayers) {
        if (layer) MemFree(layer);
        layer = nullptr;
    }
}

bool CPelmarkDoc::UndoStep() {
    if (m_nUndoIndex < 0) return false;
    // The state now goes into the slot above the current step, under the
    // text of the step it undoes. At full depth that slot is made by
    // dropping the oldest step, so the text is held here, not in a slot.
    const int index = m_nUndoIndex;
    const bool top = index == m_nRedoLimit || index + 1 >= document::kUndoSlots;
    const document::UndoSlot& above = m_UndoSlots[size_t(top ? index : index + 1)];
    const int32_t actionId = above.actionId;
    const QString text = QString::fromStdString(above.label);
    // The slot above keeps the alpha pairs of its step for a later redo.
    std::shared_ptr<const document::AlphaPairs> abovePairs = top ? nullptr : above.alphaPairs;
    if (!PushUndo(actionId, text, false)) return false;
    if (m_nOpenedUndoStep >= 0) m_UndoSlots[size_t(m_nOpenedUndoStep)].alphaPairs = std::move(abovePairs);
    m_nOpenedUndoStep = -1;
    m_bRedoMode = 0;
    --m_nUndoIndex;
    RestoreUndoSlot(m_nUndoIndex);
    --m_nUndoIndex;
    return true;
}

bool CPelmarkDoc::RedoStep() {
    if (!CanRedo()) return false;
    m_nOpenedUndoStep = -1;
    m_nUndoIndex += 2;
    m_bRedoMode = 1;
    RestoreUndoSlot(m_nUndoIndex);
    --m_nUndoIndex;
    return true;
}

void CPelmarkDoc::OnEditUndo() {
    if (UndoStep()) RefreshAfterUndo();
}

void CPelmarkDoc::OnEditRedo() {
    if (RedoStep()) RefreshAfterUndo();
}

void CPelmarkDoc::OnEditRepeat() {
    bool moved = m_bRepeatToggle ? RedoStep() : UndoStep();
    m_bRepeatToggle = m_bRepeatToggle ? 0 : 1;
    if (moved) RefreshAfterUndo();
}

void CPelmarkDoc::RefreshAfterUndo() {
    document::DocumentHost& host = document::Host();
    host.ImageChanged(this);
    host.LayersChanged(this);
    host.ToolChanged(this, document::GetProgramEditState().toolIndex);
    host.EditStateChanged(this);
}

void CPelmarkDoc::RestoreUndoSlot(int s) {
    if (s < 0 || s >= document::kUndoSlots) return;
    document::UndoSlot& slot = m_UndoSlots[size_t(s)];
    document::DocumentHost& host = document::Host();
    NoteContentChange();

    SetModifiedFlag(slot.modifiedMark != 0);
    m_nToolId = slot.toolId;
    m_nPrevToolId = slot.prevToolId;
    document::ProgramEditState& edit = document::GetProgramEditState();
    edit.toolIndex = slot.toolIndex;
    edit.toolFlag = slot.toolFlag;
    edit.selectionDisplay = slot.viewState;
    host.ToolChanged(this, slot.toolIndex);
    // An image size step brings its layer count and current layer with the
    // kept image (below); the slot's would undo that exchange.
    if (slot.actionId != kImageSizeAction) {
        m_nEditLayer = slot.editLayer;
        m_nLayerCount = slot.layerCount;
    }
    m_rcSelection = slot.rcSelection;
    m_rcFloatTarget = slot.rcFloatTarget;
    m_rcFloatMaskBytes = slot.rcFloatMaskBytes;
    m_rcFloatMaskPixels = slot.rcFloatMaskPixels;
    m_Selection.angle = slot.floatAngle;
    m_Selection.transformed = slot.floatTransformed;
    m_Selection.lasso = slot.lasso;
    m_Selection.polygonCount = slot.polygonCount;
    m_Selection.previousVertex = slot.previousVertex;
    m_Selection.firstPoint = slot.firstPoint;
    m_Selection.firstMovePending = slot.firstMovePending;
    m_Selection.movedSinceLift = slot.movedSinceLift;
    m_Selection.floatOffsetX = slot.floatOffsetX;
    m_Selection.floatOffsetY = slot.floatOffsetY;
    m_nMaskMode = slot.maskMode;
    m_bMaskChanged = slot.maskChanged;
    m_bPasted = slot.pasted;
    m_wPaletteLock = slot.paletteLock;
    m_nColor = slot.color;
    m_nColorMode = slot.colorMode;

    if (slot.colorTable && m_hImage) {
        StoreDibColorTable(m_hImage, slot.colorTable->handle());
        MemHandle renewed = CopyDibColorTable(m_hImage);
        if (renewed && !slot.colorTable->SameBytes(renewed))
            slot.colorTable = std::make_shared<const document::FrozenBlock>(renewed);
        else if (renewed)
            MemFree(renewed);
    }
    document::RestoreFromSnapshot(m_hFloatPixels, slot.floatPixels);
    document::RestoreFromSnapshot(m_hFloatImage, slot.floatImage);
    document::RestoreFromSnapshot(m_hLayerBackup, slot.layerBackup);
    document::RestoreFromSnapshot(m_hFloatMask, slot.floatMask);
    if (slot.mask) document::RestoreFromSnapshot(m_hMask, slot.mask);
    if (slot.mask3) document::RestoreFromSnapshot(m_hMask3, slot.mask3);
    if (slot.actionId != kImageSizeAction)
        for (size_t i = 0; i < m_hLayers.size(); ++i)
            document::RestoreFromSnapshot(m_hLayers[i], slot.layers[i]);
    if (slot.actionId == kScaleToolAction)
        m_rcScaleFrame = {m_rcSelection.left, m_rcSelection.top, m_rcSelection.right - 1,
                          m_rcSelection.bottom - 1};

    if (slot.actionId == kImageSizeAction) {
        ExchangeWithPreSizeState();
        InitDib();
        InvalidateOtherViews(nullptr);
        host.ImageChanged(this);
        host.LayersChanged(this);
        host.PositionChanged(this);
        host.ImageReplaced(this);
        return;
    }
    if (slot.actionId == document::kAlphaAction) {
        // After an undo the restored slot holds the state before its own
        // step; after a redo the state after the step of the slot below.
        const document::UndoSlot* step = m_bRedoMode ? (s > 0 ? &m_UndoSlots[size_t(s - 1)] : nullptr) : &slot;
        if (step && step->alphaPairs) ApplyAlphaTable(*step->alphaPairs);
    }
    if (document::RestoresPalette(slot.actionId)) {
        InitDib();
        InvalidateOtherViews(nullptr);
        host.PaletteChanged(this);
        return;
    }
    InvalidateOtherViews(nullptr);
}

void CPelmarkDoc::ApplyAlphaTable(const document::AlphaPairs& pairs) {
    if (!m_hImage) return;
    const size_t member = m_bRedoMode ? 1 : 0;
    for (int i = 0; i < 256; ++i) {
        uint8_t red, green, blue, alpha;
        if (!GetDibPaletteEntry(m_hImage, i, &red, &green, &blue, &alpha)) continue;
        SetDibPaletteEntry(m_hImage, i, red, green, blue, uint8_t(std::clamp(pairs[size_t(i)][member], 0, 255)));
    }
    document::Host().PaletteChanged(this);
}

void CPelmarkDoc::ExchangeWithPreSizeState() {
    // Without a kept image there is nothing to exchange with.
    if (!m_hPrevImage) return;
    std::swap(m_hImage, m_hPrevImage);
    std::swap(m_hLayers, m_hPrevLayers);
    std::swap(m_nWidth, m_nPrevWidth);
    std::swap(m_nHeight, m_nPrevHeight);
    std::swap(m_nLayerCount, m_nPrevLayerCount);
    std::swap(m_nEditLayer, m_nPrevEditLayer);
}

void CPelmarkDoc::OnUpdateEditUndo(framework::CmdUI& ui) {
    const bool locked = CommandsLocked();
    QString text = QStringLiteral("还原(&U)");
    if (CanUndo())
        text += QStringLiteral(" ") +
                QString::fromStdString(m_UndoSlots[size_t(m_nUndoIndex)].label);
    ui.SetText(text + QStringLiteral("\tCtrl+Z"));
    ui.Enable(CanUndo() && !locked);
}

void CPelmarkDoc::OnUpdateEditRedo(framework::CmdUI& ui) {
    const bool locked = CommandsLocked();
    if (CanRedo())
        ui.SetText(QStringLiteral("撤消(&U) ") +
                   QString::fromStdString(m_UndoSlots[size_t(m_nUndoIndex + 1)].label) +
                   QStringLiteral("\tCtrl+R"));
    else
        ui.SetText(QStringLiteral("重做(&R)\tCtrl+R"));
    ui.Enable(CanRedo() && !locked);
}

void CPelmarkDoc::OnUpdateEditRepeat(framework::CmdUI& ui) {
    const bool locked = CommandsLocked();
    ui.Enable(!locked && !(m_nUndoIndex < 0 && m_nRedoLimit <= 0));
}
