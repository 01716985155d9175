// The scale (569) and rotate (570) tools of the canvas view: the floating
// selection drawn scaled through its handles or turned about its centre,
// kept with Enter and given back with Esc. One use of either tool is one
// undo step, however many drags it has.
#include <algorithm>
#include <cmath>

#include <QString>

#include "document/document_host.h"
#include "document/edit_state.h"
#include "document/floating_selection.h"
#include "document/floating_selection_transform.h"
#include "document/floating_tool_ops.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "document/undo_actions.h"
#include "imaging/dib_create.h"
#include "platform/memory.h"
#include "tools/drag_state.h"
#include "tools/selection_geometry.h"
#include "view/pelmark_view.h"
#include "view/selection_tools.h"
#include "view/view_host.h"

using tools::ImagePoint;

namespace {

constexpr const char* kScaleText = "放大缩小";
constexpr const char* kRotateText = "翻转";

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// A floating selection the two tools can work on: a floating image, a
// current layer and the spare copy that holds the layer without it.
bool CanTransform(const CPelmarkDoc* doc) {
    return doc && !doc->m_bBusy && doc->m_hFloatImage && doc->m_hLayerBackup &&
           document::CurrentLayerOf(*doc) && !document::RectEmpty(doc->m_rcSelection);
}

DibRect Ordered(const DibRect& r) {
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}

// The frame of a scale drag with the pointer at `p`, snapped when the grid
// snaps.
DibRect ScaleFrameAt(const DibRect& frame, int flags, ImagePoint p, const tools::GridSnap& grid) {
    int cellWidth = 0, cellHeight = 0;
    tools::ScaleSnapCell(grid, &cellWidth, &cellHeight);
    return tools::SnapScaleFrame(tools::DragScaleFrame(frame, flags, p), cellWidth, cellHeight);
}

// Whether the floating selection is shown other than lifted: scaled, or
// turned away from 0.
bool TransformedNow(const CPelmarkDoc& doc) {
    const DibRect& s = doc.m_rcSelection;
    const DibRect& t = doc.m_rcFloatTarget;
    return doc.m_Selection.angle != 0 || s.right - s.left != t.right - t.left || s.bottom - s.top != t.bottom - t.top;
}

// The pixels the selection turned by `angle` covers: the box of the turned
// frame and of the selection, a pixel wider for the rounding, cut to the
// image.
DibRect TurnedBox(const CPelmarkDoc& doc, int angle) {
    const DibRect s = Ordered(doc.m_rcSelection);
    DibRect box = s;
    for (const auto& corner : document::TransformedFrame({s, s, double(angle), 1.0})) {
        box.left = std::min(box.left, corner[0] - 1);
        box.top = std::min(box.top, corner[1] - 1);
        box.right = std::max(box.right, corner[0] + 1);
        box.bottom = std::max(box.bottom, corner[1] + 1);
    }
    return {std::max(box.left, 0), std::max(box.top, 0), std::min(box.right, doc.m_nWidth),
            std::min(box.bottom, doc.m_nHeight)};
}

bool Inside(const DibRect& a, const DibRect& b) {
    return a.left >= b.left && a.top >= b.top && a.right <= b.right && a.bottom <= b.bottom;
}

}  // namespace

void CPelmarkView::BackToSelectTool(int times) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return;
    for (int i = 0; i < times; ++i) doc->SetEditMode(tools::kSelectTool);
    document::GetProgramEditState().toolIndex = tools::kSelectTool - tools::kSelectTool;
    document::Host().ToolChanged(doc, 0);
    if (view::ViewHost* host = view::ViewHost::Installed()) host->RefreshToolPalette();
    RefreshAfterEdit(1);
    document::Host().LayersChanged(doc);
    SyncToolWindows();
    update();
}

// ---- Scale ---------------------------------------------------------------------------

int CPelmarkView::HitTestScaleHandle(int x, int y) const {
    const CPelmarkDoc* doc = GetDocument();
    if (!doc || !doc->m_hFloatImage) return 0;
    return tools::HitTestScaleHandle(doc->m_rcSelection, {x, y});
}

