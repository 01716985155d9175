// The selection, scale and rotate tools driven by mouse and key events in
// the canvas view of a new document: the four shapes and their constraints,
// adding with Shift, moving by mouse and keys, scaling through the handles,
// turning, Enter and Esc, and every step undone and redone.
#include <climits>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <QTest>

#include "document/floating_selection.h"
#include "document/floating_selection_transform.h"
#include "document/selection_mask.h"
#include "document/selection_mask_doc.h"
#include "document/undo_actions.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"
#include "platform/message_box_recorder.h"
#include "tools/drag_state.h"
#include "tools/selection_geometry.h"
#include "tools/tool_dispatch.h"
#include "tools/tool_options.h"
#include "view/selection_tools.h"
#include "view/view_geometry.h"
#include "view/view_globals.h"
#include "framework/program_globals.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

using tools::ImagePoint;
using Rows = std::vector<std::string>;

constexpr int kConstraintControl = 421;
constexpr int kWidthControl = 423;
constexpr int kHeightControl = 425;
constexpr int kW = 24;
constexpr int kH = 20;

// What the undo steps must bring back.
struct State {
    std::vector<uint8_t> layer;
    std::vector<uint8_t> mask;
    std::vector<int> rect;
    bool floating;
    bool operator==(const State&) const = default;
};

class SelectionViewTest : public ViewTest {
public:
    // A new kW x kH document whose layer holds Value(x, y), the selection
    // tool in `shape` current, the view at `zoom`.
    void Start(int zoomFactor, int shape = tools::kShapeRect) {
        view = NewDocument(kW, kH);
        ASSERT_NE(view, nullptr);
        doc = view->GetDocument();
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) Px(x, y) = Value(x, y);
        view->RefreshAfterEdit(1);
        app->WriteProfileInt("Settings", "AntiCheckBox", 0);
        LoadGeneralSettings();
        doc->SetEditMode(tools::kSelectTool);
        view::SelectionModeIndex() = shape;
        zoom = zoomFactor;
        view->SetZoom(view::ZoomCommandOf(zoom));
        SetViewSize(view, 400, 300);
        view->ScrollTo(0, 0);
        frame->ToolOptionValues().SetControls(&controls);
        Constrain(0, 1, 1);
        doc->SetModified(false);
    }
    static uint8_t Value(int x, int y) { return uint8_t(1 + (x * 7 + y * 13) % 250); }
    void Constrain(int constraint, int w, int h) {
        controls.values[kConstraintControl] = constraint;
        controls.values[kWidthControl] = w;
        controls.values[kHeightControl] = h;
    }

    uint8_t& Px(int x, int y) const {
        MemLockGuard lock(doc->m_hLayers[0]);
        return lock.get()[LAYER_HEADER_SIZE + size_t(kH - 1 - y) * dib::LayerRowBytes(kW) + size_t(x)];
    }
    bool Masked(int x, int y) const {
        document::LockedMask m(*doc, doc->m_hMask);
        return m.bits().Get(x, y);
    }
    Rows MaskRows() const {
        Rows rows;
        for (int y = 0; y < kH; ++y) {
            std::string row;
            for (int x = 0; x < kW; ++x) row += Masked(x, y) ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    }
    static Rows RectRows(const DibRect& r) {
        Rows rows(kH, std::string(kW, '.'));
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) rows[size_t(y)][size_t(x)] = '#';
        return rows;
    }
    std::vector<int> Selection() const {
        const DibRect& r = doc->m_rcSelection;
        return {r.left, r.top, r.right, r.bottom};
    }
    State Snapshot() const {
        State s;
        MemLockGuard lock(doc->m_hLayers[0]);
        s.layer.assign(lock.get(), lock.get() + lock.size());
        for (const std::string& row : MaskRows()) s.mask.insert(s.mask.end(), row.begin(), row.end());
        s.rect = Selection();
        s.floating = doc->m_hFloatImage != nullptr;
        return s;
    }
    const document::UndoSlot& Step() const { return doc->m_UndoSlots[size_t(doc->m_nUndoIndex)]; }

    QPoint Client(ImagePoint p) const { return {p.x * zoom + zoom / 2, p.y * zoom + zoom / 2}; }
    void Press(ImagePoint p, Qt::KeyboardModifiers m = {}) { view->OnLButtonDown(Client(p), m); }
    void Move(ImagePoint p, Qt::KeyboardModifiers m = {}) { view->OnMouseMove(Client(p), m); }
    void Release(ImagePoint p, Qt::KeyboardModifiers m = {}) { view->OnLButtonUp(Client(p), m); }
    void Drag(const std::vector<ImagePoint>& path, Qt::KeyboardModifiers m = {}) {
        Move(path.front(), m);
        Press(path.front(), m);
        for (size_t i = 1; i + 1 < path.size(); ++i) Move(path[i], m);
        Release(path.back(), m);
    }
    void Click(ImagePoint p, Qt::KeyboardModifiers m = {}) { Drag({p, p}, m); }
    void Key(int key) { QTest::keyClick(view, Qt::Key(key)); }
    // The scale or rotate tool chosen from the selection tool, keeping the
    // floating selection as the tool palette does.
    void Choose(int tool) { doc->SetEditMode(tool, true); }

    PanelControls controls;
    CPelmarkView* view = nullptr;
    CPelmarkDoc* doc = nullptr;
    int zoom = 1;
};

