// The rectangle, ellipse and circle tools drawn by mouse events in the canvas
// view of a new document: the layer and composite pixels under each size
// constraint, Shift and outline position, the ellipse shapes of small boxes,
// the circles, undo and redo, and the drags that
// must leave the document alone.
#include <climits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "platform/memory.h"
#include "platform/message_box_recorder.h"
#include "tools/drag_state.h"
#include "tools/tool_dispatch.h"
#include "tools/tool_options.h"
#include "view/view_geometry.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

using tools::ImagePoint;
using Rows = std::vector<std::string>;

constexpr int kInk = 2;
// The settings controls of the shape tools.
constexpr int kOutlineModeControl = 427;
constexpr int kPositionControl = 428;
constexpr int kThicknessControl = 430;
constexpr int kOutlineWidthControl = 432;
constexpr int kOutlineHeightControl = 434;
constexpr int kFilledModeControl = 436;
constexpr int kFilledWidthControl = 438;
constexpr int kFilledHeightControl = 440;

class ShapeViewTest : public ViewTest {
public:
    void Start(int width, int height, int zoomFactor, int tool) {
        view = NewDocument(width, height);
        ASSERT_NE(view, nullptr);
        doc = view->GetDocument();
        doc->SelectTool(tool);
        doc->m_nPenId = 600;
        doc->m_nColor = kInk;
        zoom = zoomFactor;
        view->SetZoom(view::ZoomCommandOf(zoom));
        SetViewSize(view, 400, 300);
        view->ScrollTo(0, 0);
        frame->ToolOptionValues().SetControls(&controls);
    }
    void TearDown() override {
        if (frame) frame->ToolOptionValues().SetControls(nullptr);
        tools::ProgramDragState() = {};
        ViewTest::TearDown();
    }

    QPoint Client(ImagePoint p) const { return {p.x * zoom + zoom / 2, p.y * zoom + zoom / 2}; }
    void Press(ImagePoint p) { QTest::mousePress(view, Qt::LeftButton, {}, Client(p)); }
    void Move(ImagePoint p, Qt::KeyboardModifiers modifiers = {}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(Client(p)), QPointF(view->mapToGlobal(Client(p))),
                         Qt::NoButton, Qt::LeftButton, modifiers);
        QApplication::sendEvent(view, &move);
    }
    void Release(ImagePoint p, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseRelease(view, Qt::LeftButton, modifiers, Client(p));
    }
    void Drag(ImagePoint from, ImagePoint to, Qt::KeyboardModifiers modifiers = {}) {
        Press(from);
        Move(to, modifiers);
        Release(to, modifiers);
    }

    // The current layer as rows, '#' for the ink and '.' for index 0; the
    // composite must show the same.
    Rows Picture() const {
        Rows rows;
        for (int y = 0; y < doc->m_nHeight; ++y) {
            std::string row;
            for (int x = 0; x < doc->m_nWidth; ++x) {
                const int index = Layer(*doc, doc->m_nEditLayer, x, y);
                EXPECT_EQ(Composite(*doc, x, y), index) << x << "," << y;
                row += index == kInk ? '#' : index == 0 ? '.' : '?';
            }
            rows.push_back(row);
        }
        return rows;
    }
    Rows Blank() const { return Rows(size_t(doc->m_nHeight), std::string(size_t(doc->m_nWidth), '.')); }
    // A blank picture with `shape` at (x, y).
    Rows With(const Rows& shape, int x, int y) const {
        Rows rows = Blank();
        for (size_t j = 0; j < shape.size(); ++j) rows[size_t(y) + j].replace(size_t(x), shape[j].size(), shape[j]);
        return rows;
    }
    // A blank picture with the ring of `t` pixels inside box [l, r) x [t, b).
    Rows Ring(int l, int top, int r, int b, int t) const {
        Rows rows = Blank();
        for (int y = std::max(top, 0); y < std::min(b, doc->m_nHeight); ++y)
            for (int x = std::max(l, 0); x < std::min(r, doc->m_nWidth); ++x)
                if (x < l + t || x >= r - t || y < top + t || y >= b - t) rows[size_t(y)][size_t(x)] = '#';
        return rows;
    }
    std::string UndoLabel() const { return doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label; }

    PanelControls controls;
    CPelmarkView* view = nullptr;
    CPelmarkDoc* doc = nullptr;
    int zoom = 1;
};

