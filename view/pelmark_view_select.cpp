// The selection tool of the canvas view: a rectangle, ellipse, freehand or
// polygon selection lifted into the floating selection, moved by the mouse
// or the cursor keys, and added to with Shift.
#include <algorithm>

#include <QString>

#include "document/document_host.h"
#include "document/floating_selection.h"
#include "document/floating_tool_ops.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "document/undo_actions.h"
#include "framework/program_globals.h"
#include "tools/drag_state.h"
#include "tools/selection_geometry.h"
#include "tools/tool_options.h"
#include "view/pelmark_view.h"
#include "view/selection_tools.h"
#include "view/view_globals.h"
#include "view/view_host.h"

using tools::ImagePoint;

namespace {

constexpr const char* kSelectText = "选择区域";
constexpr const char* kMoveText = "选区移动";
constexpr int kAddingCursor = 28;

int Shape() { return std::clamp(view::SelectionModeIndex(), 0, 3); }

bool IsLassoShape(int shape) { return shape == tools::kShapeFreehand || shape == tools::kShapePolygon; }

ImagePoint ClampToImage(const CPelmarkDoc& doc, ImagePoint p) {
    return {std::clamp(p.x, 0, std::max(doc.m_nWidth - 1, 0)), std::clamp(p.y, 0, std::max(doc.m_nHeight - 1, 0))};
}

tools::BandRule RuleOf(const CPelmarkDoc& doc) {
    tools::BandRule rule;
    rule.shape = Shape();
    rule.constraint = CPelmarkView::ToolOptionOf(kSelectionSizeMode);
    rule.width = CPelmarkView::ToolOptionOf(kSelectionWidth);
    rule.height = CPelmarkView::ToolOptionOf(kSelectionHeight);
    rule.imageWidth = doc.m_nWidth;
    rule.imageHeight = doc.m_nHeight;
    return rule;
}

// A line into the selection mask and into the byte map of the lasso fill.
void PlotBoth(CPelmarkDoc& doc, ImagePoint a, ImagePoint b) {
    document::PlotMaskLine(doc, a.x, a.y, b.x, b.y, document::kTargetSelection);
    document::PlotMaskLine(doc, a.x, a.y, b.x, b.y, document::kTargetByteMap);
}

bool PolygonUnderWay(const CPelmarkDoc& doc) {
    return Shape() == tools::kShapePolygon && doc.m_Selection.polygonCount > 0 &&
           doc.m_Selection.lasso.Count() > 0;
}

view::DragOutline LassoOutline(const CPelmarkDoc& doc, const ImagePoint* rubberEnd = nullptr) {
    view::DragOutline o;
    o.kind = view::DragOutline::kPolyline;
    for (const document::LassoPoint& p : document::GetLassoPoints(doc)) o.points.push_back({p.x, p.y});
    if (rubberEnd) o.points.push_back({rubberEnd->x, rubberEnd->y});
    return o;
}

view::DragOutline BandOutline(const DibRect& r) {
    view::DragOutline o;
    o.kind = Shape() == tools::kShapeEllipse ? view::DragOutline::kEllipse : view::DragOutline::kFrame;
    o.rect = r;
    return o;
}

DibRect Offset(const DibRect& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

DibRect CutToImage(const CPelmarkDoc& doc, const DibRect& r) {
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, doc.m_nWidth),
            std::min(r.bottom, doc.m_nHeight)};
}

DibRect Union(const DibRect& a, const DibRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

}  // namespace