TEST_F(SelectionViewTest, ADragFromAPointToItselfSelectsOnePixelAndAFixedSizeSitsAtTheRelease) {
    for (int z : {1, 4}) {
        SCOPED_TRACE(z);
        Start(z);
        const int steps = doc->m_nUndoIndex;
        Drag({{5, 5}, {5, 5}});
        EXPECT_EQ(Selection(), (std::vector<int>{5, 5, 6, 6}));
        EXPECT_EQ(MaskRows(), RectRows({5, 5, 6, 6}));
        ASSERT_NE(doc->m_hFloatImage, nullptr);
        EXPECT_EQ(doc->m_nUndoIndex, steps + 1);
        EXPECT_EQ(Step().label, "选择区域");
        EXPECT_EQ(Step().actionId, document::kSelectAction);

        Click({0, 0});  // outside: the floating selection goes down
        EXPECT_EQ(doc->m_hFloatImage, nullptr);
        Constrain(tools::kConstraintFixed, 16, 8);
        Drag({{1, 1}, {3, 9}, {6, 7}});
        EXPECT_EQ(Selection(), (std::vector<int>{6, 7, 22, 15}));
        EXPECT_EQ(MaskRows(), RectRows({6, 7, 22, 15}));
        // The layer is as it was: lifting moves nothing yet.
        EXPECT_EQ(Px(6, 7), Value(6, 7));
    }
}

TEST_F(SelectionViewTest, ProportionalRectanglesAndEllipsesByTheTypedRatio) {
    struct Case {
        int shape, w, h;
        ImagePoint from, to;
        DibRect band;
    };
    const std::vector<Case> cases = {
        {tools::kShapeRect, 2, 1, {4, 4}, {14, 8}, {4, 4, 8, 6}},
        {tools::kShapeRect, 1, 1, {12, 12}, {3, 2}, {3, 3, 12, 12}},
        {tools::kShapeEllipse, 1, 2, {4, 4}, {14, 12}, {4, 4, 9, 12}},
        {tools::kShapeEllipse, 1, 1, {16, 14}, {4, 2}, {4, 2, 16, 14}},
    };
    for (int z : {1, 4}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "zoom " << z << " shape " << c.shape << " " << c.w << "x" << c.h);
            Start(z, c.shape);
            Constrain(tools::kConstraintRatio, c.w, c.h);
            Drag({c.from, c.to});
            Rows want = RectRows(c.band);
            if (c.shape == tools::kShapeEllipse) {
                want = RectRows({});
                const int w = c.band.right - c.band.left, h = c.band.bottom - c.band.top;
                for (const document::RowSpan& s :
                     document::EllipseRows(c.band.left + w / 2, c.band.top + h / 2, w / 2, h / 2, w, h))
                    for (int x = s.x0; x <= s.x1; ++x) want[size_t(s.y)][size_t(x)] = '#';
            }
            EXPECT_EQ(MaskRows(), want);
            EXPECT_EQ(doc->m_hFloatImage != nullptr, want != RectRows({}));
        }
    }
}

