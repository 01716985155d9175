#include "tools/pen_line_tools.h"

#include <algorithm>

#include <QString>

#include "document/pelmark_doc.h"
#include "document/undo_actions.h"
#include "imaging/dib_create.h"
#include "platform/memory.h"
#include "tools/dashed_line.h"
#include "tools/draw_ops.h"
#include "tools/pen_tool.h"
#include "tools/pixel_access.h"

namespace tools {

namespace {

bool Busy(CPelmarkDoc* doc) { return !doc || doc->m_bBusy; }

// The stamp of a tool's plain pen: the document's pen for the pen tool,
// the line width's for the line tool.
PenStamp ToolStamp(const CPelmarkDoc& doc, int tool, int lineWidth) {
    StampContext context;
    context.toolId = tool;
    context.docPenId = doc.m_nPenId;
    context.lineWidth = lineWidth;
    return ChooseStamp(context);
}

// Stamps a line from `a` to `b` in one drawing operation.
void StampLine(ToolCanvas& canvas, const PenStamp& stamp, ImagePoint a, ImagePoint b) {
    if (PixelAccess* access = canvas.BeginPixelAccess()) {
        StampPenLine(access->target(), stamp, a.x, a.y, b.x, b.y, false);
        canvas.EndPixelAccess();
    }
}

}  // namespace

bool TakesColorPick(int tool) { return tool >= kPenTool && tool <= kFilledEllipseTool && tool != kZoomTool; }

bool PickColorAt(ToolCanvas& canvas, ImagePoint p) {
    CPelmarkDoc* doc = canvas.Document();
    if (Busy(doc)) return false;
    PixelAccess* access = canvas.BeginPixelAccess();
    if (!access) return false;
    const int index = GetPixelIndex(access->target().stack, p.x, p.y);
    canvas.EndPixelAccess();
    if (index < 0 || (doc->m_wPaletteLock >> (index / 16)) & 1) return false;
    doc->m_nColor = index;
    canvas.PaletteBarChanged();
    return true;
}

// ---- Pen ----

void PenTool::OnDown(ImagePoint p) {
    CPelmarkDoc* doc = canvas_.Document();
    if (Busy(doc)) return;
    if (!doc->PushUndo(document::kPenAction, QString::fromUtf8(kPenUndoText), true)) return;
    doc->SetModified(true);
    for (int i = 0; i < 3; ++i) settings_[size_t(i)] = canvas_.ToolOption(kPenOptFirst + i);
    settings_[3] = 0;
    Line(p, p);
    last_ = p;
    canvas_.InvalidateDirty(PenSegmentRect(p, p, doc->m_nPenId), doc->m_nPenId, true);
    canvas_.AutoScrollCheck(p);
    canvas_.ClearRightDrag();
}

void PenTool::OnMove(ImagePoint p) {
    CPelmarkDoc* doc = canvas_.Document();
    if (Busy(doc)) return;
    const int bits = canvas_.DragBits();
    if (bits & 1) {
        p = canvas_.AutoScroll(p);
        Line(last_, p);
        canvas_.InvalidateDirty(PenSegmentRect(last_, p, doc->m_nPenId), doc->m_nPenId, true);
        last_ = p;
    } else if (bits & (2 | 4)) {
        PickColorAt(canvas_, p);
    }
}

void PenTool::OnUp(ImagePoint p) {
    CPelmarkDoc* doc = canvas_.Document();
    if (Busy(doc)) return;
    if (canvas_.ReleaseOutsideView(p)) return;
    Line(last_, p);
    last_ = p;
    canvas_.RefreshAfterStroke();
}

void PenTool::Line(ImagePoint from, ImagePoint to) {
    StampLine(canvas_, ToolStamp(*canvas_.Document(), kPenTool, 1), from, to);
}

// ---- Line and curve ----

bool LineTool::CurveMode() { return canvas_.ToolOption(kLineOptCurve) != 0; }

bool LineTool::BeginStep(const char* text) {
    CPelmarkDoc* doc = canvas_.Document();
    // A step that cannot be opened must not be drawn into.
    if (!doc->PushUndo(document::kLineAction, QString::fromUtf8(text), true)) return false;
    doc->SetModified(true);
    return true;
}

void LineTool::ReadSettings(bool curve) {
    settings_.width = std::clamp(canvas_.ToolOption(kLineOptWidth), 1, 100);
    settings_.style = curve ? 0 : canvas_.ToolOption(kLineOptStyle);
    settings_.dash = std::max(canvas_.ToolOption(kLineOptDash), 1);
    settings_.gap = std::max(canvas_.ToolOption(kLineOptGap), 0);
    settings_.spare = 0;
}

void LineTool::RenewBackup() {
    CPelmarkDoc* doc = canvas_.Document();
    FreeBackup();
    MemHandle layer = doc->m_nLayerCount > 0 && doc->m_nEditLayer >= 0 &&
                              size_t(doc->m_nEditLayer) < doc->m_hLayers.size()
                          ? doc->m_hLayers[size_t(doc->m_nEditLayer)]
                          : doc->m_hImage;
    if (layer) doc->m_hLayerBackup = DuplicateGlobal(layer);
}

void LineTool::FreeBackup() {
    CPelmarkDoc* doc = canvas_.Document();
    if (doc && doc->m_hLayerBackup) doc->m_hLayerBackup = MemFree(doc->m_hLayerBackup);
}

std::vector<ImagePoint> LineTool::Band() const {
    const int zoom = canvas_.Zoom();
    return {{start_.x * zoom, start_.y * zoom}, {last_.x * zoom, last_.y * zoom}};
}

std::vector<ImagePoint> LineTool::CurvePolygon() const {
    return curve_.active ? curve_.Polygon() : std::vector<ImagePoint>{};
}

void LineTool::OnDown(ImagePoint p) {
    CPelmarkDoc* doc = canvas_.Document();
    if (Busy(doc)) return;
    blocked_ = false;
    if (CurveMode()) {
        CurveDown(p);
        return;
    }
    if (!BeginStep(kLineUndoText)) {
        blocked_ = true;
        return;
    }
    RenewBackup();
    ReadSettings(false);
    start_ = last_ = p;
    dragging_ = true;
    canvas_.ToggleRubberBand(Band());
    canvas_.AutoScrollCheck(p);
    segmentLength_ = 1.0;
    segmentAngle_ = 0.0;
}

void LineTool::OnMove(ImagePoint p) {
    if (Busy(canvas_.Document()) || blocked_) return;
    if (CurveMode()) {
        OnHover(p);
        return;
    }
    if (!dragging_) return;
    canvas_.ToggleRubberBand(Band());
    last_ = canvas_.AutoScroll(p);
    canvas_.ToggleRubberBand(Band());
}

void LineTool::OnHover(ImagePoint p) {
    if (Busy(canvas_.Document()) || blocked_ || !curve_.active) return;
    canvas_.ToggleRubberBand(curve_.Polygon());
    curve_.MoveRubber(p, canvas_.Zoom());
    canvas_.ToggleRubberBand(curve_.Polygon());
}

void LineTool::ZoomChanged(int oldZoom, int newZoom) {
    if (oldZoom <= 0 || newZoom <= 0 || oldZoom == newZoom) return;
    for (ImagePoint& q : curve_.points) q = {q.x / oldZoom * newZoom, q.y / oldZoom * newZoom};
    if (curve_.active && curve_.count >= 1 && curve_.count <= 3) canvas_.ToggleRubberBand(curve_.Polygon());
    if (dragging_) canvas_.ToggleRubberBand(Band());
}

void LineTool::OnUp(ImagePoint p) {
    CPelmarkDoc* doc = canvas_.Document();
    if (Busy(doc) || blocked_ || !dragging_ || CurveMode()) return;
    dragging_ = false;
    // The band lives only on the screen: taking it away leaves the layer
    // as the spare copy holds it.
    canvas_.ToggleRubberBand(Band());
    last_ = p;
    settings_.width = std::clamp(canvas_.ToolOption(kLineOptWidth), 1, 100);
    const int width = settings_.width;
    LineEnds line{start_.x, start_.y, p.x, p.y};
    if (settings_.style == 0) {
        line = AdjustSolidLineEnds(line, width);
        StampLine(canvas_, ToolStamp(*doc, kLineTool, width), {line.sx, line.sy}, {line.ex, line.ey});
    } else {
        const DashedLine plan = PlanDashedLine(line, width, settings_.dash);
        segmentLength_ = plan.length;
        segmentAngle_ = plan.angle;
        if (PixelAccess* access = canvas_.BeginPixelAccess()) {
            DrawDashedLine(access->target(), plan, DashStamp(width, settings_.dash, plan.angle), settings_.dash,
                           settings_.gap);
            canvas_.EndPixelAccess();
        }
        line = plan.ends;
    }
    DibRect dirty{std::min({start_.x, p.x, line.sx, line.ex}), std::min({start_.y, p.y, line.sy, line.ey}),
                  std::max({start_.x, p.x, line.sx, line.ex}), std::max({start_.y, p.y, line.sy, line.ey})};
    // A dash or a thick pen reaches beyond its points by up to its size.
    const int reach = std::max(width, settings_.style ? settings_.dash : 0);
    dirty = {dirty.left - reach, dirty.top - reach, dirty.right + reach, dirty.bottom + reach};
    canvas_.InvalidateDirty(dirty, LinePenIdForWidth(width), true);
    FreeBackup();
    canvas_.RefreshAfterLine();
}

void LineTool::CurveDown(ImagePoint p) {
    const int zoom = canvas_.Zoom();
    if (curve_.StartsNew()) {
        if (!BeginStep(kCurveUndoText)) {
            blocked_ = true;
            return;
        }
    } else {
        canvas_.Document()->SetModified(true);
    }
    RenewBackup();
    ReadSettings(true);
    if (curve_.count >= 1 && curve_.count <= 3 && curve_.active) canvas_.ToggleRubberBand(curve_.Polygon());
    switch (curve_.AddClick(p, zoom)) {
    case CurveState::Click::kStarted:
    case CurveState::Click::kAdded:
        canvas_.ToggleRubberBand(curve_.Polygon());
        break;
    case CurveState::Click::kFinished:
        DrawFinishedCurve();
        break;
    }
}

void LineTool::DrawFinishedCurve() {
    if (!curve_.TakeForDrawing()) return;
    CPelmarkDoc* doc = canvas_.Document();
    const int zoom = canvas_.Zoom();
    const int width = settings_.width;
    if (PixelAccess* access = canvas_.BeginPixelAccess()) {
        DrawCurve(access->target(), ToolStamp(*doc, kLineTool, width), CurveSamples(ControlOf(curve_, zoom)));
        canvas_.EndPixelAccess();
    }
    curve_.active = false;
    canvas_.InvalidateDirty(CurveBounds(curve_, zoom), LinePenIdForWidth(width), true);
    FreeBackup();
    canvas_.RefreshAfterLine();
}

}  // namespace tools