bool CPelmarkView::IsInSelection(int x, int y) const {
    const CPelmarkDoc* doc = GetDocument();
    if (!doc) return false;
    const DibRect& r = doc->m_rcSelection;
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void CPelmarkView::EndRefusedDrag() {
    tools::DragState& d = tools::ProgramDragState();
    d.bits &= ~(tools::kLeftToolDrag | tools::kSelectionDragA | tools::kSelectionMoveDrag);
    if (d.bits == 0) {
        d.capture = 0;
        ReleaseCapture();
    }
}

// ---- Button-down --------------------------------------------------------------------

void CPelmarkView::OnSelectToolDown(int x, int y, int rawX, int rawY) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || doc->m_bBusy || !doc->m_hImage) return;
    document::SelectionState& st = doc->m_Selection;
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    tools::DragState& d = tools::ProgramDragState();
    const ImagePoint p = ClampToImage(*doc, {x, y});
    g.start = g.last = p;
    AutoScrollCheck(p);
    d.bits |= tools::kSelectionDragA;
    const bool shift = d.shiftHeld != 0;

    st.adding = 0;
    if (shift && !st.movedSinceLift) {
        d.savedSelection = doc->m_rcSelection;
        if (doc->m_hFloatImage) {
            st.adding = 1;
            SetToolCursor(kAddingCursor + Shape());
        }
    }

    if (!doc->m_hFloatImage || st.adding) {
        st.movedSinceLift = 0;
        // The clicks of one polygon are one step.
        if (!PolygonUnderWay(*doc) &&
            !doc->PushUndo(document::kSelectAction, QString::fromUtf8(kSelectText), true)) {
            st.adding = 0;
            EndRefusedDrag();
            return;
        }
        // The selection so far waits in the second mask until the new part
        // is done.
        if (st.adding) document::ExchangeSecondMask(*doc, 0);
        StartNewSelection(p, !st.adding);
        return;
    }
    if (!shift && IsInSelection(rawX, rawY)) {
        // A move of the floating selection.
        BeginSelectionMove(kMoveText, false);
        return;
    }
    // Outside, or Shift after a move: the floating selection stays in the
    // layer as it is shown and a new selection begins.
    if (!doc->PushUndo(document::kReleaseFloatingAction, QString::fromUtf8(kSelectText), true)) {
        EndRefusedDrag();
        return;
    }
    document::FreeFloating(*doc);
    doc->m_rcSelection = {};
    doc->m_rcFloatTarget = {};
    st.transformed = 0;
    st.angle = 0;
    st.movedSinceLift = 0;
    document::BeginMaskEdit(*doc, 3);
    StartNewSelection(p, true);
    update();
}

void CPelmarkView::StartNewSelection(ImagePoint p, bool clearMasks) {
    CPelmarkDoc* doc = GetDocument();
    document::SelectionState& st = doc->m_Selection;
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    const int shape = Shape();
    st.dragStarted = 1;
    if (PolygonUnderWay(*doc)) {
        document::AddLassoPoint(*doc, p.x, p.y);
        m_pSelectTools->ShowOutline(LassoOutline(*doc));
        return;
    }
    if (IsLassoShape(shape)) {
        // The byte map is the lasso fill's scratch: always cleared.
        document::BeginMaskEdit(*doc, clearMasks ? 3 : 2);
        document::ResetLasso(*doc);
        document::AddLassoPoint(*doc, p.x, p.y);
        document::AddLassoPoint(*doc, p.x, p.y);
        st.firstPoint = {p.x, p.y};
        st.polygonCount = 0;
        if (shape == tools::kShapeFreehand) PlotBoth(*doc, p, p);
        m_pSelectTools->ShowOutline(LassoOutline(*doc));
        update();
        view::ReportToolSize(1, 1);
        return;
    }
    if (clearMasks) document::BeginMaskEdit(*doc, 1);
    const DibRect band = tools::SelectionBand(RuleOf(*doc), g.start, p);
    m_pSelectTools->ShowOutline(BandOutline(band));
    view::ReportToolSize(band.right - band.left, band.bottom - band.top);
}

// ---- Moves --------------------------------------------------------------------------

void CPelmarkView::OnSelectToolMove(ImagePoint p) {
    CPelmarkDoc* doc = GetDocument();
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    if (!doc || doc->m_bBusy || g.selectBlocked) return;
    const int bits = tools::ProgramDragState().bits;
    if (bits & tools::kSelectionMoveDrag) {
        MoveFloatingTo(p);
        return;
    }
    if (!(bits & tools::kSelectionDragA)) return;
    p = ClampToImage(*doc, AutoScroll(p));
    switch (Shape()) {
    case tools::kShapeFreehand:
        if (p == g.last) return;
        PlotBoth(*doc, g.last, p);
        document::AddLassoPoint(*doc, p.x, p.y);
        m_pSelectTools->ShowOutline(LassoOutline(*doc));
        break;
    case tools::kShapePolygon:
        m_pSelectTools->ShowOutline(LassoOutline(*doc, &p));
        break;
    default: {
        const DibRect band = tools::SelectionBand(RuleOf(*doc), g.start, p);
        m_pSelectTools->ShowOutline(BandOutline(band));
        view::ReportToolSize(band.right - band.left, band.bottom - band.top);
        break;
    }
    }
    g.last = p;
}