TEST_F(SelectionViewTest, AnEllipseSelectionIsTheEllipseOfItsBox) {
    for (int z : {1, 4}) {
        SCOPED_TRACE(z);
        Start(z, tools::kShapeEllipse);
        Drag({{15, 10}, {8, 8}, {3, 2}});
        Rows want = RectRows({});
        for (const document::RowSpan& s : document::EllipseRows(9, 6, 6, 4, 13, 9))
            for (int x = s.x0; x <= s.x1; ++x) want[size_t(s.y)][size_t(x)] = '#';
        EXPECT_EQ(MaskRows(), want);
        EXPECT_EQ(Selection(), (std::vector<int>{3, 2, 16, 11}));
    }
}

TEST_F(SelectionViewTest, FreehandClosesAtTheReleaseAndAPolygonAtTheDoubleClick) {
    for (int z : {1, 4}) {
        SCOPED_TRACE(z);
        Start(z, tools::kShapeFreehand);
        const int steps = doc->m_nUndoIndex;
        Drag({{2, 2}, {12, 2}, {12, 10}, {2, 10}});
        EXPECT_EQ(MaskRows(), RectRows({2, 2, 13, 11}));
        EXPECT_EQ(Selection(), (std::vector<int>{2, 2, 13, 11}));
        EXPECT_EQ(doc->m_nUndoIndex, steps + 1);
        EXPECT_TRUE(view->Overlays().empty());

        Click({20, 18});
        view::SelectionModeIndex() = tools::kShapePolygon;
        for (ImagePoint p : {ImagePoint{4, 3}, ImagePoint{14, 3}, ImagePoint{14, 12}, ImagePoint{4, 12}}) Click(p);
        EXPECT_EQ(doc->m_hFloatImage, nullptr);
        view->OnLButtonDblClk(Client({4, 12}));
        EXPECT_EQ(MaskRows(), RectRows({4, 3, 15, 13}));
        ASSERT_NE(doc->m_hFloatImage, nullptr);
        // The free-hand selection, its drop, and the whole polygon.
        EXPECT_EQ(doc->m_nUndoIndex, steps + 3);
        EXPECT_TRUE(view->Overlays().empty());
    }
}

TEST_F(SelectionViewTest, APolygonOfFewerThanThreePointsSelectsNothing) {
    Start(2, tools::kShapePolygon);
    platform::MessageBoxRecorder boxes;
    Click({5, 5});
    view->OnLButtonDblClk(Client({5, 5}));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "没有像素被选择。");
    EXPECT_EQ(doc->m_hFloatImage, nullptr);
    EXPECT_EQ(document::GetLassoPoints(*doc).size(), 0u);
    // The next click begins a new polygon.
    for (ImagePoint p : {ImagePoint{2, 2}, ImagePoint{8, 2}, ImagePoint{8, 6}}) Click(p);
    view->OnLButtonDblClk(Client({8, 6}));
    EXPECT_NE(doc->m_hFloatImage, nullptr);
    EXPECT_TRUE(Masked(3, 2));
    EXPECT_FALSE(Masked(3, 5));
    EXPECT_EQ(boxes.Count(), 1u);
}

TEST_F(SelectionViewTest, ShiftAddsARectangleAndAMoveTakesOnlyTheSelectedPixels) {
    for (int z : {1, 4}) {
        SCOPED_TRACE(z);
        Start(z);
        Drag({{2, 2}, {8, 6}});
        Drag({{6, 5}, {14, 12}}, Qt::ShiftModifier);
        Rows both = RectRows({2, 2, 9, 7});
        const Rows second = RectRows({6, 5, 15, 13});
        for (size_t y = 0; y < both.size(); ++y)
            for (size_t x = 0; x < both[y].size(); ++x)
                if (second[y][x] == '#') both[y][x] = '#';
        EXPECT_EQ(MaskRows(), both);
        EXPECT_EQ(Selection(), (std::vector<int>{2, 2, 15, 13}));

        // Moved by (5, 4): the selected pixels leave index 0; the pixels of
        // the bounding box outside the selection stay where they are.
        Drag({{3, 3}, {6, 5}, {8, 7}});
        EXPECT_EQ(Selection(), (std::vector<int>{7, 6, 20, 17}));
        EXPECT_EQ(Px(2, 2), 0);
        EXPECT_EQ(Px(12, 3), Value(12, 3));
        EXPECT_EQ(Px(7, 6), Value(2, 2));
        EXPECT_EQ(Px(19, 16), Value(14, 12));
        EXPECT_EQ(Px(17, 7), Value(17, 7));
        EXPECT_EQ(Composite(*doc, 17, 7), Value(17, 7));
        EXPECT_EQ(Step().label, "选区移动");
        EXPECT_EQ(Step().actionId, document::kSelectionMoveAction);
    }
}

