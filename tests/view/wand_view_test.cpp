// The magic wand driven by mouse events in the canvas view of a new
// document: the areas it selects, adding with Shift, a hidden layer, a press
// outside, refused memory, moving the selection, and undo and redo.
#include <string>
#include <vector>

#include "document/floating_selection.h"
#include "document/layer_operations.h"
#include "document/selection_mask.h"
#include "document/selection_mask_doc.h"
#include "document/undo_actions.h"
#include "document/wand_region.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"
#include "platform/message_box_recorder.h"
#include "tools/drag_state.h"
#include "tools/tool_dispatch.h"
#include "view/selection_tools.h"
#include "view/view_globals.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

using tools::ImagePoint;
using Rows = std::vector<std::string>;

class WandViewTest : public ViewTest {
public:
    // A document of the picture's size, one layer holding its digits, the
    // wand current.
    void Start(const Rows& picture) {
        h = int(picture.size());
        w = int(picture[0].size());
        view = NewDocument(w, h);
        ASSERT_NE(view, nullptr);
        doc = view->GetDocument();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Px(x, y) = uint8_t(picture[size_t(y)][size_t(x)] - '0');
        view->RefreshAfterEdit(1);
        doc->SetEditMode(tools::kWandTool);
        SetViewSize(view, 400, 300);
        view->ScrollTo(0, 0);
        doc->SetModified(false);
    }
    void TearDown() override {
        document::SetWandMemoryRefusedForTest(false);
        tools::ProgramDragState() = {};
        view::ProgramSelectionDrag() = {};
        ViewTest::TearDown();
    }
    uint8_t& Px(int x, int y) const {
        MemLockGuard lock(doc->m_hLayers[0]);
        return lock.get()[LAYER_HEADER_SIZE + size_t(h - 1 - y) * dib::LayerRowBytes(w) + size_t(x)];
    }
    Rows PixelRows() const {
        Rows rows;
        for (int y = 0; y < h; ++y) {
            std::string row;
            for (int x = 0; x < w; ++x) row += char('0' + Px(x, y));
            rows.push_back(row);
        }
        return rows;
    }
    Rows MaskRows(MemHandle mask) const {
        document::LockedMask m(*doc, mask);
        Rows rows;
        for (int y = 0; y < h; ++y) {
            std::string row;
            for (int x = 0; x < w; ++x) row += m.bits().Get(x, y) ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    }
    Rows Selected() const { return MaskRows(doc->m_hMask); }
    std::vector<int> Selection() const {
        const DibRect& r = doc->m_rcSelection;
        return {r.left, r.top, r.right, r.bottom};
    }
    const document::UndoSlot& Step() const { return doc->m_UndoSlots[size_t(doc->m_nUndoIndex)]; }

    void Press(QPoint c, Qt::KeyboardModifiers m = {}) { view->OnLButtonDown(c, m); }
    void Drag(ImagePoint from, ImagePoint to, Qt::KeyboardModifiers m = {}) {
        view->OnMouseMove(Client(from), m);
        view->OnLButtonDown(Client(from), m);
        view->OnMouseMove(Client(to), m);
        view->OnLButtonUp(Client(to), m);
    }
    void Click(ImagePoint p, Qt::KeyboardModifiers m = {}) { Drag(p, p, m); }
    static QPoint Client(ImagePoint p) { return {p.x, p.y}; }

    CPelmarkView* view = nullptr;
    CPelmarkDoc* doc = nullptr;
    int w = 0, h = 0;
};

TEST_F(WandViewTest, AClickSelectsTheFourConnectedAreaOfItsIndex) {
    struct Case {
        Rows picture;
        ImagePoint at;
        Rows want;
    };
    const Case cases[] = {
        // A one-pixel island: its diagonal neighbours are not joined.
        {{"00000", "01010", "00100", "01010", "00000"},
         {2, 2},
         {".....", ".....", "..#..", ".....", "....."}},
        // An area along all four edges.
        {{"1111111", "1000001", "1022201", "1000001", "1111111"},
         {6, 4},
         {"#######", "#.....#", "#.....#", "#.....#", "#######"}},
        // Index 0 over a layer of 0.
        {{"000", "000"}, {1, 0}, {"###", "###"}},
    };
    for (const Case& c : cases) {
        Start(c.picture);
        platform::MessageBoxRecorder boxes;
        Click(c.at);
        EXPECT_EQ(Selected(), c.want);
        EXPECT_EQ(boxes.Count(), 0u);
        ASSERT_NE(doc->m_hFloatImage, nullptr);
        EXPECT_EQ(Step().actionId, document::kReleaseFloatingAction);
        EXPECT_EQ(PixelRows(), c.picture);
    }
}

TEST_F(WandViewTest, TheSecondMaskHoldsTheEdgePointsOfTheSelection) {
    Start({"00000", "01100", "01100", "00000"});
    Click({1, 1});
    // Row starts and the pixel after each run, then the same down the columns.
    EXPECT_EQ(MaskRows(document::SecondMask(*doc)), (Rows{".....", ".###.", ".#.#.", ".##.."}));
    EXPECT_EQ(Selection(), (std::vector<int>{1, 1, 3, 3}));
}

const Rows kRing{"0000000", "0111110", "0100010", "0103010", "0100010", "0111110", "0000000"};

// Shift adds an area, the press inside the selection rectangle or outside
// it (without Shift a press outside puts the floating selection down).
TEST_F(WandViewTest, ShiftAddsExactlyTheSecondArea) {
    Start(kRing);
    Click({1, 1});
    Click({3, 3}, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (Rows{".......", ".#####.", ".#...#.", ".#.#.#.", ".#...#.", ".#####.", "......."}));
    EXPECT_EQ(Selection(), (std::vector<int>{1, 1, 6, 6}));
    // The outline is that of the whole selection.
    const Rows edges = MaskRows(document::SecondMask(*doc));
    EXPECT_EQ(edges[3], ".######");
    EXPECT_EQ(edges[2], ".######");
    EXPECT_EQ(edges[4], ".###.##");
    EXPECT_EQ(PixelRows(), kRing);

    const Rows apart{"1100000", "1100000", "0000000", "0000022", "0000022"};
    Start(apart);
    Click({0, 0});
    ASSERT_EQ(Selection(), (std::vector<int>{0, 0, 2, 2}));
    const int steps = doc->m_nUndoIndex;
    Click({6, 4}, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (Rows{"##.....", "##.....", ".......", ".....##", ".....##"}));
    EXPECT_EQ(Selection(), (std::vector<int>{0, 0, 7, 5}));
    ASSERT_NE(doc->m_hFloatImage, nullptr);
    EXPECT_EQ(doc->m_nUndoIndex, steps + 1);
    EXPECT_EQ(Step().actionId, document::kReleaseFloatingAction);
    EXPECT_EQ(PixelRows(), apart);
    // A drag from inside moves the whole selection.
    Drag({1, 1}, {2, 1});
    EXPECT_EQ(Step().actionId, document::kSelectionMoveAction);
    EXPECT_EQ(PixelRows(), (Rows{"0110000", "0110000", "0000000", "0000002", "0000002"}));
    doc->OnEditUndo();
    EXPECT_EQ(PixelRows(), apart);
    doc->OnEditUndo();
    EXPECT_EQ(Selected(), (Rows{"##.....", "##.....", ".......", ".......", "......."}));
}

TEST_F(WandViewTest, ShiftAfterAMoveStartsANewSelection) {
    Start(kRing);
    Click({1, 1});
    Drag({1, 1}, {1, 0});
    EXPECT_EQ(doc->m_Selection.movedSinceLift, 1);
    Click({3, 2}, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (Rows{".......", "..###..", "..###..", "..#.#..", ".......", ".......", "......."}));
}

TEST_F(WandViewTest, AHiddenLayerAndAPressOutsideSelectNothing) {
    for (bool hidden : {true, false}) {
        Start({"0110", "0110"});
        platform::MessageBoxRecorder boxes;
        if (hidden) {
            document::SetLayerVisible(*doc, 0, false);
            Click({1, 0});
        } else {
            Click({40, 30});
        }
        EXPECT_EQ(Selected(), (Rows{"....", "...."}));
        EXPECT_EQ(doc->m_hFloatImage, nullptr);
        EXPECT_TRUE(document::RectEmpty(doc->m_rcSelection));
        EXPECT_EQ(boxes.Count(), 0u);
    }
    // Straight at the view: a point outside gives an empty selection too.
    Click({1, 0});
    view->MagicWandFill(-1, 0);
    EXPECT_EQ(Selected(), (Rows{"....", "...."}));
}

TEST_F(WandViewTest, RefusedMemoryTellsAndSelectsNothing) {
    Start({"0110", "0110"});
    platform::MessageBoxRecorder boxes;
    document::SetWandMemoryRefusedForTest(true);
    Click({0, 0});
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "无法保证足够的工作内存");
    EXPECT_EQ(Selected(), (Rows{"....", "...."}));
    EXPECT_EQ(MaskRows(document::SecondMask(*doc)), (Rows{"....", "...."}));
    EXPECT_EQ(doc->m_hFloatImage, nullptr);
}