void CPelmarkView::OnScaleToolDown(int x, int y) {
    CPelmarkDoc* doc = GetDocument();
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    g.handleFlags = 0;
    const int flags = CanTransform(doc) ? HitTestScaleHandle(x, y) : 0;
    if (!flags) {
        EndRefusedDrag();
        return;
    }
    document::SelectionState& st = doc->m_Selection;
    if (!st.scaleStarted) {
        if (!doc->PushUndo(document::kScaleToolAction, QString::fromUtf8(kScaleText), true)) {
            EndRefusedDrag();
            return;
        }
        st.scaleStarted = 1;
        const DibRect& s = doc->m_rcSelection;
        doc->m_rcScaleFrame = {s.left, s.top, s.right - 1, s.bottom - 1};
        // Where the selection was when the scale began, for Esc.
        st.floatOffsetX = s.left - doc->m_rcFloatTarget.left;
        st.floatOffsetY = s.top - doc->m_rcFloatTarget.top;
    }
    doc->SetModified(true);
    g.handleFlags = tools::OrientScaleFlags(flags, doc->m_rcScaleFrame);
    g.start = g.last = {x, y};
}

void CPelmarkView::OnScaleToolMove(ImagePoint p) {
    CPelmarkDoc* doc = GetDocument();
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    if (!CanTransform(doc) || g.scaleBlocked || !g.handleFlags) return;
    const DibRect frame = ScaleFrameAt(doc->m_rcScaleFrame, g.handleFlags, p, Snap());
    doc->m_rcScaleFrame = frame;
    view::ReportToolSize(tools::ScaleFrameWidth(frame), tools::ScaleFrameHeight(frame));
    const DibRect r = Ordered(frame);
    doc->m_rcSelection = {r.left, r.top, r.right + 1, r.bottom + 1};
    g.last = p;
    update();
}

void CPelmarkView::OnScaleToolUp(int x, int y) {
    CPelmarkDoc* doc = GetDocument();
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    const int flags = g.handleFlags;
    g.handleFlags = 0;
    if (!CanTransform(doc) || g.scaleBlocked || !flags) return;
    const DibRect r = Ordered(ScaleFrameAt(doc->m_rcScaleFrame, flags, {x, y}, Snap()));
    MemHandle layer = document::CurrentLayerOf(*doc);
    // The layer as it is, in case the scaled selection cannot be drawn.
    MemHandle before = DuplicateGlobal(layer);
    if (!before) {
        document::Host().ReportOutOfMemory();
        return;
    }
    const DibRect previous = doc->m_rcSelection;
    document::RestoreWholeLayer(*doc);
    if (InsertImageAt(r.left, r.top, r.right + 1, r.bottom + 1)) {
        doc->m_rcScaleFrame = r;
        doc->m_Selection.transformed = TransformedNow(*doc) ? 1 : 0;
    } else {
        CopyGlobalContents(layer, before);
        doc->m_rcSelection = previous;
    }
    MemFree(before);
    RefreshAfterEdit(1);
    document::Host().LayersChanged(doc);
    SyncToolWindows();
    update();
}

bool CPelmarkView::OnScaleToolKey(int key) {
    CPelmarkDoc* doc = GetDocument();
    if (!CanTransform(doc) || (!IsEnter(key) && key != Qt::Key_Escape)) return false;
    if (IsEnter(key)) {
        BackToSelectTool(2);
        return true;
    }
    // The lifted size, where the selection was when the scale began. A
    // selection scaled in an earlier use of the tool changes back in a step
    // of its own.
    document::SelectionState& st = doc->m_Selection;
    if (!st.scaleStarted && TransformedNow(*doc)) {
        if (!doc->PushUndo(document::kScaleToolAction, QString::fromUtf8(kScaleText), true)) return true;
        st.scaleStarted = 1;
        doc->SetModified(true);
    }
    const DibRect& t = doc->m_rcFloatTarget;
    const DibRect place{t.left + st.floatOffsetX, t.top + st.floatOffsetY, t.right + st.floatOffsetX,
                        t.bottom + st.floatOffsetY};
    document::RestoreWholeLayer(*doc);
    if (InsertImageAt(place.left, place.top, place.right, place.bottom)) {
        doc->m_rcScaleFrame = {place.left, place.top, place.right - 1, place.bottom - 1};
        doc->m_Selection.transformed = TransformedNow(*doc) ? 1 : 0;
    }
    BackToSelectTool(1);
    return true;
}