TEST_F(SelectionViewTest, AfterAMoveShiftStartsANewSelection) {
    Start(2);
    Drag({{2, 2}, {8, 6}});
    Drag({{3, 3}, {6, 4}});
    ASSERT_EQ(Selection(), (std::vector<int>{5, 3, 12, 8}));
    Drag({{6, 4}, {9, 7}}, Qt::ShiftModifier);
    EXPECT_EQ(MaskRows(), RectRows({6, 4, 10, 8}));
    EXPECT_EQ(Selection(), (std::vector<int>{6, 4, 10, 8}));
    // The moved pixels stay in the layer.
    EXPECT_EQ(Px(5, 3), Value(2, 2));
    EXPECT_EQ(Px(11, 7), Value(8, 6));
    EXPECT_EQ(Step().actionId, document::kReleaseFloatingAction);
}

TEST_F(SelectionViewTest, TheFirstKeyMoveClearsOnlyTheMaskAndTenPressesAreOneStep) {
    struct Case {
        int shape;
        bool add;
    };
    for (const Case& c : {Case{tools::kShapeEllipse, false}, Case{tools::kShapeRect, true}}) {
        SCOPED_TRACE(c.shape);
        Start(1, c.shape);
        Drag({{2, 2}, {10, 10}});
        if (c.add) Drag({{9, 9}, {14, 16}}, Qt::ShiftModifier);
        const Rows mask = MaskRows();
        const std::vector<int> before = Selection();
        const int steps = doc->m_nUndoIndex;
        for (int i = 0; i < 10; ++i) Key(Qt::Key_Down);
        EXPECT_EQ(doc->m_nUndoIndex, steps + 1);
        EXPECT_EQ(Step().actionId, document::kSelectionKeyMoveAction);
        EXPECT_EQ(Selection(), (std::vector<int>{before[0], before[1] + 10, before[2], before[3] + 10}));
        for (int y = 0; y < 10; ++y)
            for (int x = before[0]; x < before[2]; ++x)
                EXPECT_EQ(Px(x, y), mask[size_t(y)][size_t(x)] == '#' ? 0 : Value(x, y)) << x << "," << y;
        EXPECT_TRUE(doc->IsModified());
        doc->OnEditUndo();
        EXPECT_EQ(MaskRows(), mask);
        EXPECT_EQ(Px(5, 5), Value(5, 5));
    }
}

TEST_F(SelectionViewTest, TheKeyStepIsTheSettingAndAtLeastOne) {
    struct Case {
        const char* step;
        int want;
    };
    for (const Case& c : {Case{"3", 3}, Case{"0", 1}, Case{"-4", 1}}) {
        SCOPED_TRACE(c.step);
        Start(1);
        WriteSetting("Settings", "PixcelCheckNum", c.step);
        Drag({{4, 4}, {7, 7}});
        Key(Qt::Key_Right);
        EXPECT_EQ(Selection()[0], 4 + c.want);
    }
}

