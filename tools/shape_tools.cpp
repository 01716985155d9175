#include "tools/shape_tools.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include <QString>

#include "document/pelmark_doc.h"
#include "document/undo_actions.h"
#include "imaging/dib_create.h"
#include "platform/memory.h"
#include "tools/draw_ops.h"
#include "tools/pixel_access.h"
#include "tools/shape_draw.h"
#include "tools/tool_options.h"

namespace tools {

namespace {

bool Busy(CPelmarkDoc* doc) { return !doc || doc->m_bBusy; }

// The plane the tools draw on: the current layer, or the image of a
// document without layers.
MemHandle CurrentPlane(const CPelmarkDoc& doc) {
    if (doc.m_nLayerCount > 0 && doc.m_nEditLayer >= 0 && size_t(doc.m_nEditLayer) < doc.m_hLayers.size())
        return doc.m_hLayers[size_t(doc.m_nEditLayer)];
    return doc.m_hImage;
}

void FreeSpare(CPelmarkDoc* doc) {
    if (doc && doc->m_hLayerBackup) doc->m_hLayerBackup = MemFree(doc->m_hLayerBackup);
}

void RenewSpare(CPelmarkDoc& doc) {
    FreeSpare(&doc);
    if (MemHandle plane = CurrentPlane(doc)) doc.m_hLayerBackup = DuplicateGlobal(plane);
}

// Copies `area` (within the image) of the current plane back from the spare
// copy, then recomposes it.
void RestoreFromSpare(CPelmarkDoc& doc, const ShapeBox& area) {
    MemHandle plane = CurrentPlane(doc);
    MemHandle spare = doc.m_hLayerBackup;
    if (area.Empty() || !plane || !spare || MemSize(plane) != MemSize(spare)) return;
    DocLayerLock lock;
    if (!lock.Lock(doc)) return;
    const LayerStack& s = lock.stack();
    const LayerPlane* layer = s.hasLayers ? s.CurrentLayer() : nullptr;
    if (s.hasLayers && !layer) return;
    MemLockGuard planeBytes(plane), spareBytes(spare);
    const auto* base = static_cast<const uint8_t*>(planeBytes.get());
    const auto* from = static_cast<const uint8_t*>(spareBytes.get());
    if (!base || !from) return;
    const size_t width = size_t(area.Width());
    for (int64_t y = area.top; y < area.bottom; ++y) {
        uint8_t* row = (layer ? s.LayerRow(*layer, int(y)) : s.CompositeRow(int(y))) + area.left;
        std::memcpy(row, from + (row - base), width);
    }
    const DibRect r{int(area.left), int(area.top), int(area.right), int(area.bottom)};
    RecomposeLayers(s, &r);
}

int32_t ActionOf(int tool) {
    switch (tool) {
    case kRectOutlineTool: return document::kRectOutlineAction;
    case kEllipseOutlineTool: return document::kEllipseOutlineAction;
    case kFilledRectTool: return document::kFilledRectAction;
    case kFilledEllipseTool: return document::kFilledEllipseAction;
    case kCircleTool: return document::kCircleAction;
    default: return document::kFilledCircleAction;
    }
}

int Thickness(ToolCanvas& canvas) { return std::clamp(canvas.ToolOption(kOutlineDiameter), 1, 100); }

// Bands are shown within this distance of the image: far enough that their
// visible part keeps its shape, near enough for the view's zoomed numbers.
constexpr int kBandReach = 1 << 16;

int ClampToInt(int64_t v) { return int(std::clamp<int64_t>(v, 0, INT_MAX)); }

}  // namespace

// ---- Common sequence ----

bool ShapeToolBase::BeginShape(const char* text) {
    CPelmarkDoc* doc = canvas_.Document();
    blocked_ = false;
    // A drag that never saw its release leaves no band behind.
    HideBand();
    dragging_ = false;
    if (Busy(doc)) return false;
    // A step that cannot be opened must not be drawn into.
    if (!doc->PushUndo(ActionOf(tool_), QString::fromUtf8(text), true)) {
        blocked_ = true;
        return false;
    }
    doc->SetModified(true);
    RenewSpare(*doc);
    canvas_.ReportToolSize(1, 1);
    dragging_ = true;
    return true;
}

void ShapeToolBase::ShowBand(const ShapeBox& box, bool ellipse) {
    const CPelmarkDoc* doc = canvas_.Document();
    const ShapeBox b = ClipBox(box, doc->m_nWidth, doc->m_nHeight, kBandReach);
    if (b.Empty()) return;
    band_ = {int(b.left), int(b.top), int(b.right), int(b.bottom)};
    bandEllipse_ = ellipse;
    bandZoom_ = canvas_.Zoom();
    bandShown_ = true;
    if (ellipse)
        canvas_.ToggleEllipseBand(band_);
    else
        canvas_.ToggleFrameRect(band_);
}

void ShapeToolBase::HideBand() {
    if (!bandShown_) return;
    bandShown_ = false;
    // A zoom change drops the view's outlines: the band is gone already.
    if (canvas_.Zoom() != bandZoom_) return;
    if (bandEllipse_)
        canvas_.ToggleEllipseBand(band_);
    else
        canvas_.ToggleFrameRect(band_);
}

void ShapeToolBase::Report(const ShapeBox& box) { canvas_.ReportToolSize(ClampToInt(box.Width()), ClampToInt(box.Height())); }

void ShapeToolBase::RestoreArea(const ShapeBox& area) {
    HideBand();
    CPelmarkDoc* doc = canvas_.Document();
    RestoreFromSpare(*doc, ClipBox(area, doc->m_nWidth, doc->m_nHeight, 0));
}

void ShapeToolBase::FinishShape(const ShapeBox& drawn) {
    CPelmarkDoc* doc = canvas_.Document();
    if (!ClipBox(drawn, doc->m_nWidth, doc->m_nHeight, 0).Empty())
        canvas_.InvalidateDirty(DirtyRect(drawn, doc->m_nWidth, doc->m_nHeight), kPenSingle, true);
    FreeSpare(doc);
    canvas_.RefreshAfterShape();
}

// ---- Rectangles and ellipses ----

bool RectEllipseTool::Ellipse() const { return tool_ == kEllipseOutlineTool || tool_ == kFilledEllipseTool; }

bool RectEllipseTool::Outline() const { return tool_ == kRectOutlineTool || tool_ == kEllipseOutlineTool; }

ShapeBox RectEllipseTool::Box(ImagePoint p) {
    const CPelmarkDoc* doc = canvas_.Document();
    DragRule rule = rule_;
    rule.square = tool_ == kRectOutlineTool && rule.constraint == kShapeFree && canvas_.ShiftHeld();
    return DragBox(start_, p, rule, doc->m_nWidth, doc->m_nHeight);
}

void RectEllipseTool::OnDown(ImagePoint p) {
    static constexpr const char* kTexts[] = {kRectUndoText, kEllipseUndoText, kFilledRectUndoText,
                                             kFilledEllipseUndoText};
    const int index = (Outline() ? 0 : 2) + (Ellipse() ? 1 : 0);
    if (!BeginShape(kTexts[index])) return;
    const bool outline = Outline();
    rule_.constraint = canvas_.ToolOption(outline ? kOutlineSizeMode : kFilledSizeMode);
    rule_.width = std::max(canvas_.ToolOption(outline ? kOutlineWidth : kFilledWidth), 1);
    rule_.height = std::max(canvas_.ToolOption(outline ? kOutlineHeight : kFilledHeight), 1);
    start_ = p;
    const ShapeBox box = Box(p);
    ShowBand(box, Ellipse());
    if (rule_.constraint == kShapeFixed) Report(box);
    canvas_.AutoScrollCheck(p);
}

void RectEllipseTool::OnMove(ImagePoint p) {
    if (Busy(canvas_.Document()) || blocked_ || !dragging_) return;
    HideBand();
    p = canvas_.AutoScroll(p);
    const ShapeBox box = Box(p);
    ShowBand(box, Ellipse());
    Report(box);
}

void RectEllipseTool::OnUp(ImagePoint p) {
    CPelmarkDoc* doc = canvas_.Document();
    if (Busy(doc) || blocked_ || !dragging_) return;
    dragging_ = false;
    const ShapeBox box = Box(p);
    RestoreArea(box);
    const int thickness = Outline() ? Thickness(canvas_) : 1;
    const ShapeBox stroke = Outline() ? StrokeBox(box, thickness, canvas_.ToolOption(kBorderPosition)) : box;
    if (PixelAccess* access = canvas_.BeginPixelAccess()) {
        const DrawTarget& target = access->target();
        switch (tool_) {
        case kRectOutlineTool: DrawRectOutline(target, stroke, thickness); break;
        case kFilledRectTool: FillRectWithOutline(target, box, false); break;
        case kEllipseOutlineTool: {
            const ShapeBox path = PenPathBox(stroke, thickness);
            // A stroke narrower than its pen fills what it has.
            if (path.Empty())
                DrawFilledEllipse(target, stroke);
            else
                DrawEllipse(target, path, thickness);
            break;
        }
        default: DrawFilledEllipse(target, box); break;
        }
        canvas_.EndPixelAccess();
    }
    FinishShape(stroke);
}

// ---- Circles ----

void CircleTool::OnDown(ImagePoint p) {
    if (!BeginShape(tool_ == kCircleTool ? kCircleUndoText : kFilledCircleUndoText)) return;
    start_ = p;
    // The centre is marked in the layer until the release.
    if (PixelAccess* access = canvas_.BeginPixelAccess()) {
        WritePixel(access->target(), p.x, p.y);
        canvas_.EndPixelAccess();
    }
    canvas_.InvalidateDirty({p.x, p.y, p.x, p.y}, kPenSingle, true);
    canvas_.AutoScrollCheck(p);
}

void CircleTool::OnMove(ImagePoint p) {
    if (Busy(canvas_.Document()) || blocked_ || !dragging_) return;
    HideBand();
    p = canvas_.AutoScroll(p);
    const ShapeBox box = CircleBox(start_, CircleRadius(start_, p));
    ShowBand(box, true);
    Report(box);
}

void CircleTool::OnUp(ImagePoint p) {
    CPelmarkDoc* doc = canvas_.Document();
    if (Busy(doc) || blocked_ || !dragging_) return;
    dragging_ = false;
    const ShapeBox box = CircleBox(start_, CircleRadius(start_, p));
    RestoreArea(box);
    if (PixelAccess* access = canvas_.BeginPixelAccess()) {
        if (tool_ == kCircleTool)
            DrawEllipse(access->target(), box, 1);
        else
            DrawFilledEllipse(access->target(), box);
        canvas_.EndPixelAccess();
    }
    FinishShape(box);
}

}  // namespace tools
