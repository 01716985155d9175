#include "document/floating_tool_ops.h"

#include <algorithm>

#include "document/floating_selection.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "imaging/dib_blit.h"
#include "imaging/dib_create.h"

namespace document {

namespace {

bool SpareFits(const CPelmarkDoc& doc, MemHandle layer) {
    return layer && doc.m_hLayerBackup && MemSize(layer) == MemSize(doc.m_hLayerBackup);
}

DibRect Cut(const CPelmarkDoc& doc, const DibRect& r) {
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, doc.m_nWidth),
            std::min(r.bottom, doc.m_nHeight)};
}

}  // namespace

void RenewSpareCopy(CPelmarkDoc& doc) {
    if (doc.m_hLayerBackup) doc.m_hLayerBackup = MemFree(doc.m_hLayerBackup);
    if (MemHandle layer = CurrentLayerOf(doc)) doc.m_hLayerBackup = DuplicateGlobal(layer);
}

bool RestoreLayerRect(CPelmarkDoc& doc, const DibRect& rect) {
    MemHandle layer = CurrentLayerOf(doc);
    if (!SpareFits(doc, layer) || !doc.m_hImage) return false;
    const DibRect r = Cut(doc, rect);
    if (RectEmpty(r)) return true;
    return BlitDibRect(doc.m_hImage, doc.m_hLayerBackup, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       r.left, r.top, layer, true);
}

bool RestoreWholeLayer(CPelmarkDoc& doc) {
    MemHandle layer = CurrentLayerOf(doc);
    if (!SpareFits(doc, layer)) return false;
    CopyGlobalContents(layer, doc.m_hLayerBackup);
    return true;
}

void DrawFloatingAt(CPelmarkDoc& doc, const DibRect& rect) {
    MemHandle layer = CurrentLayerOf(doc);
    if (!doc.m_hFloatImage || !layer) return;
    const DibRect& m = doc.m_rcFloatMaskPixels;
    DibMask mask;
    const bool fits = m.right - m.left == rect.right - rect.left && m.bottom - m.top == rect.bottom - rect.top &&
                      FloatingBlitMask(doc, &mask);
    CompositeFloatingOffset(doc, doc.m_hFloatImage, layer, rect, fits ? &mask : nullptr);
}

bool SettleTransformedFloating(CPelmarkDoc& doc) {
    if (!doc.m_Selection.transformed) return true;
    const DibRect r = MaskBoundingRect(doc);
    if (RectEmpty(r)) return false;
    LiftSelection(doc, r);
    LiftFloatingMask(doc, r.left, r.top, r.right, r.bottom);
    doc.m_rcFloatTarget = doc.m_rcSelection;
    doc.m_rcScaleFrame = {r.left, r.top, r.right - 1, r.bottom - 1};
    doc.m_Selection.floatOffsetX = doc.m_Selection.floatOffsetY = 0;
    doc.m_Selection.angle = 0;
    return true;
}

DibRect MoveFloatingBy(CPelmarkDoc& doc, int dx, int dy, bool withLasso) {
    const DibRect old = doc.m_rcSelection;
    RestoreLayerRect(doc, old);
    const DibRect moved{old.left + dx, old.top + dy, old.right + dx, old.bottom + dy};
    DrawFloatingAt(doc, moved);
    OffsetFloating(doc, dx, dy);
    if (withLasso) OffsetLasso(doc, dx, dy);
    doc.m_Selection.floatOffsetX = doc.m_rcSelection.left - doc.m_rcFloatTarget.left;
    doc.m_Selection.floatOffsetY = doc.m_rcSelection.top - doc.m_rcFloatTarget.top;
    return Cut(doc, {std::min(old.left, moved.left), std::min(old.top, moved.top),
                     std::max(old.right, moved.right), std::max(old.bottom, moved.bottom)});
}

void ClearSourceOnFirstMove(CPelmarkDoc& doc) {
    if (!doc.m_Selection.firstMovePending) return;
    doc.m_Selection.firstMovePending = 0;
    ClearMaskedPixels(doc, 1);
}

void BeginFloatingState(CPelmarkDoc& doc, bool liftedFromLayer) {
    SelectionState& st = doc.m_Selection;
    st.firstMovePending = liftedFromLayer ? 1 : 0;
    if (liftedFromLayer) doc.m_bPasted = 0;
    st.movedSinceLift = 0;
    st.floatOffsetX = st.floatOffsetY = 0;
    st.angle = st.dragStartAngle = 0;
    st.transformed = 0;
    const DibRect& r = doc.m_rcSelection;
    if (!RectEmpty(r)) doc.m_rcScaleFrame = {r.left, r.top, r.right - 1, r.bottom - 1};
}

void LiftFloatingFromCurrentLayer(CPelmarkDoc& doc) {
    if (!doc.m_hFloatImage || !CurrentLayerOf(doc) || RectEmpty(doc.m_rcSelection)) return;
    // A scaled or turned selection is lifted at its mask as the layer shows it.
    if (doc.m_Selection.transformed) {
        if (!SettleTransformedFloating(doc)) return;
    } else {
        const DibRect r = doc.m_rcSelection;
        LiftSelection(doc, r);
        LiftFloatingMask(doc, r.left, r.top, r.right, r.bottom);
        doc.m_rcFloatTarget = doc.m_rcSelection;
    }
    BeginFloatingState(doc, true);
}

}  // namespace document