TEST_F(SelectionViewTest, TwoMoveDragsInARowMoveTheMaskOnceEach) {
    for (int z : {1, 4}) {
        SCOPED_TRACE(z);
        Start(z);
        Drag({{2, 2}, {6, 5}});
        const int steps = doc->m_nUndoIndex;
        Drag({{3, 3}, {5, 4}, {6, 5}});
        EXPECT_EQ(Selection(), (std::vector<int>{5, 4, 10, 8}));
        EXPECT_EQ(MaskRows(), RectRows({5, 4, 10, 8}));
        Drag({{6, 5}, {6, 9}});
        EXPECT_EQ(Selection(), (std::vector<int>{5, 8, 10, 12}));
        EXPECT_EQ(MaskRows(), RectRows({5, 8, 10, 12}));
        EXPECT_EQ(doc->m_Selection.floatOffsetX, 3);
        EXPECT_EQ(doc->m_Selection.floatOffsetY, 6);
        EXPECT_EQ(doc->m_nUndoIndex, steps + 2);
        for (int y = 8; y < 12; ++y)
            for (int x = 5; x < 10; ++x) EXPECT_EQ(Px(x, y), Value(x - 3, y - 6));
        EXPECT_EQ(Px(2, 2), 0);
        EXPECT_EQ(Px(6, 5), 0);
    }
}

TEST_F(SelectionViewTest, AClickInsideWithoutAMoveChangesNothing) {
    Start(2);
    Drag({{2, 2}, {6, 5}});
    doc->SetModified(false);
    const int steps = doc->m_nUndoIndex;
    const State before = Snapshot();
    Click({4, 4});
    EXPECT_EQ(doc->m_nUndoIndex, steps);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(doc->m_Selection.movedSinceLift, 0);
    // Shift still adds.
    Drag({{5, 4}, {9, 9}}, Qt::ShiftModifier);
    EXPECT_TRUE(Masked(2, 2));
    EXPECT_TRUE(Masked(9, 9));
}

TEST_F(SelectionViewTest, EnterKeepsTheScaledPixels) {
    for (int z : {1, 4}) {
        SCOPED_TRACE(z);
        Start(z);
        Drag({{4, 4}, {7, 7}});
        Choose(tools::kScaleTool);
        const int steps = doc->m_nUndoIndex;
        // The bottom-right handle (the selection's right and bottom are
        // exclusive) dragged to (11, 11): twice the size.
        Drag({{8, 8}, {10, 10}, {11, 11}});
        EXPECT_EQ(Selection(), (std::vector<int>{4, 4, 12, 12}));
        EXPECT_EQ(doc->m_nUndoIndex, steps + 1);
        EXPECT_EQ(Step().label, "放大缩小");
        auto scaled = [&] {
            for (int y = 4; y < 12; ++y)
                for (int x = 4; x < 12; ++x)
                    EXPECT_EQ(Px(x, y), Value(4 + (x - 4) / 2, 4 + (y - 4) / 2)) << x << "," << y;
        };
        scaled();
        // A second drag of the same use is the same step.
        Drag({{12, 12}, {11, 11}});
        EXPECT_EQ(doc->m_nUndoIndex, steps + 1);
        Key(Qt::Key_Return);
        EXPECT_EQ(doc->m_nToolId, tools::kSelectTool);
        EXPECT_EQ(doc->m_hFloatImage, nullptr);
        scaled();
        EXPECT_EQ(Composite(*doc, 11, 11), Value(7, 7));
        EXPECT_EQ(Px(12, 12), Value(12, 12));
    }
}

TEST_F(SelectionViewTest, EscAfterAMoveGivesTheLiftedSizeAtTheMovedPlace) {
    Start(2);
    Drag({{4, 4}, {7, 7}});
    Drag({{5, 5}, {8, 7}});
    ASSERT_EQ(Selection(), (std::vector<int>{7, 6, 11, 10}));
    const State moved = Snapshot();
    Choose(tools::kScaleTool);
    Drag({{11, 10}, {15, 14}});
    EXPECT_EQ(Selection(), (std::vector<int>{7, 6, 16, 15}));
    Key(Qt::Key_Escape);
    EXPECT_EQ(doc->m_nToolId, tools::kSelectTool);
    ASSERT_NE(doc->m_hFloatImage, nullptr);
    EXPECT_EQ(Snapshot(), moved);
    // Committed now, the selection is as lifted.
    Click({0, 0});
    EXPECT_EQ(Px(7, 6), Value(4, 4));
    EXPECT_EQ(Px(14, 13), Value(14, 13));
}