TEST_F(ShapeViewTest, AFixedSizeCoversExactlyWidthByHeightAtTheRelease) {
    for (int z : {1, 4}) {
        for (int tool : {tools::kRectOutlineTool, tools::kFilledRectTool}) {
            SCOPED_TRACE(testing::Message() << "zoom " << z << " tool " << tool);
            Start(12, 8, z, tool);
            const bool outline = tool == tools::kRectOutlineTool;
            controls.values[outline ? kOutlineModeControl : kFilledModeControl] = 2;
            controls.values[outline ? kOutlineWidthControl : kFilledWidthControl] = 4;
            controls.values[outline ? kOutlineHeightControl : kFilledHeightControl] = 3;
            Press({2, 2});
            Move({4, 6});
            // The band is on the screen only.
            EXPECT_EQ(view->Overlays().size(), 1u);
            EXPECT_EQ(Picture(), Blank());
            Release({5, 3});
            EXPECT_TRUE(view->Overlays().empty());
            const Rows shape = outline ? Rows{"####", "#..#", "####"} : Rows{"####", "####", "####"};
            EXPECT_EQ(Picture(), With(shape, 5, 3));
            EXPECT_EQ(Grab(view).pixel(Client({8, 5})), doc->m_pPalette->Shown(kInk));
            EXPECT_EQ(Grab(view).pixel(Client({9, 5})), doc->m_pPalette->Shown(0));
        }
    }
}

TEST_F(ShapeViewTest, ARectangleDraggedToOnePointIsOnePixel) {
    Start(12, 8, 1, tools::kRectOutlineTool);
    Drag({4, 3}, {4, 3});
    EXPECT_EQ(Picture(), With({"#"}, 4, 3));
}