void CPelmarkView::MoveFloatingTo(ImagePoint p) {
    CPelmarkDoc* doc = GetDocument();
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    p = AutoScroll(p);
    const int dx = p.x - g.last.x, dy = p.y - g.last.y;
    g.last = p;
    if (dx == 0 && dy == 0) return;
    if (!g.moved) {
        g.moved = true;
        if (doc->m_Selection.transformed) {
            // The scaled or turned pixels are what moves from now on.
            doc->m_rcSelection = g.moveRect;
            document::SettleTransformedFloating(*doc);
            g.moveFrom = g.moveRect = doc->m_rcSelection;
            doc->m_rcSelection = {};
        }
    }
    document::ClearSourceOnFirstMove(*doc);
    const DibRect old = g.moveRect;
    DibRect r = Offset(old, dx, dy);
    const ImagePoint corner = tools::SnapPoint({r.left, r.top}, Snap(), tools::kSnapBoth);
    r = Offset(r, corner.x - r.left, corner.y - r.top);
    document::RestoreLayerRect(*doc, old);
    document::DrawFloatingAt(*doc, r);
    g.moveRect = r;
    // The wand's selection has no shape of the selection mode: its frame moves.
    const bool wand = doc->m_nToolId == tools::kWandTool;
    if (!wand && IsLassoShape(Shape())) document::OffsetLasso(*doc, r.left - old.left, r.top - old.top);
    const DibRect dirty = CutToImage(*doc, Union(old, r));
    m_pSelectTools->ShowOutline(wand ? view::DragOutline{view::DragOutline::kFrame, r, {}}
                                      : m_pSelectTools->ModeOutline(r));
    RefreshAfterEdit(1, &dirty);
}

// ---- Button-up ----------------------------------------------------------------------

void CPelmarkView::OnSelectToolUp(int x, int y) {
    CPelmarkDoc* doc = GetDocument();
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    tools::DragState& d = tools::ProgramDragState();
    if (!doc || doc->m_bBusy || g.selectBlocked) {
        d.bits &= ~(tools::kSelectionDragA | tools::kSelectionMoveDrag);
        return;
    }
    if (d.bits & tools::kSelectionMoveDrag) {
        FinishSelectionMove({x, y});
        return;
    }
    if (!(d.bits & tools::kSelectionDragA)) return;
    d.bits &= ~tools::kSelectionDragA;
    document::SelectionState& st = doc->m_Selection;
    const ImagePoint p = ClampToImage(*doc, {x, y});
    const int shape = Shape();
    switch (shape) {
    case tools::kShapeRect:
    case tools::kShapeEllipse: {
        const DibRect r = tools::SelectionBand(RuleOf(*doc), g.start, p);
        document::ClearMask(*doc);
        if (shape == tools::kShapeRect) {
            document::MaskFillRect(*doc, r.left, r.top, r.right, r.bottom);
        } else {
            const int w = r.right - r.left, h = r.bottom - r.top;
            if (w > 0 && h > 0)
                document::RasterizeEllipse(*doc, r.left + w / 2, r.top + h / 2, w / 2, h / 2, w, h,
                                           document::kTargetSelection);
        }
        break;
    }
    case tools::kShapeFreehand: {
        const ImagePoint first{st.firstPoint.x, st.firstPoint.y};
        PlotBoth(*doc, g.last, p);
        PlotBoth(*doc, p, first);
        document::AddLassoPoint(*doc, p.x, p.y);
        document::AddLassoPoint(*doc, first.x, first.y);
        document::MaskFillSpans(*doc);
        break;
    }
    case tools::kShapePolygon:
        if (st.polygonCount == 0) {
            st.polygonCount = 1;
        } else {
            const ImagePoint previous{st.previousVertex.x, st.previousVertex.y};
            PlotBoth(*doc, previous, p);
            ++st.polygonCount;
        }
        st.previousVertex = {p.x, p.y};
        m_pSelectTools->ShowOutline(LassoOutline(*doc));
        g.last = p;
        return;
    }
    if (st.adding) document::CombineMasks(doc->m_hMask, document::SecondMask(*doc));
    LiftNewSelection();
}

void CPelmarkView::OnSelectToolDoubleClick(int x, int y) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || doc->m_bBusy || !PolygonUnderWay(*doc)) return;
    document::SelectionState& st = doc->m_Selection;
    const ImagePoint p = ClampToImage(*doc, {x, y});
    const document::LassoPoint first = document::GetLassoPoints(*doc).front();
    PlotBoth(*doc, {st.previousVertex.x, st.previousVertex.y}, p);
    PlotBoth(*doc, p, {first.x, first.y});
    document::AddLassoPoint(*doc, p.x, p.y);
    document::AddLassoPoint(*doc, first.x, first.y);
    document::MaskFillSpans(*doc);
    if (st.adding) document::CombineMasks(doc->m_hMask, document::SecondMask(*doc));
    st.polygonCount = 0;
    LiftNewSelection();
}