// ---- Rotate --------------------------------------------------------------------------

bool CPelmarkView::HitTestRotateArea(int x, int y) const {
    const CPelmarkDoc* doc = GetDocument();
    if (!doc || document::RectEmpty(doc->m_rcSelection)) return false;
    return tools::InRotateArea(tools::RotateArea(doc->m_rcSelection, doc->m_nWidth, doc->m_nHeight), {x, y});
}

void CPelmarkView::OnRotateToolDown(int x, int y) {
    CPelmarkDoc* doc = GetDocument();
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    g.rotating = false;
    if (!CanTransform(doc) || !HitTestRotateArea(x, y)) {
        EndRefusedDrag();
        return;
    }
    document::SelectionState& st = doc->m_Selection;
    if (!st.rotateStarted) {
        if (!doc->PushUndo(document::kRotateToolAction, QString::fromUtf8(kRotateText), true)) {
            EndRefusedDrag();
            return;
        }
        st.rotateStarted = 1;
    }
    g.startAngle = tools::PointAngle(tools::RotationCentre(doc->m_rcSelection), {x, y});
    doc->SetModified(true);
    view::ReportToolAngle(0);
    st.dragStartAngle = st.angle;
    g.rotating = true;
    g.rotated = false;
}

void CPelmarkView::RotateStep(ImagePoint p) {
    CPelmarkDoc* doc = GetDocument();
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    document::SelectionState& st = doc->m_Selection;
    const int pointer = tools::PointAngle(tools::RotationCentre(doc->m_rcSelection), p);
    const int before = st.angle;
    st.angle = tools::DragAngle(st.dragStartAngle, pointer, g.startAngle, tools::ProgramDragState().shiftHeld != 0);
    view::ReportToolAngle(st.angle);
    RedrawTurnedSelection(before);
    g.rotated = true;
}

void CPelmarkView::RedrawTurnedSelection(int shownAngle) {
    CPelmarkDoc* doc = GetDocument();
    if (!CanTransform(doc)) return;
    document::SelectionState& st = doc->m_Selection;
    document::RestoreWholeLayer(*doc);
    // The preview recomposes what the new turn covers; what only the old one
    // covered is recomposed here.
    InsertImagePreview(st.angle);
    const DibRect old = TurnedBox(*doc, shownAngle);
    if (!Inside(old, TurnedBox(*doc, st.angle))) RefreshAfterEdit(1, &old);
    const DibRect& s = doc->m_rcSelection;
    document::TransformFloating(*doc, s, s, st.angle, nullptr, nullptr, 1.0, 2);
    st.transformed = TransformedNow(*doc) ? 1 : 0;
    update();
}

void CPelmarkView::OnRotateToolMove(ImagePoint p) {
    CPelmarkDoc* doc = GetDocument();
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    if (!CanTransform(doc) || g.rotateBlocked || !g.rotating) return;
    RotateStep(p);
}

void CPelmarkView::OnRotateToolUp(int x, int y) {
    CPelmarkDoc* doc = GetDocument();
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    const bool rotating = g.rotating;
    g.rotating = false;
    if (!CanTransform(doc) || g.rotateBlocked || !rotating) return;
    if (!g.rotated) RotateStep({x, y});
    update();
    document::Host().LayersChanged(doc);
    SyncToolWindows();
}

bool CPelmarkView::OnRotateToolKey(int key) {
    CPelmarkDoc* doc = GetDocument();
    if (!CanTransform(doc) || (!IsEnter(key) && key != Qt::Key_Escape)) return false;
    if (IsEnter(key)) {
        BackToSelectTool(2);
        return true;
    }
    document::SelectionState& st = doc->m_Selection;
    if (!st.rotateStarted && st.angle != 0) {
        if (!doc->PushUndo(document::kRotateToolAction, QString::fromUtf8(kRotateText), true)) return true;
        st.rotateStarted = 1;
        doc->SetModified(true);
    }
    const int shown = st.angle;
    st.angle = 0;
    RedrawTurnedSelection(shown);
    view::ReportToolAngle(0);
    BackToSelectTool(1);
    return true;
}
