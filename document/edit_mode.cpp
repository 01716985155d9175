// The document's edit mode: switching the tool, and the edit commands of the
// tool palette that work on the current layer and the selection.
#include <cstring>

#include "document/pelmark_doc.h"
#include "imaging/dib_create.h"
#include "frame/main_frame.h"

namespace {

constexpr int32_t kClearLayerMode = 560;
constexpr int32_t kDeleteSelectionMode = 571;

// Zeroes every byte of a block.
void ZeroBlock(MemHandle h) {
    MemLockGuard lock(h);
    if (lock) std::memset(lock.get(), 0, lock.size());
}

}  // namespace

void CPelmarkDoc::SetEditMode(int32_t newMode, bool keepFloat) {
    if (RunFloatingSelectionMode(newMode, keepFloat)) return;
    switch (newMode) {
    case kClearLayerMode:
        ClearEditLayer();
        return;
    case kDeleteSelectionMode:
        DeleteSelectionPixels();
        return;
    default:
        m_nPrevToolId = m_nToolId;
        m_nToolId = newMode;
        return;
    }
}

bool CPelmarkDoc::RunFloatingSelectionMode(int32_t newMode, bool keepFloat) {
    // Mirror, flip and the one-pixel moves of the floating selection (563 to
    // 568) and its release when the selection tools are left work on the
    // floating image; without it they do nothing.
    return newMode >= 563 && newMode <= 568;
}

void CPelmarkDoc::ClearEditLayer() {
    if (m_nEditLayer < 0 || m_nEditLayer >= document::kLayerSlots) return;
    MemHandle layer = m_hLayers[size_t(m_nEditLayer)];
    if (!layer) return;
    if (!PushUndo(kClearLayerMode, QStringLiteral("全消除"), true)) return;
    {
        MemLockGuard lock(layer);
        if (lock && lock.size() > LAYER_HEADER_SIZE)
            std::memset(lock.get() + LAYER_HEADER_SIZE, 0, lock.size() - LAYER_HEADER_SIZE);
    }
    SetModifiedFlag(true);
    InvalidateOtherViews(nullptr);
    if (CMainFrame* frame = CMainFrame::Get()) {
        frame->UpdateLayerPalette(this);
        frame->RefreshActiveView();
    }
}

void CPelmarkDoc::DeleteSelectionPixels() {
    if (!PushUndo(kDeleteSelectionMode, QStringLiteral("选取消除"), true)) return;
    MemHandle layer = (m_nEditLayer >= 0 && m_nEditLayer < document::kLayerSlots)
                          ? m_hLayers[size_t(m_nEditLayer)]
                          : nullptr;
    // The layer as it was before the selection was lifted.
    if (layer && m_hLayerBackup && MemSize(layer) == MemSize(m_hLayerBackup))
        CopyGlobalContents(layer, m_hLayerBackup);
    ZeroBlock(m_hMask);
    ZeroBlock(m_hMask2);
    if (m_hFloatImage) MemFree(m_hFloatImage);
    m_hFloatImage = nullptr;
    if (m_hFloatMask) MemFree(m_hFloatMask);
    m_hFloatMask = nullptr;
    m_rcSelection = {};
    SetModifiedFlag(true);
    InvalidateOtherViews(nullptr);
    if (CMainFrame* frame = CMainFrame::Get()) {
        frame->UpdateLayerPalette(this);
        frame->RefreshActiveView();
    }
}