void CPelmarkView::LiftNewSelection() {
    CPelmarkDoc* doc = GetDocument();
    document::SelectionState& st = doc->m_Selection;
    m_pSelectTools->ShowOutline({});
    const DibRect r = document::MaskBoundingRect(*doc);
    if (document::RectEmpty(r)) {
        document::FreeFloating(*doc);
        doc->m_rcSelection = {};
        doc->m_rcFloatTarget = {};
        view::ReportToolSize(0, 0);
    } else {
        document::LiftSelection(*doc, r);
        document::LiftFloatingMask(*doc, r.left, r.top, r.right, r.bottom);
        doc->m_rcFloatTarget = doc->m_rcSelection;
        view::ReportToolSize(r.right - r.left, r.bottom - r.top);
    }
    document::RenewSpareCopy(*doc);
    document::BeginFloatingState(*doc, true);
    st.dragStarted = 0;
    st.adding = 0;
    if (view::ViewHost* host = view::ViewHost::Installed()) {
        host->EditStateChanged();
        host->RefreshToolPalette();
    }
    RefreshAfterEdit(1);
    document::Host().LayersChanged(doc);
    SyncToolWindows();
}

void CPelmarkView::FinishSelectionMove(ImagePoint p) {
    CPelmarkDoc* doc = GetDocument();
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    tools::DragState& d = tools::ProgramDragState();
    MoveFloatingTo(p);
    d.bits &= ~tools::kSelectionMoveDrag;
    document::SelectionState& st = doc->m_Selection;
    st.moving = 0;
    m_pSelectTools->ShowOutline({});
    doc->m_rcSelection = g.moveFrom;
    if (!g.moved) {
        // A click without a move changed nothing.
        doc->DropUndoStep();
        doc->SetModified(g.wasModified);
        update();
        return;
    }
    // The rectangle and the mask move once, by this drag's distance.
    document::OffsetFloating(*doc, g.moveRect.left - g.moveFrom.left, g.moveRect.top - g.moveFrom.top);
    st.floatOffsetX = doc->m_rcSelection.left - doc->m_rcFloatTarget.left;
    st.floatOffsetY = doc->m_rcSelection.top - doc->m_rcFloatTarget.top;
    st.movedSinceLift = 1;
    update();
    document::Host().LayersChanged(doc);
    SyncToolWindows();
}

// ---- Cursor keys --------------------------------------------------------------------

bool CPelmarkView::MoveSelectionByKey(int key) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || doc->m_bBusy || !doc->m_hFloatImage || doc->m_bLayerStep) return false;
    if (!document::CurrentLayerOf(*doc) || document::RectEmpty(doc->m_rcSelection)) return false;
    const bool grid = (m_nSnapFlags & 3) != 0;
    const int stepX = grid ? m_nMainCellWidth : GetMoveStepSetting();
    const int stepY = grid ? m_nMainCellHeight : GetMoveStepSetting();
    int dx = 0, dy = 0;
    switch (key) {
    case Qt::Key_Left: dx = -stepX; break;
    case Qt::Key_Right: dx = stepX; break;
    case Qt::Key_Up: dy = -stepY; break;
    case Qt::Key_Down: dy = stepY; break;
    default: return false;
    }
    if (!doc->PushUndo(document::kSelectionKeyMoveAction, QString::fromUtf8(kMoveText), true)) return true;
    document::SettleTransformedFloating(*doc);
    document::ClearSourceOnFirstMove(*doc);
    doc->SetModified(true);
    const DibRect& r = doc->m_rcSelection;
    const ImagePoint corner = tools::SnapPoint({r.left + dx, r.top + dy}, Snap(), tools::kSnapBoth);
    const DibRect dirty =
        document::MoveFloatingBy(*doc, corner.x - r.left, corner.y - r.top, IsLassoShape(Shape()));
    RefreshAfterEdit(1, &dirty);
    document::Host().LayersChanged(doc);
    SyncToolWindows();
    return true;
}

void CPelmarkView::BeginSelectionMove(const char* stepText, bool plainFrame) {
    CPelmarkDoc* doc = GetDocument();
    document::SelectionState& st = doc->m_Selection;
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    tools::DragState& d = tools::ProgramDragState();
    g.wasModified = doc->IsModified();
    if (!doc->PushUndo(document::kSelectionMoveAction, QString::fromUtf8(stepText), true)) {
        EndRefusedDrag();
        return;
    }
    st.moving = 1;
    d.bits = (d.bits & ~tools::kSelectionDragA) | tools::kSelectionMoveDrag;
    doc->SetModified(true);
    g.moveFrom = g.moveRect = doc->m_rcSelection;
    g.moved = false;
    // The saved rectangle is what moves; the document's is empty meanwhile.
    doc->m_rcSelection = {};
    m_pSelectTools->ShowOutline(plainFrame ? view::DragOutline{view::DragOutline::kFrame, g.moveRect, {}}
                                           : m_pSelectTools->ModeOutline(g.moveRect));
    update();
}