TEST_F(ShapeViewTest, ProportionalAndShiftBoxes) {
    struct Case {
        const char* name;
        int mode, w, h;
        ImagePoint from, to;
        bool shift;
        int left, top, right, bottom;  // the drawn box
    };
    const Case cases[] = {
        {"proportional right down", 1, 2, 1, {2, 2}, {8, 5}, false, 2, 2, 6, 4},
        {"proportional left up", 1, 2, 1, {9, 6}, {1, 1}, false, 4, 4, 10, 7},
        {"proportional clamped", 1, 1, 2, {10, 1}, {15, 9}, false, 10, 1, 12, 7},
        {"shift right down, x shorter", 0, 1, 1, {5, 4}, {7, 7}, true, 5, 4, 8, 7},
        {"shift right down, y shorter", 0, 1, 1, {5, 4}, {8, 5}, true, 5, 4, 7, 6},
        {"shift left up", 0, 1, 1, {5, 4}, {2, 2}, true, 2, 1, 6, 5},
        {"shift left down", 0, 1, 1, {5, 4}, {3, 7}, true, 3, 4, 6, 7},
        {"shift right up", 0, 1, 1, {5, 4}, {9, 2}, true, 5, 2, 8, 5},
        {"no shift", 0, 1, 1, {5, 4}, {9, 2}, false, 5, 2, 10, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(12, 8, 1, tools::kRectOutlineTool);
        controls.values[kOutlineModeControl] = c.mode;
        controls.values[kOutlineWidthControl] = c.w;
        controls.values[kOutlineHeightControl] = c.h;
        Drag(c.from, c.to, c.shift ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(Picture(), Ring(c.left, c.top, c.right, c.bottom, 1));
    }
}

TEST_F(ShapeViewTest, TheOutlinePositionPutsTheStrokeInsideOnOrOutsideTheDraggedEdge) {
    // The drag covers [5, 11) x [4, 9); the square pen of an odd size takes
    // its extra pixel on the left and top.
    struct Case {
        int position, thickness;
        int left, top, right, bottom;  // the stroke's outer box
    };
    const Case cases[] = {
        {0, 1, 5, 4, 11, 9}, {1, 1, 5, 4, 11, 9}, {2, 1, 4, 3, 12, 10},
        {0, 2, 5, 4, 11, 9}, {1, 2, 4, 3, 11, 9}, {2, 2, 3, 2, 13, 11},
        {0, 3, 5, 4, 11, 9}, {1, 3, 3, 2, 11, 9}, {2, 3, 2, 1, 14, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position << " thickness " << c.thickness);
        Start(16, 13, 1, tools::kRectOutlineTool);
        controls.values[kPositionControl] = c.position;
        controls.values[kThicknessControl] = c.thickness;
        Drag({5, 4}, {10, 8});
        EXPECT_EQ(Picture(), Ring(c.left, c.top, c.right, c.bottom, c.thickness));
    }
}

TEST_F(ShapeViewTest, SmallEllipsesCoverTheirBoxesSymmetrically) {
    struct Case {
        int w, h;
        Rows filled, outline;
    };
    const Case cases[] = {
        {1, 1, {"#"}, {"#"}},
        {1, 5, {"#", "#", "#", "#", "#"}, {"#", "#", "#", "#", "#"}},
        {2, 2, {"##", "##"}, {"##", "##"}},
        {2, 5, {"##", "##", "##", "##", "##"}, {"##", "##", "##", "##", "##"}},
        {3, 3, {"###", "###", "###"}, {"###", "#.#", "###"}},
        {4, 4, {".##.", "####", "####", ".##."}, {".##.", "#..#", "#..#", ".##."}},
        {5, 3, {".###.", "#####", ".###."}, {".###.", "#...#", ".###."}},
        {8, 6,
         {"..####..", ".######.", "########", "########", ".######.", "..####.."},
         {"..####..", ".#....#.", "#......#", "#......#", ".#....#.", "..####.."}},
    };
    for (int z : {1, 4}) {
        for (const Case& c : cases) {
            for (bool filled : {false, true}) {
                SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << (filled ? " filled" : "") << " zoom " << z);
                Start(12, 10, z, filled ? tools::kFilledEllipseTool : tools::kEllipseOutlineTool);
                // Dragged from the bottom-right corner to the top-left one.
                Drag({1 + c.w - 1, 2 + c.h - 1}, {1, 2});
                EXPECT_EQ(Picture(), With(filled ? c.filled : c.outline, 1, 2));
            }
        }
    }
}

TEST_F(ShapeViewTest, CirclesSpanTheCentrePlusAndMinusTheRadius) {
    for (int r : {0, 1, 2, 10}) {
        for (int tool : {tools::kCircleTool, tools::kFilledCircleTool}) {
            SCOPED_TRACE(testing::Message() << "r " << r << " tool " << tool);
            Start(31, 31, 1, tools::kHandTool);
            // No button chooses the circles: only the edit mode.
            doc->SetEditMode(tool);
            Press({15, 15});
            // The centre is marked in the layer while the band is dragged.
            EXPECT_EQ(Layer(*doc, 0, 15, 15), kInk);
            Move({15 + r, 15});
            Release({15 + r, 15});
            const Rows p = Picture();
            int left = 31, right = -1, top = 31, bottom = -1;
            for (int y = 0; y < 31; ++y)
                for (int x = 0; x < 31; ++x) {
                    if (p[size_t(y)][size_t(x)] != '#') continue;
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                    // Symmetric about the centre in both directions.
                    EXPECT_EQ(p[size_t(y)][size_t(30 - x)], '#');
                    EXPECT_EQ(p[size_t(30 - y)][size_t(x)], '#');
                }
            EXPECT_EQ(left, 15 - r);
            EXPECT_EQ(right, 15 + r);
            EXPECT_EQ(top, 15 - r);
            EXPECT_EQ(bottom, 15 + r);
            // The outline's centre mark is gone.
            if (r > 1) EXPECT_EQ(p[15][15], tool == tools::kCircleTool ? '.' : '#');
        }
    }
}

TEST_F(ShapeViewTest, EachShapeIsOneStepUndoneAndRedoneByteForByte) {
    Start(20, 16, 4, tools::kRectOutlineTool);
    struct Step {
        int tool;
        const char* label;
        ImagePoint from, to;
    };
    const Step steps[] = {
        {tools::kRectOutlineTool, "矩形", {1, 1}, {8, 6}},       {tools::kEllipseOutlineTool, "椭圆", {10, 1}, {18, 7}},
        {tools::kFilledRectTool, "填充矩形", {2, 8}, {6, 14}},   {tools::kFilledEllipseTool, "填充椭圆", {8, 8}, {13, 14}},
        {tools::kCircleTool, "圆", {16, 11}, {18, 11}},          {tools::kFilledCircleTool, "填充圆", {4, 4}, {5, 5}},
    };
    const int first = doc->m_nUndoIndex;
    std::vector<Rows> pictures{Picture()};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.label);
        doc->SelectTool(s.tool);
        Press(s.from);
        EXPECT_NE(doc->m_hLayerBackup, nullptr);
        Move(s.to);
        Release(s.to);
        EXPECT_EQ(doc->m_hLayerBackup, nullptr);
        EXPECT_EQ(UndoLabel(), s.label);
        EXPECT_TRUE(doc->IsModified());
        pictures.push_back(Picture());
        EXPECT_NE(pictures.back(), pictures[pictures.size() - 2]);
    }
    EXPECT_EQ(doc->m_nUndoIndex, first + 6);
    for (size_t i = pictures.size() - 1; i > 0; --i) {
        doc->OnEditUndo();
        EXPECT_EQ(Picture(), pictures[i - 1]) << i;
    }
    for (size_t i = 1; i < pictures.size(); ++i) {
        doc->OnEditRedo();
        EXPECT_EQ(Picture(), pictures[i]) << i;
    }
}

