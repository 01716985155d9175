// The document's layer menu: new, copy, delete, step up and down, merges,
// draw modes and the layer sheet; the layer selection and colour-index
// helpers.
#include <algorithm>
#include <cstring>

#include "document/document_host.h"
#include "document/floating_selection.h"
#include "document/floating_tool_ops.h"
#include "document/image_limits.h"
#include "document/layer_factory.h"
#include "document/layer_operations.h"
#include "document/layer_sheet_grid.h"
#include "document/pelmark_doc.h"
#include "document/undo_actions.h"
#include "framework/cmd_ui.h"
#include "framework/view.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"

namespace {

using document::kLayerAction;

bool IsEmptyRect(const DibRect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool IsVisibleLayer(MemHandle layer) {
    MemLockGuard lock(layer);
    return lock && lock.size() >= LAYER_HEADER_SIZE && lock.as<LayerHeader>()->visible;
}

void EnableActiveView() {
    if (framework::View* view = document::Host().ActiveView()) view->setEnabled(true);
}

void ClearCommandLocks() { document::Host().ReleaseCommandLocks(); }

bool CommandsLocked() { return document::Host().CommandsLocked(); }

}  // namespace

void CPelmarkDoc::DeclareLayerCommands(framework::CommandTable& table) {
    struct Entry {
        framework::CommandId id;
        void (CPelmarkDoc::*handler)();
    };
    const Entry entries[] = {
        {kLayerNewId, &CPelmarkDoc::OnLayerNew},
        {kLayerDuplicateId, &CPelmarkDoc::OnLayerDuplicate},
        {kLayerDeleteId, &CPelmarkDoc::OnLayerDelete},
        {kLayerUpId, &CPelmarkDoc::OnLayerUp},
        {kLayerDownId, &CPelmarkDoc::OnLayerDown},
        {kLayerMergeDownId, &CPelmarkDoc::OnLayerMergeDown},
        {kLayerMergeAllId, &CPelmarkDoc::OnLayerMergeAll},
        {kLayerUnifyAllId, &CPelmarkDoc::OnLayerUnifyAll},
        {kLayerAllTransparentId, &CPelmarkDoc::OnLayerAllTransparent},
        {kLayerExpandId, &CPelmarkDoc::OnLayerExpand},
        {kLayerMergeVisibleId, &CPelmarkDoc::OnLayerMergeVisible},
    };
    for (const Entry& e : entries) {
        table.On(e.id, this, e.handler);
        table.OnUpdate(e.id, [this](framework::CmdUI& ui) {
            ui.Enable(!CommandsLocked() && IsLayerCommandAvailable(ui.id()));
        });
    }
    table.OnUpdate(framework::ID_FILE_SAVE, [this](framework::CmdUI& ui) {
        ui.Enable(IsModified() && !CommandsLocked());
    });
    table.OnUpdate(kFileRevertId, [this](framework::CmdUI& ui) {
        ui.Enable(IsModified() && !CommandsLocked() && !m_bUntitled);
    });
}

bool CPelmarkDoc::IsLayerCommandAvailable(framework::CommandId id) const {
    const int count = m_nLayerCount, current = m_nEditLayer;
    switch (id) {
    case kLayerNewId: return true;
    case kLayerDuplicateId: return count > 0 && (!m_bHasUnderlay || current >= 0);
    case kLayerDeleteId:
    case kLayerUnifyAllId:
    case kLayerAllTransparentId: return count > 0;
    case kLayerUpId: return count > 0 && current < count - 1;
    case kLayerDownId: return count >= 2 && current > 0;
    case kLayerMergeDownId: return current > 0;
    case kLayerMergeAllId:
    case kLayerExpandId:
    case kLayerMergeVisibleId: return count > 1;
    default: return false;
    }
}

void CPelmarkDoc::SetModified(bool flag) {
    SetModifiedFlag(flag);
    NoteContentChange();
    document::Host().EditStateChanged(this);
}

void CPelmarkDoc::RefreshSavedLayerCopy() {
    if (IsEmptyRect(m_rcSelection)) return;
    document::RenewSpareCopy(*this);
    document::LiftFloatingFromCurrentLayer(*this);
}

void CPelmarkDoc::RefreshAfterLayerChange() {
    SetModified(true);
    document::Host().LayersChanged(this);
    RefreshSavedLayerCopy();
}

void CPelmarkDoc::OnLayerNew() {
    document::DocumentHost& host = document::Host();
    if (!host.HasWorkMemory(1)) return;
    const int slot = m_nLayerCount;
    if (slot >= document::kLayerLimit || m_hLayers[size_t(slot)]) return;
    // The dialog makes the layer at the top, in its own undo step.
    if (!host.RunNewLayerDialog(this, slot) || !m_hLayers[size_t(slot)]) return;
    // The new layer goes just above the current one; the layers above move
    // up one slot.
    const int above = std::clamp(m_nEditLayer + 1, 0, slot);
    std::rotate(m_hLayers.begin() + above, m_hLayers.begin() + slot, m_hLayers.begin() + slot + 1);
    m_nEditLayer = above;
    RefreshAfterLayerChange();
}

void CPelmarkDoc::OnLayerDuplicate() {
    document::DocumentHost& host = document::Host();
    if (!host.HasWorkMemory(1)) return;
    if (m_nLayerCount >= document::kLayerLimit) return;
    if (!document::CurrentLayerOf(*this)) return;
    // The dialog appends the copy at the top, in its own undo step.
    if (!host.RunCopyLayerDialog(this)) return;
    SetModified(true);
    m_nEditLayer = m_nLayerCount - 1;
    host.LayersChanged(this);
    RefreshSavedLayerCopy();
}

void CPelmarkDoc::OnLayerDelete() {
    if (m_nLayerCount <= 0 || m_nEditLayer == 0) return;
    if (m_nEditLayer < 0) {
        if (!m_bHasUnderlay) return;
        DeleteUnderlay();
        m_nEditLayer = 0;
        ClearCommandLocks();
        RefreshAfterLayerChange();
        EnableActiveView();
        return;
    }
    if (document::DeleteCurrentLayer(*this)) RefreshAfterLayerChange();
}

void CPelmarkDoc::DeleteUnderlay() {
    if (!m_hUnderlay && !m_bHasUnderlay) return;
    m_pUnderlayPalette.reset();
    if (m_hUnderlay) MemFree(m_hUnderlay);
    m_hUnderlay = nullptr;
    m_bHasUnderlay = 0;
    m_bUnderlayCheck = 0;
    m_bUnderlayState = 0;
    document::Host().ImageChanged(this);
    document::Host().LayersChanged(this);
    EnableActiveView();
}

void CPelmarkDoc::StepLayer(bool up) {
    m_bLayerStep = 1;
    const int previous = m_nEditLayer;
    const bool moved = up ? SelectUpperLayer() : SelectLowerLayer();
    ClearCommandLocks();
    EnableActiveView();
    if (moved) {
        const int selected = m_nEditLayer;
        // The step keeps the layer that was current with its own spare and
        // floating copies, so that undo selects it as it was.
        m_nEditLayer = previous;
        PushUndo(kLayerAction, up ? QStringLiteral("所选层前移") : QStringLiteral("所选层后移"), true);
        m_nEditLayer = selected;
        RefreshSavedLayerCopy();
        SetModified(true);
    }
    m_bLayerStep = 0;
}

void CPelmarkDoc::OnLayerUp() { StepLayer(true); }
void CPelmarkDoc::OnLayerDown() { StepLayer(false); }

int CPelmarkDoc::SelectUpperLayer() {
    if (m_nLayerCount <= 0 || m_nEditLayer >= m_nLayerCount - 1) return 0;
    ++m_nEditLayer;
    document::Host().CurrentLayerChanged(this, m_nLayerCount - 1 - m_nEditLayer);
    return 1;
}

int CPelmarkDoc::SelectLowerLayer() {
    if (m_nLayerCount <= 0 || m_nEditLayer <= 0) return 0;
    --m_nEditLayer;
    document::Host().CurrentLayerChanged(this, m_nLayerCount - 1 - m_nEditLayer);
    return 1;
}

void CPelmarkDoc::OnLayerMergeDown() {
    const int current = m_nEditLayer;
    if (m_nLayerCount < 2 || current <= 0 || current >= document::kLayerSlots) return;
    if (!m_hLayers[size_t(current)] || !m_hLayers[size_t(current - 1)]) return;
    if (!PushUndo(kLayerAction, QStringLiteral("与下方的层合并"), true)) return;
    document::MergeIntoCurrent(*this, current - 1);
    MemFree(m_hLayers[size_t(current - 1)]);
    std::move(m_hLayers.begin() + current, m_hLayers.end(), m_hLayers.begin() + current - 1);
    m_hLayers.back() = nullptr;
    m_nEditLayer = current - 1;
    --m_nLayerCount;
    FinishMerge();
}

void CPelmarkDoc::FinishMerge() {
    document::Host().LayersChanged(this);
    EndEditMode();
    SetModified(true);
    RefreshSavedLayerCopy();
    EnableActiveView();
}

void CPelmarkDoc::OnLayerMergeAll() {
    if (m_nLayerCount < 2) return;
    // The underlay row may be current: the merge goes into the bottom layer.
    const int current = std::clamp(m_nEditLayer, 0, m_nLayerCount - 1);
    if (!m_hLayers[size_t(current)]) return;
    if (!PushUndo(kLayerAction, QStringLiteral("合并所有层"), true)) return;
    m_nEditLayer = current;
    document::FlattenIntoCurrent(*this);
    MemHandle kept = m_hLayers[size_t(current)];
    for (MemHandle& layer : m_hLayers) {
        if (layer && layer != kept) MemFree(layer);
        layer = nullptr;
    }
    m_hLayers[0] = kept;
    m_nEditLayer = 0;
    m_nLayerCount = 1;
    FinishMerge();
}

void CPelmarkDoc::OnLayerMergeVisible() {
    if (m_nLayerCount < 2) return;
    const auto firstVisible =
        std::find_if(m_hLayers.begin(), m_hLayers.end(), [](MemHandle h) { return IsVisibleLayer(h); });
    // Nothing visible: nothing to merge.
    if (firstVisible == m_hLayers.end()) return;
    if (!PushUndo(kLayerAction, QStringLiteral("合并可见图层"), true)) return;
    document::FlattenIntoFirstVisible(*this);
    for (auto it = firstVisible + 1; it != m_hLayers.end(); ++it) {
        if (*it && IsVisibleLayer(*it)) {
            MemFree(*it);
            *it = nullptr;
        }
    }
    auto end = std::stable_partition(m_hLayers.begin(), m_hLayers.end(),
                                     [](MemHandle h) { return h != nullptr; });
    m_nLayerCount = int(end - m_hLayers.begin());
    m_nEditLayer = 0;
    FinishMerge();
}

void CPelmarkDoc::SetDrawModesCommand(int mode) {
    if (m_nLayerCount <= 0) return;
    document::SetAllDrawModes(*this, mode);
    document::Host().LayersChanged(this);
    EndEditMode();
    SetModified(true);
}

void CPelmarkDoc::OnLayerUnifyAll() { SetDrawModesCommand(LAYER_DRAW_NORMAL); }
void CPelmarkDoc::OnLayerAllTransparent() { SetDrawModesCommand(LAYER_DRAW_INDEX0_CLEAR); }

void CPelmarkDoc::OnLayerExpand() {
    if (m_nLayerCount < 2) return;
    document::DocumentHost& host = document::Host();
    if (!host.HasWorkMemory(1)) return;
    document::LayerSheetGrid grid = document::ProposeLayerSheetGrid(this);
    // The dialog has asked before a part of the sheet or a layer is lost.
    if (host.AskLayerSheetGrid(this, &grid) && host.HasWorkMemory(1)) {
        const MaxImageSize size = document::LayerSheetSize(grid, m_nWidth, m_nHeight, GetMaxImageSize());
        if (host.ResizeActiveCanvas(this, size.width, size.height, grid.columns, grid.rows, true)) {
            InvalidateOtherViews(nullptr);
            host.LayersChanged(this);
            host.ImageChanged(this);
            host.EditStateChanged(this);
        }
    }
    EnableActiveView();
}

int CPelmarkDoc::ScanUsedColors() {
    std::array<uint8_t, 256>& used = document::UsedColorTable();
    used.fill(0);
    dib::LockedDib image(m_hImage);
    if (!image || image.geo().bitCount != 8) return 0;
    const dib::DibGeometry& g = image.geo();
    const size_t rowBytes = g.PaddedRow();
    if (!g.HoldsRows(rowBytes)) return 0;
    for (int y = 0; y < g.height; ++y) {
        const uint8_t* row = image.Row(y, rowBytes);
        for (int x = 0; x < g.width; ++x) used[row[x]] = 1;
    }
    return int(std::count(used.begin(), used.end(), uint8_t(1)));
}

void CPelmarkDoc::SwapLayerColorIndices(int a, int b) {
    if (a == b || a < 0 || a > 255 || b < 0 || b > 255) return;
    if (m_nWidth <= 0 || m_nHeight <= 0) return;
    const size_t n = dib::LayerRowBytes(m_nWidth) * size_t(m_nHeight);
    for (MemHandle layer : m_hLayers) {
        MemLockGuard lock(layer);
        if (!lock || lock.size() < LAYER_HEADER_SIZE + n) continue;
        uint8_t* p = lock.get() + LAYER_HEADER_SIZE;
        for (size_t i = 0; i < n; ++i) {
            if (p[i] == a) p[i] = uint8_t(b);
            else if (p[i] == b) p[i] = uint8_t(a);
        }
    }    NoteContentChange();
}
