// The magic wand of the canvas view: a click selects the 4-connected area of
// one index of the current layer and lifts it like the selection tool, Shift
// adds an area, a drag inside the floating selection moves it.
#include <algorithm>

#include <QString>

#include "document/floating_selection.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "document/undo_actions.h"
#include "document/wand_region.h"
#include "imaging/dib_geometry.h"
#include "platform/message_box.h"
#include "tools/drag_state.h"
#include "view/pelmark_view.h"
#include "view/selection_tools.h"

using tools::ImagePoint;

namespace {

constexpr const char* kWandText = "魔棒";
constexpr const char* kWandMoveText = "魔棒选取区域移动";
constexpr const char* kNoWorkMemory = "无法保证足够的工作内存";
constexpr int kAddingCursor = 24;

}  // namespace

void CPelmarkView::OnWandToolDown(int x, int y, int rawX, int rawY) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || doc->m_bBusy || !doc->m_hImage) return;
    document::SelectionState& st = doc->m_Selection;
    view::SelectionDragState& g = view::ProgramSelectionDrag();
    tools::DragState& d = tools::ProgramDragState();
    // The clamped point is where a drag starts; the area is grown at the
    // press itself, so a press outside the image selects nothing.
    const ImagePoint p{std::clamp(x, 0, std::max(doc->m_nWidth - 1, 0)),
                       std::clamp(y, 0, std::max(doc->m_nHeight - 1, 0))};
    g.start = g.last = p;
    AutoScrollCheck(p);
    st.moving = 0;
    d.bits |= tools::kSelectionDragA;
    const bool shift = d.shiftHeld != 0;

    st.adding = 0;
    if (shift && !st.movedSinceLift) {
        d.savedSelection = doc->m_rcSelection;
        if (doc->m_hFloatImage) {
            // The selection so far waits in the work mask until the up.
            document::CopyMask(doc->m_hMask2, doc->m_hMask);
            st.adding = 1;
            SetToolCursor(kAddingCursor);
        }
    }

    if (doc->m_hFloatImage && !shift && IsInSelection(rawX, rawY)) {
        BeginSelectionMove(kWandMoveText, true);
        return;
    }

    st.movedSinceLift = 0;
    if (!doc->PushUndo(document::kReleaseFloatingAction, QString::fromUtf8(kWandText), true)) {
        st.adding = 0;
        EndRefusedDrag();
        return;
    }
    document::FreeFloating(*doc);
    doc->m_rcSelection = {};
    doc->m_rcFloatTarget = {};
    st.transformed = 0;
    st.angle = 0;
    MagicWandFill(x, y);
    update();
}

void CPelmarkView::MagicWandFill(int x, int y) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return;
    document::ClearMask(*doc);
    document::ClearSecondMask(*doc);
    if (x < 0 || y < 0 || x >= doc->m_nWidth || y >= doc->m_nHeight || doc->m_nLayerCount <= 0) return;
    MemHandle layer = document::CurrentLayerOf(*doc);
    if (!layer) return;
    MemLockGuard bytes(layer);
    if (!bytes || !dib::LayerFits(bytes.size(), doc->m_nWidth, doc->m_nHeight)) return;
    if (!bytes.as<LayerHeader>()->visible) return;
    document::LockedMask mask(*doc, doc->m_hMask);
    if (!mask) return;
    const document::WandLayer pixels{bytes.get() + LAYER_HEADER_SIZE, dib::LayerRowBytes(doc->m_nWidth),
                                     doc->m_nWidth, doc->m_nHeight};
    if (!document::GrowWandRegion(mask.bits(), pixels, x, y))
        ShowMessageBox(nullptr, kNoWorkMemory, "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
}

void CPelmarkView::OnWandToolMove(int x, int y) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || doc->m_bBusy || view::ProgramSelectionDrag().wandBlocked) return;
    if (tools::ProgramDragState().bits & tools::kSelectionMoveDrag) MoveFloatingTo({x, y});
}

void CPelmarkView::OnWandToolUp(int x, int y) {
    CPelmarkDoc* doc = GetDocument();
    tools::DragState& d = tools::ProgramDragState();
    if (!doc || doc->m_bBusy || view::ProgramSelectionDrag().wandBlocked) {
        d.bits &= ~(tools::kSelectionDragA | tools::kSelectionMoveDrag);
        return;
    }
    if (d.bits & tools::kSelectionMoveDrag) {
        FinishSelectionMove({x, y});
    } else if (d.bits & tools::kSelectionDragA) {
        d.bits &= ~tools::kSelectionDragA;
        if (doc->m_Selection.adding) document::CombineMasks(doc->m_hMask, doc->m_hMask2);
        // The outline's points, of the whole selection.
        document::ClearSecondMask(*doc);
        {
            document::LockedMask selection(*doc, doc->m_hMask);
            document::LockedMask edges(*doc, document::SecondMask(*doc));
            if (selection && edges) document::MarkRegionEdges(selection.bits(), edges.bits());
        }
        LiftNewSelection();
    }
    d.bits &= ~(tools::kSelectionDragA | tools::kSelectionMoveDrag);
}