TEST_F(ShapeViewTest, ABusyDocumentAndARefusedClickDrawNothing) {
    Start(12, 8, 1, tools::kFilledRectTool);
    const int steps = doc->m_nUndoIndex;
    doc->m_bBusy = 1;
    Drag({1, 1}, {5, 5});
    doc->m_bBusy = 0;
    EXPECT_EQ(Picture(), Blank());
    EXPECT_EQ(doc->m_nUndoIndex, steps);
    {
        platform::MessageBoxRecorder boxes;
        MemSetLimit(MemBytesInUse() + 1024);
        Press({1, 1});
        MemSetLimit(MEM_NO_LIMIT);
        EXPECT_EQ(boxes.Requests().size(), 1u);
        Move({5, 5});
        Release({5, 5});
    }
    EXPECT_TRUE(view->Overlays().empty());
    EXPECT_EQ(Picture(), Blank());
    EXPECT_EQ(doc->m_nUndoIndex, steps);
    // The next click draws again.
    Drag({1, 1}, {2, 2});
    EXPECT_EQ(Picture(), With({"##", "##"}, 1, 1));
}

TEST_F(ShapeViewTest, AThickOutlineAtACornerAndAHugeFixedSizeStayWithinTheImage) {
    Start(40, 30, 1, tools::kRectOutlineTool);
    controls.values[kThicknessControl] = 100;
    // (QTest takes client point 0, 0 for the widget's centre.)
    Drag({0, 1}, {20, 15});
    // The pen's reach covers the whole image.
    EXPECT_EQ(Picture(), Ring(0, 0, 40, 30, 40));

    for (int tool : {tools::kRectOutlineTool, tools::kFilledRectTool, tools::kEllipseOutlineTool,
                     tools::kFilledEllipseTool}) {
        SCOPED_TRACE(tool);
        Start(40, 30, 1, tool);
        for (int control : {kOutlineModeControl, kFilledModeControl}) controls.values[control] = 2;
        for (int control : {kOutlineWidthControl, kOutlineHeightControl, kFilledWidthControl, kFilledHeightControl})
            controls.values[control] = INT_MAX;
        controls.values[kThicknessControl] = 3;
        Drag({1, 1}, {3, 2});
        EXPECT_EQ(doc->m_hLayerBackup, nullptr);
        // The rectangles reach the image's right and bottom sides: the
        // outline shows its top and left edges, 3 pixels wide with their
        // extra pixels above and to the left. The ellipses' curves lie far
        // beyond the image.
        Rows want = Blank();
        if (tool == tools::kRectOutlineTool) want = Ring(1, 0, 1000, 1000, 3);
        if (tool == tools::kFilledRectTool) want = Ring(3, 2, 1000, 1000, 1000);
        EXPECT_EQ(Picture(), want);
    }
}

}  // namespace
}  // namespace viewtest
