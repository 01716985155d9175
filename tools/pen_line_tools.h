// The pen (554) and the line tool (555) with its straight lines, solid or
// dashed, and its four-point curve (tool setting 3). Each handler takes an
// image point after the view's grid snapping and Shift constraints. A pen
// stroke, a line and a whole curve are one undo step each.
#pragma once

#include <array>

#include "tools/curve.h"
#include "tools/line_ends.h"
#include "tools/tool_canvas.h"
#include "tools/tool_dispatch.h"

namespace tools {

// Undo texts of the steps.
inline constexpr const char* kPenUndoText = "钢笔";
inline constexpr const char* kLineUndoText = "线";
inline constexpr const char* kCurveUndoText = "线 ４ 点";

// Tool settings by index.
enum LineToolOption : int {
    kLineOptCurve = 3,      // the line tool draws four-point curves
    kLineOptWidth = 4,      // 1..100
    kPenOptFirst = 13,      // 13..15: taken at pen-down, not used
    kLineOptStyle = 16,     // 0 solid, else dashed
    kLineOptDash = 17,      // at least 1
    kLineOptGap = 18,       // at least 0
};

// The tools whose right button picks a colour: pen, line, fill and the
// rectangle and ellipse tools (554 to 561 but the zoom).
bool TakesColorPick(int tool);
// The colour pick: the composite's index at `p` becomes the current colour
// unless `p` lies outside the image or the index's palette row is locked;
// the palette bar, the tool palette and the current colour show it. True
// when it did. The right button reaches it only with a tool that takes it.
bool PickColorAt(ToolCanvas& canvas, ImagePoint p);

class PenTool : public ToolHandler {
public:
    explicit PenTool(ToolCanvas& canvas) : canvas_(canvas) {}
    void OnDown(ImagePoint p) override;
    void OnMove(ImagePoint p) override;
    void OnUp(ImagePoint p) override;
    ImagePoint LastPoint() const { return last_; }

private:
    void Line(ImagePoint from, ImagePoint to);
    ToolCanvas& canvas_;
    ImagePoint last_;
    std::array<int, 4> settings_{};
};

class LineTool : public ToolHandler {
public:
    explicit LineTool(ToolCanvas& canvas) : canvas_(canvas) {}
    void OnDown(ImagePoint p) override;
    void OnMove(ImagePoint p) override;
    void OnUp(ImagePoint p) override;
    // Short work memory at a button-down: blocked until the next one.
    void OnDownRefused() override { blocked_ = true; }
    // A move without a button while the curve is being built.
    void OnHover(ImagePoint p) override;
    // The view changed its zoom and dropped its outlines: the curve's points
    // follow the new zoom, and the band or the control polygon is shown again.
    void ZoomChanged(int oldZoom, int newZoom);

    struct Settings {
        int width = 1;
        int style = 0;
        int dash = 1;
        int gap = 0;
        int spare = 0;
    };
    const Settings& settings() const { return settings_; }
    const CurveState& Curve() const { return curve_; }
    bool Blocked() const { return blocked_; }
    // The last dashed segment's length and angle (1.0 and 0.0 from a
    // button-down until a dashed release).
    double SegmentLength() const { return segmentLength_; }
    double SegmentAngle() const { return segmentAngle_; }
    // The control polygon of a curve being built, in view pixels (empty
    // when none); the view's paint keeps showing it.
    std::vector<ImagePoint> CurvePolygon() const;

private:
    bool CurveMode();
    bool BeginStep(const char* text);
    void ReadSettings(bool curve);
    void RenewBackup();
    void FreeBackup();
    void CurveDown(ImagePoint p);
    void DrawFinishedCurve();
    std::vector<ImagePoint> Band() const;

    ToolCanvas& canvas_;
    Settings settings_;
    ImagePoint start_, last_;
    bool blocked_ = false;
    bool dragging_ = false;
    double segmentLength_ = 1.0;
    double segmentAngle_ = 0.0;
    CurveState curve_;
};

// The pen and the line tool of one view, ready for its tool table.
class PenLineTools {
public:
    explicit PenLineTools(ToolCanvas& canvas) : pen(canvas), line(canvas) {}
    // Sets the handlers of tools 554 and 555.
    void Register(ToolTable& table) {
        table.Set(kPenTool, &pen);
        table.Set(kLineTool, &line);
    }
    PenTool pen;
    LineTool line;
};

}  // namespace tools