TEST_F(SelectionViewTest, EscInALaterUseOfTheScaleToolIsAStepOfItsOwn) {
    Start(1);
    Drag({{4, 4}, {7, 7}});
    Choose(tools::kScaleTool);
    Drag({{8, 8}, {11, 11}});
    doc->SetEditMode(tools::kSelectTool);  // the palette keeps the selection floating
    Choose(tools::kScaleTool);
    const int steps = doc->m_nUndoIndex;
    Key(Qt::Key_Escape);
    EXPECT_EQ(doc->m_nUndoIndex, steps + 1);
    EXPECT_EQ(Step().label, "放大缩小");
    EXPECT_EQ(Selection(), (std::vector<int>{4, 4, 8, 8}));
    doc->OnEditUndo();
    EXPECT_EQ(Selection(), (std::vector<int>{4, 4, 12, 12}));
    EXPECT_EQ(Px(11, 11), Value(7, 7));
}

TEST_F(SelectionViewTest, HandlesDragTheirEdgesAndAReversedFrameIsOrdered) {
    Start(1);
    Drag({{4, 4}, {11, 9}});
    Choose(tools::kScaleTool);
    struct Case {
        ImagePoint grab, to;
        std::vector<int> want;  // the selection after the drag
    };
    // Each drag starts from the last one's selection.
    const std::vector<Case> cases = {
        {{4, 7}, {2, 1}, {2, 4, 12, 10}},     // the left side: only x
        {{7, 10}, {3, 13}, {2, 4, 12, 14}},   // the bottom side: only y
        {{12, 4}, {0, 1}, {0, 1, 3, 14}},     // top-right past the left side: reversed, ordered
        {{3, 1}, {6, 6}, {0, 6, 7, 14}},      // top-right of the ordered frame
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.grab.x << "," << c.grab.y);
        Drag({c.grab, c.to});
        EXPECT_EQ(Selection(), c.want);
    }
}

TEST_F(SelectionViewTest, ShiftTurnsOnlyInStepsOf45AndEscTurnsBack) {
    Start(2);
    Drag({{6, 6}, {13, 9}});
    const State lifted = Snapshot();
    Choose(tools::kRotateTool);
    const int steps = doc->m_nUndoIndex;
    std::set<int> seen;
    Move({14, 8}, Qt::ShiftModifier);
    Press({14, 8}, Qt::ShiftModifier);
    for (int i = 1; i <= 24; ++i) {
        const double a = i * 15.0 * 3.14159265358979 / 180.0;
        Move({10 + int(std::lround(5 * std::cos(a))), 8 + int(std::lround(5 * std::sin(a)))}, Qt::ShiftModifier);
        seen.insert(doc->m_Selection.angle);
    }
    Release({14, 8}, Qt::ShiftModifier);
    EXPECT_EQ(seen, (std::set<int>{0, 45, 90, 135, 180, 225, 270, 315}));
    EXPECT_EQ(doc->m_nUndoIndex, steps + 1);
    EXPECT_EQ(Step().label, "翻转");

    // A quarter turn without Shift: the 8 x 4 selection stands 4 x 8.
    Drag({{14, 8}, {10, 13}});
    ASSERT_EQ(doc->m_Selection.angle, 89);
    Drag({{10, 13}, {10, 14}});
    Key(Qt::Key_Escape);
    EXPECT_EQ(doc->m_Selection.angle, 0);
    EXPECT_EQ(doc->m_nToolId, tools::kSelectTool);
    EXPECT_EQ(Snapshot(), lifted);
}

TEST_F(SelectionViewTest, EnterKeepsTheTurnedPixels) {
    Start(1);
    Drag({{8, 6}, {11, 13}});  // 4 x 8, centre (10, 10)
    Choose(tools::kRotateTool);
    Drag({{10, 15}, {5, 10}}, Qt::ShiftModifier);  // 90 degrees on
    ASSERT_EQ(doc->m_Selection.angle, 90);
    const State turned = Snapshot();
    Key(Qt::Key_Return);
    EXPECT_EQ(doc->m_hFloatImage, nullptr);
    const State kept = Snapshot();
    EXPECT_EQ(kept.layer, turned.layer);
}

