// The canvas tools by id and how the view hands them the mouse: which tools
// take a Shift-click, what the right button does, where a click is not
// snapped, and the table of handlers the view calls. A tool without a
// registered handler is reached like any other and does nothing.
#pragma once

#include <map>

#include "tools/draw_rects.h"

namespace tools {

// Tool ids (the document's current tool is one of them).
enum ToolId : int {
    kSelectTool = 551,
    kWandTool = 552,
    kHandTool = 553,
    kPenTool = 554,
    kLineTool = 555,
    kFillTool = 556,
    kRectOutlineTool = 557,
    kEllipseOutlineTool = 558,
    kZoomTool = 559,
    kFilledRectTool = 560,
    kFilledEllipseTool = 561,
    kTextTool = 562,
    kScaleTool = 569,
    kRotateTool = 570,
    kDeleteSelectionTool = 571,
    kCircleTool = 575,
    kFilledCircleTool = 576,
    kMapRectTool = 625,
    kMapCircleTool = 626,
    kMapPointTool = 627,
    kMapPolyTool = 628,
    kMapOpenTool = 629,
    kMapSaveTool = 630,
    kMapMoveTool = 631,
    kMapDeleteTool = 632,
    kMapUrlTool = 633,
    kMapTextTool = 634,
};

// The status-bar prompt of a tool (UTF-8); nullptr for a tool without one.
const char* ToolPrompt(int tool);

// What a left button-down with Shift does.
enum class ShiftDown {
    kNothing,  // only the Shift-click bit is set
    kAsDown,   // the tool's down handler runs as for a plain click
    kIgnored,  // Shift does not count: a plain click
};
ShiftDown ShiftDownRule(int tool);

// What the right button does.
enum class RightAction {
    kSelectionMenuOrPick,  // the floating selection's menu, else colour pick
    kPick,                 // colour pick
    kZoomOut,              // one zoom step down at the point
    kCloseRegion,          // close the image-map region being drawn
    kMoveRegion,           // the region-move handler with mode 0
    kNothing,
};
RightAction RightButtonAction(int tool);

// Tools that take only the button-down (fill, text, the image-map point,
// polygon, delete and URL tools): no move or up reaches them.
bool DownOnly(int tool);

// Point conversion modes.
enum PointMode { kPointDown = 0, kPointMove = 1, kPointUp = 2 };
// True when a point of `tool` in `mode` is not snapped to the grid.
// `outlineNoSnap` and `filledNoSnap` are the tool options of the outline and
// filled shapes that turn snapping off for their moves and ups.
bool SkipsSnap(int tool, int mode, bool outlineNoSnap, bool filledNoSnap);

// One tool's mouse and key handlers, in image pixels after snapping.
class ToolHandler {
public:
    virtual ~ToolHandler() = default;
    virtual void OnDown(ImagePoint) {}
    // The button-down was refused before it reached the tool (the
    // work-memory probe failed); no move or up of that drag follows.
    virtual void OnDownRefused() {}
    virtual void OnMove(ImagePoint) {}
    virtual void OnUp(ImagePoint) {}
    // A move without a button (the curve's hover, the region mover's).
    virtual void OnHover(ImagePoint) {}
    // The right button's tool action (image-map tools).
    virtual void OnRightDown(ImagePoint) {}
    virtual void OnDoubleClick(ImagePoint) {}
    // A key while the tool is current; true when it was used.
    virtual bool OnKey(int) { return false; }
};

// Handlers by tool id, plus the colour pick of the right button. Handlers are
// not owned.
class ToolTable {
public:
    void Set(int tool, ToolHandler* handler);
    // The tool's handler, or one that does nothing.
    ToolHandler& Get(int tool) const;
    bool Has(int tool) const { return handlers_.count(tool) != 0; }
    void SetColorPick(ToolHandler* handler) { pick_ = handler; }
    ToolHandler& ColorPick() const;

private:
    std::map<int, ToolHandler*> handlers_;
    ToolHandler* pick_ = nullptr;
};

}  // namespace tools
