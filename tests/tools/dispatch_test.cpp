// The rules between the mouse and the tools: point conversion with snapping,
// Shift constraints, the drag bits, autoscroll steps, keys and cursors.
#include <gtest/gtest.h>

#include <string>

#include "tools/dispatch_rules.h"
#include "tools/drag_state.h"
#include "tools/tool_dispatch.h"

namespace {

using namespace tools;

std::string Str(ImagePoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

TEST(DispatchTest, ClientPointsBecomeImagePixelsSnappedBackToTheGrid) {
    const GridSnap main8{1, 8, 8, 4, 4};
    const GridSnap both{3, 8, 8, 3, 3};
    struct Case {
        const char* what;
        int cx, cy, sx, sy, zoom;
        GridSnap grid;
        bool snap;
        const char* out;
    };
    const Case cases[] = {
        {"zoom 4, no scroll", 55, 39, 0, 0, 4, {}, true, "13,9"},
        {"scroll position added before the division", 3, 1, 8, 4, 4, {}, true, "2,1"},
        {"main grid 8: (13, 9) snaps back to (8, 8)", 52, 36, 0, 0, 4, main8, true, "8,8"},
        {"a tool that is not snapped keeps (13, 9)", 52, 36, 0, 0, 4, main8, false, "13,9"},
        {"on a grid line it stays", 64, 32, 0, 0, 4, main8, true, "16,8"},
        {"main 8 and sub 3: the nearer line back wins", 13, 17, 0, 0, 1, both, true, "12,16"},
        {"left of the image rounds toward minus infinity", -1, -5, 0, 0, 4, {}, false, "-1,-2"},
        {"a cell that is not positive never snaps", 13, 9, 0, 0, 1, {1, 0, 0, 0, 0}, true, "13,9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(ClientToImage(c.cx, c.cy, c.sx, c.sy, c.zoom, c.grid, c.snap)), c.out) << c.what;
}

TEST(DispatchTest, SnappingIsSkippedByTheWandTheFillAndTheShapeOptions) {
    struct Case {
        int tool, mode;
        bool outlineOpt, filledOpt, skips;
    };
    const Case cases[] = {
        {kWandTool, kPointDown, false, false, true},     {kWandTool, kPointMove, false, false, false},
        {kWandTool, kPointUp, false, false, true},       {kFillTool, kPointDown, false, false, true},
        {kFillTool, kPointUp, false, false, false},      {kPenTool, kPointDown, true, true, false},
        {kRectOutlineTool, kPointDown, true, false, false}, {kRectOutlineTool, kPointMove, true, false, true},
        {kEllipseOutlineTool, kPointUp, true, false, true}, {kEllipseOutlineTool, kPointUp, false, true, false},
        {kFilledRectTool, kPointMove, false, true, true}, {kFilledEllipseTool, kPointUp, false, true, true},
        {kFilledEllipseTool, kPointUp, true, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SkipsSnap(c.tool, c.mode, c.outlineOpt, c.filledOpt), c.skips) << c.tool << " mode " << c.mode;
}

TEST(DispatchTest, ShiftConstraintsOfThePenAndTheLine) {
    struct Case {
        const char* what;
        int tool;
        ImagePoint origin, p;
        const char* out;
    };
    const Case cases[] = {
        {"pen (10,10) to (14,30) stays vertical", kPenTool, {10, 10}, {14, 30}, "10,30"},
        {"pen, equal distances go horizontal", kPenTool, {10, 10}, {14, 14}, "14,10"},
        {"line (0,0) to (10,8) goes to 45 degrees", kLineTool, {0, 0}, {10, 8}, "10,10"},
        {"line (0,0) to (10,2) snaps to the x axis", kLineTool, {0, 0}, {10, 2}, "10,0"},
        {"line (0,0) to (2,10) snaps to the y axis", kLineTool, {0, 0}, {2, 10}, "0,10"},
        {"line up and left keeps the direction", kLineTool, {20, 20}, {12, 11}, "11,11"},
        {"line onto its origin stays", kLineTool, {5, 5}, {5, 5}, "5,5"},
        {"other tools are not constrained", kRectOutlineTool, {0, 0}, {10, 2}, "10,2"},
    };
    for (const Case& c : cases) EXPECT_EQ(Str(ConstrainShift(c.tool, c.origin, c.p)), c.out) << c.what;
}

TEST(DispatchTest, DragBitsAcrossLeftRightAndShift) {
    // Each step: button, tool, shift; expected handler run, bits and capture.
    enum Button { kLeftDown, kLeftUp, kRightDown, kRightUp };
    struct Step {
        Button button;
        int tool;
        bool shift;
        bool runs;
        int bits;
        int capture;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"plain left drag", {{kLeftDown, kPenTool, false, true, 1, 1}, {kLeftUp, kPenTool, false, true, 0, 0}}},
        {"Shift-click the pen takes", {{kLeftDown, kPenTool, true, true, 1, 1}, {kLeftUp, kPenTool, false, true, 0, 0}}},
        {"Shift-click the fill does not take",
         {{kLeftDown, kFillTool, true, false, 4, 1}, {kLeftUp, kFillTool, false, false, 0, 0}}},
        {"Shift ignored by the rectangle",
         {{kLeftDown, kRectOutlineTool, true, true, 1, 1}, {kLeftUp, kRectOutlineTool, true, true, 0, 0}}},
        {"right drag inside a left drag keeps the capture until both end",
         {{kLeftDown, kPenTool, false, true, 1, 1},
          {kRightDown, kPenTool, false, false, 3, 1},
          {kLeftUp, kPenTool, false, true, 2, 1},
          {kRightUp, kPenTool, false, false, 0, 0}}},
        {"right up first, then left",
         {{kRightDown, kPenTool, false, false, 2, 1},
          {kLeftDown, kLineTool, true, true, 3, 1},
          {kRightUp, kLineTool, false, false, 1, 1},
          {kLeftUp, kLineTool, false, true, 0, 0}}},
    };
    for (const Case& c : cases) {
        DragState d;
        int i = 0;
        for (const Step& s : c.steps) {
            bool runs = false;
            switch (s.button) {
            case kLeftDown: runs = d.BeginLeft(s.tool, s.shift); break;
            case kLeftUp: runs = d.EndLeft(); break;
            case kRightDown: d.BeginRight(); break;
            case kRightUp: d.EndRight(); break;
            }
            EXPECT_EQ(runs, s.runs) << c.what << " step " << i;
            EXPECT_EQ(d.bits, s.bits) << c.what << " step " << i;
            EXPECT_EQ(d.capture, s.capture) << c.what << " step " << i;
            ++i;
        }
    }
}

TEST(DispatchTest, AutoscrollStepIsZoomTimesTheDistanceBeyondTheEdge) {
    // Client 400 x 300 at zoom 4, scrolled by (40, 0): image pixels 10..109 x 0..74 show.
    DibRect v = VisibleImageArea(40, 0, 400, 300, 4);
    EXPECT_EQ(v.left, 10);
    EXPECT_EQ(v.right, 110);
    EXPECT_EQ(v.bottom, 75);
    struct Case {
        ImagePoint p;
        const char* step;
        bool inside;
    };
    const Case cases[] = {
        {{10, 0}, "0,0", true},     {{109, 74}, "0,0", true},  {{110, 10}, "4,0", false},
        {{112, 80}, "12,24", false}, {{7, -1}, "-12,-4", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Str(AutoScrollStep(c.p, v, 4)), c.step) << Str(c.p);
        EXPECT_EQ(InArea(v, c.p), c.inside) << Str(c.p);
    }
}

TEST(DispatchTest, KeysSwitchLayerStepSpaceAndPages) {
    struct Case {
        const char* what;
        int tool;
        KeyKind key;
        bool shift, ctrl, layerStep, selMove;
        bool toTool, stepOn, space;
        int move;
    };
    const Case cases[] = {
        {"Shift with Ctrl held", kPenTool, KeyKind::kShift, true, true, false, false, false, true, false, 0},
        {"Ctrl with Shift held", kPenTool, KeyKind::kControl, true, true, false, false, false, true, false, 0},
        {"already on", kPenTool, KeyKind::kControl, true, true, true, false, false, false, false, 0},
        {"Shift alone", kPenTool, KeyKind::kShift, true, false, false, false, false, false, false, 0},
        {"Space", kPenTool, KeyKind::kSpace, false, false, false, false, false, false, true, 0},
        {"Space with the text tool", kTextTool, KeyKind::kSpace, false, false, false, false, false, false, false, 0},
        {"Page Up in layer-step mode", kPenTool, KeyKind::kPageUp, true, true, true, false, false, false, false, 1},
        {"Page Down in layer-step mode", kPenTool, KeyKind::kPageDown, true, true, true, false, false, false, false, -1},
        {"Page Up without it", kPenTool, KeyKind::kPageUp, false, false, false, false, false, false, false, 0},
        {"selection gets keys", kSelectTool, KeyKind::kOther, false, false, false, false, true, false, false, 0},
        {"not while it moves a floating selection", kSelectTool, KeyKind::kOther, false, false, false, true, false,
         false, false, 0},
        {"rotate gets keys", kRotateTool, KeyKind::kOther, false, false, false, false, true, false, false, 0},
    };
    for (const Case& c : cases) {
        KeyDownPlan p = PlanKeyDown(c.tool, c.key, c.shift, c.ctrl, c.layerStep, c.selMove);
        EXPECT_EQ(p.toTool, c.toTool) << c.what;
        EXPECT_EQ(p.layerStepOn, c.stepOn) << c.what;
        EXPECT_EQ(p.spaceKey, c.space) << c.what;
        EXPECT_EQ(p.layerMove, c.move) << c.what;
    }
    EXPECT_TRUE(PlanKeyUp(KeyKind::kShift, false, true).layerStepOff);
    EXPECT_TRUE(PlanKeyUp(KeyKind::kControl, false, true).layerStepOff);
    EXPECT_FALSE(PlanKeyUp(KeyKind::kSpace, true, true).layerStepOff);
    EXPECT_TRUE(PlanKeyUp(KeyKind::kSpace, true, false).restoreCursor);
    EXPECT_FALSE(PlanKeyUp(KeyKind::kShift, false, false).layerStepOff);
}

TEST(DispatchTest, CursorOfEachTool) {
    struct Case {
        const char* what;
        CursorQuery q;
        int index;
    };
    const Case cases[] = {
        {"pen", {kPenTool, false, true}, 5},
        {"line", {kLineTool, false, true}, 6},
        {"hand", {kHandTool, false, true}, 14},
        {"selection, polygon mode", {kSelectTool, false, true, false, 3}, 31},
        {"selection inside a floating selection", {kSelectTool, false, true, true, 3}, 8},
        {"wand", {kWandTool, false, true}, 24},
        {"circle shares the ellipse outline's", {kCircleTool, false, true}, 10},
        {"filled circle", {kFilledCircleTool, false, true}, 12},
        {"text", {kTextTool, false, true}, 27},
        {"scale over corner 3", {kScaleTool, false, true, false, 0, 3}, 3},
        {"rotate at 90 degrees", {kRotateTool, false, true, false, 0, 0, 90}, 3},
        {"map URL", {kMapUrlTool, false, true}, 21},
        {"map move", {kMapMoveTool, false, true}, 18},
        {"outside the image the index stays", {kPenTool, false, false}, 7},
        {"a tool without a cursor keeps it", {574, false, true}, 7},
        {"guide editing", {kPenTool, false, true, false, 0, 0, 0, true}, 8},
        {"during a capture", {kPenTool, true, true}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CursorIndexFor(c.q, 7), c.index) << c.what;

    const int angles[][2] = {{0, 4},   {22, 4},  {23, 2},  {67, 2},  {68, 3},  {112, 3}, {113, 1},
                             {157, 1}, {158, 4}, {202, 4}, {203, 2}, {248, 3}, {293, 1}, {337, 1},
                             {338, 4}, {359, 4}, {-45, 1}, {405, 2}};
    for (auto [deg, index] : angles) EXPECT_EQ(RotateCursorIndex(deg), index) << deg;

    EXPECT_EQ(CursorResource(0), 0);
    EXPECT_EQ(CursorResource(5), 110);
    EXPECT_EQ(CursorResource(14), 144);
    EXPECT_EQ(CursorResource(31), 274);
    EXPECT_EQ(CursorResource(32), 0);
}

TEST(DispatchTest, ToolTableReachesEveryToolAndDefaultsToNothing) {
    struct Recorder : ToolHandler {
        std::vector<std::string> calls;
        void OnDown(ImagePoint p) override { calls.push_back("down " + Str(p)); }
    } rec;
    ToolTable table;
    table.Set(kPenTool, &rec);
    table.Get(kPenTool).OnDown({1, 2});
    table.Get(kFillTool).OnDown({3, 4});  // not built yet: nothing
    table.ColorPick().OnDown({5, 6});
    EXPECT_EQ(rec.calls, std::vector<std::string>{"down 1,2"});
    EXPECT_FALSE(table.Get(kFillTool).OnKey(0));
    table.Set(kPenTool, nullptr);
    EXPECT_FALSE(table.Has(kPenTool));

    EXPECT_EQ(ShiftDownRule(kRotateTool), ShiftDown::kAsDown);
    EXPECT_EQ(RightButtonAction(kMapPolyTool), RightAction::kCloseRegion);
    EXPECT_EQ(RightButtonAction(kMapUrlTool), RightAction::kNothing);
    EXPECT_EQ(RightButtonAction(kZoomTool), RightAction::kZoomOut);
    EXPECT_EQ(RightButtonAction(kLineTool), RightAction::kPick);
    EXPECT_TRUE(DownOnly(kTextTool));
    EXPECT_TRUE(DownOnly(kMapPolyTool));
    EXPECT_FALSE(DownOnly(kMapMoveTool));
    EXPECT_STREQ(ToolPrompt(kEllipseOutlineTool), "外框描画：圆形");
    EXPECT_EQ(ToolPrompt(574), nullptr);
}

}  // namespace