TEST_F(SelectionViewTest, TheTurnedFrameIsDrawnAndAZoomChangeShowsTheTurnAgain) {
    Start(2);
    Drag({{6, 6}, {13, 9}});
    Choose(tools::kRotateTool);
    Drag({{14, 8}, {13, 12}}, Qt::ShiftModifier);  // 45 degrees
    ASSERT_EQ(doc->m_Selection.angle, 45);
    const State turned = Snapshot();
    auto frameShown = [&] {
        const DibRect& s = doc->m_rcSelection;
        const auto frame = document::TransformedFrame({s, s, 45.0, 1.0});
        const QPoint corner(frame[0][0] * zoom, frame[0][1] * zoom);
        const int index = Composite(*doc, frame[0][0], frame[0][1]);
        return Grab(view).pixel(corner) == (doc->m_pPalette->Shown(index) ^ 0x00ffffffu);
    };
    EXPECT_TRUE(frameShown());
    view->SetZoom(view::ZoomCommandOf(4));
    zoom = 4;
    EXPECT_EQ(Snapshot(), turned);
    EXPECT_TRUE(frameShown());
}

TEST_F(SelectionViewTest, EveryStepUndoneAndRedoneRestoresLayerMaskAndRectangle) {
    for (int z : {1, 4}) {
        SCOPED_TRACE(z);
        Start(z);
        std::vector<State> states{Snapshot()};
        const int steps = doc->m_nUndoIndex;
        Drag({{3, 3}, {9, 8}});
        states.push_back(Snapshot());
        Drag({{4, 4}, {6, 7}});
        states.push_back(Snapshot());
        Key(Qt::Key_Right);
        Key(Qt::Key_Right);
        states.push_back(Snapshot());
        Drag({{8, 9}, {10, 10}}, Qt::ShiftModifier);  // moved: a new selection
        states.push_back(Snapshot());
        Choose(tools::kScaleTool);
        Drag({{11, 11}, {14, 15}});
        states.push_back(Snapshot());
        Choose(tools::kRotateTool);
        Drag({{15, 12}, {11, 16}});
        states.push_back(Snapshot());
        Key(Qt::Key_Return);
        states.push_back(Snapshot());
        ASSERT_EQ(doc->m_nUndoIndex, steps + 7);
        for (size_t i = states.size() - 1; i > 0; --i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(Snapshot(), states[i]);
            doc->OnEditUndo();
        }
        EXPECT_EQ(Snapshot(), states[0]);
        for (size_t i = 1; i < states.size(); ++i) {
            SCOPED_TRACE(i);
            doc->OnEditRedo();
            EXPECT_EQ(Snapshot(), states[i]);
        }
    }
}

TEST_F(SelectionViewTest, ScaleAndRotateDoNothingWithoutAFloatingSelection) {
    Start(2);
    Drag({{3, 3}, {9, 8}});
    doc->OnEditUndo();
    ASSERT_EQ(doc->m_hFloatImage, nullptr);
    for (int tool : {tools::kScaleTool, tools::kRotateTool}) {
        SCOPED_TRACE(tool);
        doc->SetEditMode(tool);
        doc->SetModified(false);
        const int steps = doc->m_nUndoIndex;
        const State before = Snapshot();
        Drag({{0, 0}, {5, 5}});
        Drag({{1, 1}, {2, 2}});
        Key(Qt::Key_Return);
        Key(Qt::Key_Escape);
        EXPECT_EQ(doc->m_nUndoIndex, steps);
        EXPECT_FALSE(doc->IsModified());
        EXPECT_EQ(Snapshot(), before);
        EXPECT_EQ(doc->m_nToolId, tool);
        EXPECT_FALSE(view->HoldsCapture());
    }
}

TEST_F(SelectionViewTest, TheLargestTypedSizeIsCutAtTheImage) {
    Start(1);
    Constrain(tools::kConstraintFixed, INT_MAX, INT_MAX);
    Drag({{3, 3}, {10, 10}});
    EXPECT_EQ(Selection(), (std::vector<int>{10, 10, kW, kH}));
    Click({0, 0});
    Constrain(tools::kConstraintRatio, INT_MAX, INT_MAX);
    Drag({{3, 3}, {10, 12}});
    EXPECT_EQ(Selection(), (std::vector<int>{3, 3, 10, 10}));
}

}  // namespace
}  // namespace viewtest
