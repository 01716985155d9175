// The document's edit mode: switching the tool, and the edit commands of the
// tool palette that work on the current layer and the selection.
#include <cstring>

#include "document/document_host.h"
#include "document/floating_selection.h"
#include "document/floating_tool_ops.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "document/undo_actions.h"
#include "imaging/dib_create.h"

namespace {

// Edit modes that are commands on the current layer and the selection.
constexpr int32_t kClearLayerMode = 560;
constexpr int32_t kDeleteSelectionMode = 571;

// The selection tool and the magic wand.
bool IsSelectionTool(int32_t mode) { return mode == 551 || mode == 552; }
// The scale and rotate tools, which work on the floating selection.
bool IsTransformTool(int32_t mode) { return mode == 569 || mode == 570; }

// Whether a switch from `current` to `next` puts a floating selection down:
// any switch away from the selection tools (to the same tool too), and a
// switch from scale or rotate to anything but the selection, scale and
// rotate tools.
bool EndsFloating(int32_t current, int32_t next) {
    if (IsSelectionTool(current)) return true;
    return IsTransformTool(current) && !IsSelectionTool(next) && !IsTransformTool(next);
}

QString FloatingCommandText(int32_t mode) {
    switch (mode) {
    case document::kFloatMirror: return QStringLiteral("水平翻转");
    case document::kFloatFlip: return QStringLiteral("上下反转");
    case document::kFloatUp: return QStringLiteral("上移动");
    case document::kFloatLeft: return QStringLiteral("左移动");
    case document::kFloatRight: return QStringLiteral("右移动");
    default: return QStringLiteral("下移动");
    }
}

}  // namespace

void CPelmarkDoc::SetEditMode(int32_t newMode, bool keepFloat) {
    // One use of the scale or rotate tool is one step: a new use begins here.
    m_Selection.scaleStarted = 0;
    m_Selection.rotateStarted = 0;
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

void CPelmarkDoc::SelectTool(int32_t tool) {
    if (tool != kClearLayerMode) {
        SetEditMode(tool);
        return;
    }
    // Through the hand tool, which is no edit and puts a floating selection
    // down the same way; a refused switch leaves the tool as it was.
    const int32_t previous = m_nToolId;
    SetEditMode(kHandToolId);
    if (m_nToolId != kHandToolId) return;
    m_nPrevToolId = previous;
    m_nToolId = tool;
}

void CPelmarkDoc::EndEditMode() {
    // The tool stays; only an edit under way (a floating selection) ends.
    // Scale and rotate chosen again keep their selection floating, so they
    // are chosen as from the selection tool, which puts it down.
    const int32_t tool = m_nToolId;
    const int32_t previous = m_nPrevToolId;
    if (IsTransformTool(tool)) m_nToolId = 551;
    SelectTool(tool);
    m_nToolId = tool;
    m_nPrevToolId = previous;
}

bool CPelmarkDoc::RunFloatingSelectionMode(int32_t newMode, bool keepFloat) {
    if (document::IsFloatingCommand(newMode)) {
        // Mirror, flip and the one-pixel moves work on the floating image;
        // without one they do nothing. Repeated moves join one step.
        if (!m_hFloatImage || !document::CurrentLayerOf(*this)) return true;
        if (!PushUndo(newMode, FloatingCommandText(newMode), true)) return true;
        if (document::ApplyFloatingCommand(*this, newMode)) {
            SetModifiedFlag(true);
            InvalidateOtherViews(nullptr);
        }
        return true;
    }
    // keepFloat keeps the selection floating (the scale and rotate tools go
    // on with it).
    bool command = newMode == kClearLayerMode || newMode == kDeleteSelectionMode;
    if (!command && EndsFloating(m_nToolId, newMode) && m_hFloatImage && !keepFloat) {
        if (!PushUndo(document::kReleaseFloatingAction, QStringLiteral("选取解除"), true)) return true;
        document::DropFloating(*this);
        m_bPasted = 0;
        SetModifiedFlag(true);
        InvalidateOtherViews(nullptr);
        document::Host().LayersChanged(this);
        document::Host().ImageChanged(this);
    }
    return false;
}

void CPelmarkDoc::ClearEditLayer() {
    MemHandle layer = document::CurrentLayerOf(*this);
    if (!layer) return;
    if (!PushUndo(document::kClearLayerAction, QStringLiteral("全消除"), true)) return;
    {
        MemLockGuard lock(layer);
        if (lock && lock.size() > LAYER_HEADER_SIZE)
            std::memset(lock.get() + LAYER_HEADER_SIZE, 0, lock.size() - LAYER_HEADER_SIZE);
    }
    SetModifiedFlag(true);
    InvalidateOtherViews(nullptr);
    document::Host().LayersChanged(this);
    document::Host().ImageChanged(this);
}

void CPelmarkDoc::DeleteSelectionPixels() {
    if (!PushUndo(document::kDeleteSelectionAction, QStringLiteral("选取消除"), true)) return;
    MemHandle layer = document::CurrentLayerOf(*this);
    // The spare copy is the layer without the floating selection. A
    // selection lifted from the layer and not moved yet still fills its
    // source there: the source goes as on a first move. A pasted block
    // came from no place of the layer.
    if (!m_bPasted) document::ClearSourceOnFirstMove(*this);
    if (layer && m_hLayerBackup && MemSize(layer) == MemSize(m_hLayerBackup))
        CopyGlobalContents(layer, m_hLayerBackup);
    document::ClearMask(*this);
    document::ClearSecondMask(*this);
    if (m_hFloatImage) MemFree(m_hFloatImage);
    m_hFloatImage = nullptr;
    if (m_hFloatMask) MemFree(m_hFloatMask);
    m_hFloatMask = nullptr;
    m_rcSelection = {};
    SetModifiedFlag(true);
    InvalidateOtherViews(nullptr);
    document::Host().LayersChanged(this);
    document::Host().ImageChanged(this);
}
