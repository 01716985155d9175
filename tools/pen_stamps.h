// Pen stamps: the fixed pens as runs of pixels, the three custom pens, and
// the choice of stamp by the current tool.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace tools {

// PenSizeId: 600..605 fixed pens of 1, 3, 5, 7, 13 and 15 pixels; 606..608
// the custom pens 0..2.
inline constexpr int kPenSingle = 600;
inline constexpr int kPenRunsFirst = 601;
inline constexpr int kPenRunsLast = 605;
inline constexpr int kPenCustomFirst = 606;
inline constexpr int kPenCustomLast = 608;

// Tools whose stamps differ from the document's pen.
inline constexpr int kToolPen = 554;
inline constexpr int kToolLine = 555;
inline constexpr int kToolRectOutline = 557;
inline constexpr int kToolEllipseOutline = 558;
inline constexpr int kToolFilledRect = 560;
inline constexpr int kToolFilledEllipse = 561;

// One run of a fixed pen: pixels x + dx .. x + dx + length - 1 of row y + dy.
struct PenRun {
    int8_t dx;
    int8_t dy;
    int8_t length;
};
// The runs of pens 601..605; empty for any other id.
std::span<const PenRun> PenRuns(int penId);
// Pixels a stamp reaches beyond its point, for repainting: 601: 2, 602: 3,
// 603 and 606..608: 4, 604: 7, 605: 8, others 0.
int PenRepaintMargin(int penId);

// A custom pen: size 1..100 pixels; shape 0 round, other values square.
struct CustomPen {
    int16_t size;
    uint8_t shape;
};
using CustomPenTable = std::array<CustomPen, 3>;
inline constexpr CustomPenTable kDefaultCustomPens = {{{7, 1}, {13, 1}, {15, 1}}};
// The program's custom pens (the brush dialog sets them).
CustomPenTable& CustomPens();

enum class StampKind {
    Single,   // the point itself
    Runs,     // a fixed pen 601..605
    Box,      // a size x size square
    Ellipse,  // a circle inscribed in the size x size square
    Turned,   // a width x height rectangle turned by an angle
};

struct PenStamp {
    StampKind kind = StampKind::Single;
    int penId = kPenSingle;  // the pen id whose repaint margin applies
    int size = 1;            // Box, Ellipse
    int width = 1;           // Turned: along the angle
    int height = 1;          // Turned: across it
    double angle = 0;        // Turned: radians, image coordinates (y down)
    bool repaintBox = false; // Box, Ellipse: repaint the stamp's box at once
};

// What decides the stamp of one drawing operation.
struct StampContext {
    int toolId = 0;
    int docPenId = kPenSingle;
    int lineWidth = 1;     // line tool setting
    int outlineWidth = 1;  // rectangle and ellipse outline setting
    // The line tool's own turned stamp (dashed lines).
    bool lineOverride = false;
    int overrideWidth = 1;
    int overrideHeight = 1;
    double overrideAngle = 0;
    // The border-line dialog replaces the tool's choice while it runs.
    bool borderLine = false;
    int borderWidth = 1;
};

PenStamp ChooseStamp(const StampContext& context, const CustomPenTable& pens = CustomPens());

// The stamp of a custom pen `index` (0..2) of `size` pixels, by its shape.
PenStamp CustomStamp(const CustomPenTable& pens, int index, int size, int penId);

// The square of a custom stamp of `size` at (x, y): left x - size / 2 -
// size % 2, right x + size / 2 (exclusive), likewise in y; size x size
// pixels, an odd size taking its extra pixel on the left and top.
struct StampBox {
    int left, top, right, bottom;
};
StampBox CustomStampBox(int x, int y, int size);

// Pen id whose margin the dirty rectangle uses for a line of `width`:
// 1 -> 600, 2 -> 601, 3..4 -> 602, 5..6 -> 603, 7..12 -> 604, 13+ -> 605.
int LinePenIdForWidth(int width);

}  // namespace tools