TEST_F(WandViewTest, ADragInsideMovesThePixelsAsOneUndoStep) {
    const Rows picture{"22222", "21122", "22222", "22222"};
    const Rows moved{"22222", "20022", "22112", "22222"};
    Start(picture);
    Click({1, 1});
    const Rows lifted = Selected();
    const int steps = doc->m_nUndoIndex;
    Drag({1, 1}, {2, 2});
    EXPECT_EQ(doc->m_nUndoIndex, steps + 1);
    EXPECT_EQ(Step().actionId, document::kSelectionMoveAction);
    EXPECT_EQ(Step().label, "魔棒选取区域移动");
    EXPECT_EQ(PixelRows(), moved);
    EXPECT_EQ(Selection(), (std::vector<int>{2, 2, 4, 3}));
    doc->OnEditUndo();
    EXPECT_EQ(PixelRows(), picture);
    EXPECT_EQ(Selected(), lifted);
    doc->OnEditRedo();
    EXPECT_EQ(PixelRows(), moved);
}

TEST_F(WandViewTest, APressOutsidePutsTheSelectionDownAndTheNextSelectsAnew) {
    const Rows picture{"22222", "21122", "22222", "22222"};
    Start(picture);
    Click({1, 1});
    Click({0, 3});
    EXPECT_EQ(doc->m_hFloatImage, nullptr);
    Click({0, 3});
    EXPECT_EQ(Step().actionId, document::kReleaseFloatingAction);
    EXPECT_EQ(Step().label, "魔棒");
    EXPECT_EQ(Selected(), (Rows{"#####", "#..##", "#####", "#####"}));
    doc->OnEditUndo();
    EXPECT_EQ(PixelRows(), picture);
    doc->OnEditRedo();
    EXPECT_EQ(Selected(), (Rows{"#####", "#..##", "#####", "#####"}));
}

}  // namespace
}  // namespace viewtest
