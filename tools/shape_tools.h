// The rubber-band shape tools: rectangle outline (557), ellipse outline
// (558), filled rectangle (560), filled ellipse (561), circle outline (575)
// and filled circle (576). A drag shows the shape's band and its size; the
// release draws the shape in the current colour and tone as one undo step.
// The circles are reached only through the document's edit mode.
#pragma once

#include "tools/shape_geometry.h"
#include "tools/tool_canvas.h"
#include "tools/tool_dispatch.h"

namespace tools {

// Undo texts of the steps.
inline constexpr const char* kRectUndoText = "矩形";
inline constexpr const char* kEllipseUndoText = "椭圆";
inline constexpr const char* kFilledRectUndoText = "填充矩形";
inline constexpr const char* kFilledEllipseUndoText = "填充椭圆";
inline constexpr const char* kCircleUndoText = "圆";
inline constexpr const char* kFilledCircleUndoText = "填充圆";

// What the shape tools share: the blocked state after a refused probe, the
// undo step and the spare copy of the current layer from button-down to
// release, and the band on the canvas.
class ShapeToolBase : public ToolHandler {
public:
    // Short work memory at a button-down: blocked until the next one.
    void OnDownRefused() override { blocked_ = true; }
    bool Blocked() const { return blocked_; }
    bool Dragging() const { return dragging_; }

protected:
    ShapeToolBase(ToolCanvas& canvas, int tool) : canvas_(canvas), tool_(tool) {}
    // The button-down's common part: false (nothing changed) while the
    // document is busy or when the step cannot be opened.
    bool BeginShape(const char* text);
    // The release's common part before drawing: the band goes, `area` of the
    // current layer comes back from the spare copy and is recomposed.
    void RestoreArea(const ShapeBox& area);
    // After drawing `drawn`: its repaint, the spare copy freed, the refresh.
    void FinishShape(const ShapeBox& drawn);
    void ShowBand(const ShapeBox& box, bool ellipse);
    void HideBand();
    void Report(const ShapeBox& box);

    ToolCanvas& canvas_;
    const int tool_;
    bool blocked_ = false;
    bool dragging_ = false;
    ImagePoint start_;

private:
    bool bandShown_ = false;
    bool bandEllipse_ = false;
    DibRect band_{};
    int bandZoom_ = 0;
};

// 557, 558, 560 and 561.
class RectEllipseTool : public ShapeToolBase {
public:
    RectEllipseTool(ToolCanvas& canvas, int tool) : ShapeToolBase(canvas, tool) {}
    void OnDown(ImagePoint p) override;
    void OnMove(ImagePoint p) override;
    void OnUp(ImagePoint p) override;

private:
    bool Ellipse() const;
    bool Outline() const;
    ShapeBox Box(ImagePoint p);
    DragRule rule_;
};

// 575 and 576: the radius is the distance from the button-down point.
class CircleTool : public ShapeToolBase {
public:
    CircleTool(ToolCanvas& canvas, int tool) : ShapeToolBase(canvas, tool) {}
    void OnDown(ImagePoint p) override;
    void OnMove(ImagePoint p) override;
    void OnUp(ImagePoint p) override;
};

// The six shape tools of one view, ready for its tool table.
class ShapeTools {
public:
    explicit ShapeTools(ToolCanvas& canvas)
        : rect(canvas, kRectOutlineTool), ellipse(canvas, kEllipseOutlineTool), filledRect(canvas, kFilledRectTool),
          filledEllipse(canvas, kFilledEllipseTool), circle(canvas, kCircleTool),
          filledCircle(canvas, kFilledCircleTool) {}
    void Register(ToolTable& table) {
        table.Set(kRectOutlineTool, &rect);
        table.Set(kEllipseOutlineTool, &ellipse);
        table.Set(kFilledRectTool, &filledRect);
        table.Set(kFilledEllipseTool, &filledEllipse);
        table.Set(kCircleTool, &circle);
        table.Set(kFilledCircleTool, &filledCircle);
    }
    RectEllipseTool rect, ellipse, filledRect, filledEllipse;
    CircleTool circle, filledCircle;
};

}  // namespace tools
