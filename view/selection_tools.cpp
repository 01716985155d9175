#include "view/selection_tools.h"

#include "document/floating_selection_transform.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "platform/window.h"
#include "plugin_api/plugin_messages.h"
#include "tools/drag_state.h"
#include "view/view_globals.h"
#include "view/view_host.h"

namespace view {

namespace {

void SendToolRect(int type, int a, int b) {
    ViewHost* host = ViewHost::Installed();
    WinHandle main = host ? host->FrameWindow() : nullptr;
    if (!main) return;
    int values[4] = {a, b, 0, 0};
    WinSendMessage(main, WM_TOOLRECT_STATUS, WinWParam(type), reinterpret_cast<WinLParam>(values));
}

}  // namespace

void ReportToolSize(int width, int height) { SendToolRect(TOOLRECT_SIZE, width, height); }

void ReportToolAngle(int degrees) { SendToolRect(TOOLRECT_ANGLE, degrees, 0); }

void ClearToolPosition() { SendToolRect(TOOLRECT_CLEAR, 0, 0); }

SelectionDragState& ProgramSelectionDrag() {
    static SelectionDragState state;
    return state;
}

// ---- The handlers in the view's tool table ------------------------------------------

class SelectionTools::SelectHandler : public tools::ToolHandler {
public:
    explicit SelectHandler(CPelmarkView& view) : view_(view) {}
    void OnDown(tools::ImagePoint p) override {
        ProgramSelectionDrag().selectBlocked = false;
        const tools::ImagePoint raw = tools::ProgramDragState().rawDown;
        view_.OnSelectToolDown(p.x, p.y, raw.x, raw.y);
    }
    void OnDownRefused() override { ProgramSelectionDrag().selectBlocked = true; }
    void OnMove(tools::ImagePoint p) override { view_.OnSelectToolMove(p); }
    void OnUp(tools::ImagePoint p) override { view_.OnSelectToolUp(p.x, p.y); }
    void OnDoubleClick(tools::ImagePoint p) override { view_.OnSelectToolDoubleClick(p.x, p.y); }
    bool OnKey(int key) override { return view_.MoveSelectionByKey(key); }

private:
    CPelmarkView& view_;
};

class SelectionTools::ScaleHandler : public tools::ToolHandler {
public:
    explicit ScaleHandler(CPelmarkView& view) : view_(view) {}
    void OnDown(tools::ImagePoint p) override {
        ProgramSelectionDrag().scaleBlocked = false;
        view_.OnScaleToolDown(p.x, p.y);
    }
    void OnDownRefused() override { ProgramSelectionDrag().scaleBlocked = true; }
    void OnMove(tools::ImagePoint p) override { view_.OnScaleToolMove(p); }
    void OnUp(tools::ImagePoint p) override { view_.OnScaleToolUp(p.x, p.y); }
    bool OnKey(int key) override { return view_.OnScaleToolKey(key); }

private:
    CPelmarkView& view_;
};

class SelectionTools::RotateHandler : public tools::ToolHandler {
public:
    explicit RotateHandler(CPelmarkView& view) : view_(view) {}
    void OnDown(tools::ImagePoint p) override {
        ProgramSelectionDrag().rotateBlocked = false;
        view_.OnRotateToolDown(p.x, p.y);
    }
    void OnDownRefused() override { ProgramSelectionDrag().rotateBlocked = true; }
    void OnMove(tools::ImagePoint p) override { view_.OnRotateToolMove(p); }
    void OnUp(tools::ImagePoint p) override { view_.OnRotateToolUp(p.x, p.y); }
    bool OnKey(int key) override { return view_.OnRotateToolKey(key); }

private:
    CPelmarkView& view_;
};

SelectionTools::SelectionTools(CPelmarkView& view)
    : view_(view),
      select_(std::make_unique<SelectHandler>(view)),
      scale_(std::make_unique<ScaleHandler>(view)),
      rotate_(std::make_unique<RotateHandler>(view)) {}

SelectionTools::~SelectionTools() = default;

void SelectionTools::Register(tools::ToolTable& table) {
    table.Set(tools::kSelectTool, select_.get());
    table.Set(tools::kScaleTool, scale_.get());
    table.Set(tools::kRotateTool, rotate_.get());
}

// ---- Outlines -----------------------------------------------------------------------

void SelectionTools::Toggle(const DragOutline& o) {
    switch (o.kind) {
    case DragOutline::kNone: break;
    case DragOutline::kFrame: view_.XorFrameRect(o.rect); break;
    case DragOutline::kRectLine: view_.XorLine(o.rect); break;
    case DragOutline::kEllipse: view_.XorEllipse(o.rect); break;
    case DragOutline::kPolyline: view_.XorPolyline(o.points); break;
    }
}

void SelectionTools::ShowOutline(DragOutline outline) {
    Toggle(shown_);
    shown_ = std::move(outline);
    Toggle(shown_);
}

DragOutline SelectionTools::ModeOutline(const DibRect& r) const {
    DragOutline o;
    switch (SelectionModeIndex()) {
    case kSelectRect: o.kind = DragOutline::kRectLine; break;
    case kSelectEllipse: o.kind = DragOutline::kEllipse; break;
    default: {
        o.kind = DragOutline::kPolyline;
        if (const CPelmarkDoc* doc = view_.GetDocument())
            for (const document::LassoPoint& p : document::GetLassoPoints(*doc)) o.points.push_back({p.x, p.y});
        return o;
    }
    }
    o.rect = r;
    return o;
}

void SelectionTools::ZoomChanged() {
    // The view's outlines are gone; the drag's is shown again at the new zoom.
    DragOutline again = std::move(shown_);
    shown_ = {};
    ShowOutline(std::move(again));
    CPelmarkDoc* doc = view_.GetDocument();
    if (doc && doc->m_nToolId == tools::kRotateTool && doc->m_hFloatImage && doc->m_Selection.transformed)
        view_.RedrawTurnedSelection(doc->m_Selection.angle);
}

bool SelectionTools::DrawRotationFrame(CPelmarkView::OverlayCanvas& canvas) {
    const CPelmarkDoc* doc = view_.GetDocument();
    if (!doc || doc->m_nToolId != tools::kRotateTool || !doc->m_hFloatImage || doc->m_Selection.angle == 0)
        return false;
    const DibRect& s = doc->m_rcSelection;
    const document::FloatFrame frame =
        document::TransformedFrame({s, s, double(doc->m_Selection.angle), 1.0});
    std::vector<ScreenPoint> points;
    for (const auto& corner : frame) points.push_back({corner[0], corner[1]});
    points.push_back(points.front());
    view_.XorPolyline(points, &canvas);
    return true;
}

}  // namespace view
