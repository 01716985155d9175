// The canvas view offscreen between mouse events and a tool: a test pen
// draws through the view at zoom 4 into the current layer and the
// composite; capture and drag bits, autoscroll by the timer handler, the
// Shift constraint, the right button, the work-memory probe at button-down,
// layer-step keys and the tone commands.
#include <QApplication>
#include <QMenu>
#include <QTest>

#include "document/layer_factory.h"
#include "imaging/dib.h"
#include "platform/memory.h"
#include "framework/cmd_ui.h"
#include "platform/message_box_recorder.h"
#include "tools/dispatch_rules.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

using tools::ImagePoint;

// Draws a line of pen stamps from the last point, as a pen would.
struct TestPen : tools::ToolHandler {
    CPelmarkView* view = nullptr;
    ImagePoint last;
    std::vector<std::string> calls;
    static std::string Str(const char* what, ImagePoint p) {
        return std::string(what) + " " + std::to_string(p.x) + "," + std::to_string(p.y);
    }
    void OnDown(ImagePoint p) override {
        calls.push_back(Str("down", p));
        view->PlotPen(p.x, p.y, true);
        last = p;
    }
    void OnMove(ImagePoint p) override {
        calls.push_back(Str("move", p));
        view->DrawPenLine(last.x, last.y, p.x, p.y, true);
        last = p;
    }
    void OnUp(ImagePoint p) override {
        calls.push_back(Str("up", p));
        view->DrawPenLine(last.x, last.y, p.x, p.y, true);
    }
};

struct Recorder : tools::ToolHandler {
    std::vector<std::string> calls;
    void OnDown(ImagePoint p) override { calls.push_back(TestPen::Str("down", p)); }
    void OnMove(ImagePoint p) override { calls.push_back(TestPen::Str("move", p)); }
    void OnUp(ImagePoint p) override { calls.push_back(TestPen::Str("up", p)); }
};

// Client point of the centre of image pixel (x, y) at zoom 4.
QPoint Client(int x, int y) { return {x * 4 + 1, y * 4 + 2}; }

class DispatchViewTest : public ViewTest {
public:
    // An image with layer 0 (the pattern, every value shown) and an empty
    // layer 1 (index 0 clear) that is current; zoom 4, the pen tool.
    CPelmarkView* OpenLayered(int width, int height) {
        CPelmarkView* view = OpenImage(width, height);
        CPelmarkDoc* doc = view->GetDocument();
        document::LayerOptions normal;
        normal.drawMode = LAYER_DRAW_NORMAL;
        EXPECT_TRUE(document::CreateLayer(*doc, 0, 1, normal));
        EXPECT_TRUE(document::CopyImageToLayer(doc->m_hImage, doc->m_hLayers[0]));
        EXPECT_TRUE(document::CreateLayer(*doc, 1, 1));
        doc->m_nEditLayer = 1;
        doc->m_nToolId = tools::kPenTool;
        doc->m_nPenId = 600;
        doc->m_nColor = 200;
        view->SetZoom(view::ZoomCommandOf(4));
        SetViewSize(view, 400, 300);
        view->ScrollTo(0, 0);
        pen.view = view;
        view->ToolHandlers().Set(tools::kPenTool, &pen);
        view->ToolHandlers().Set(tools::kLineTool, &pen);
        view->ToolHandlers().SetColorPick(&pick);
        return view;
    }
    void TearDown() override {
        tools::ProgramDragState() = {};
        ViewTest::TearDown();
    }
    TestPen pen;
    Recorder pick;
};

TEST_F(DispatchViewTest, PenDragAtZoomFourWritesTheLayerAndTheCompositeAndReleasesTheCapture) {
    CPelmarkView* view = OpenLayered(40, 30);
    const CPelmarkDoc& doc = *view->GetDocument();
    const tools::DragState& drag = tools::ProgramDragState();

    QTest::mousePress(view, Qt::LeftButton, {}, Client(5, 5));
    EXPECT_TRUE(view->HoldsCapture());
    EXPECT_EQ(drag.bits, tools::kLeftToolDrag);
    EXPECT_EQ(drag.toolClick, (ImagePoint{5, 5}));
    QTest::mouseMove(view, Client(15, 5));
    QTest::mouseRelease(view, Qt::LeftButton, {}, Client(15, 8));
    EXPECT_FALSE(view->HoldsCapture());
    EXPECT_EQ(drag.bits, 0);
    EXPECT_EQ(drag.capture, 0);
    EXPECT_EQ(pen.calls, (std::vector<std::string>{"down 5,5", "move 15,5", "up 15,8"}));

    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool drawn = (y == 5 && x >= 5 && x <= 15) || (x == 15 && y >= 5 && y <= 8);
            ASSERT_EQ(Layer(doc, 1, x, y), drawn ? 200 : 0) << x << "," << y;
            ASSERT_EQ(Layer(doc, 0, x, y), PatternIndex(x, y)) << x << "," << y;
            ASSERT_EQ(Composite(doc, x, y), drawn ? 200 : PatternIndex(x, y)) << x << "," << y;
        }
    // The stroke is on screen: image pixel (10, 5) shows entry 200.
    EXPECT_EQ(Grab(view).pixel(Client(10, 5)), EntryColor(200));

    // After the stroke the composite is what a full composition gives.
    view->RecomposeLayers();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool drawn = (y == 5 && x >= 5 && x <= 15) || (x == 15 && y >= 5 && y <= 8);
            ASSERT_EQ(Composite(doc, x, y), drawn ? 200 : PatternIndex(x, y)) << x << "," << y;
        }
}

TEST_F(DispatchViewTest, AClickRightOfTheImageIsIgnored) {
    CPelmarkView* view = OpenLayered(40, 30);
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(40 * 4, 8));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(40 * 4, 8));
    EXPECT_FALSE(view->HoldsCapture());
    EXPECT_TRUE(pen.calls.empty());
}

TEST_F(DispatchViewTest, ShiftDragsOfThePenAndTheLineAreConstrained) {
    struct Case {
        int tool;
        ImagePoint from, to;
        const char* up;
    };
    const Case cases[] = {
        {tools::kPenTool, {10, 10}, {14, 30}, "up 10,30"},
        {tools::kLineTool, {0, 0}, {10, 8}, "up 10,10"},
        {tools::kLineTool, {0, 0}, {10, 2}, "up 10,0"},
    };
    CPelmarkView* view = OpenLayered(60, 40);
    for (const Case& c : cases) {
        view->GetDocument()->m_nToolId = c.tool;
        pen.calls.clear();
        QTest::mousePress(view, Qt::LeftButton, Qt::ShiftModifier, Client(c.from.x, c.from.y));
        QTest::mouseRelease(view, Qt::LeftButton, Qt::ShiftModifier, Client(c.to.x, c.to.y));
        ASSERT_EQ(pen.calls.size(), 2u) << c.up;
        EXPECT_EQ(pen.calls[1], c.up);
        EXPECT_EQ(tools::ProgramDragState().bits, 0);
    }
}

TEST_F(DispatchViewTest, ShiftClickOfTheFillDoesNothingAndTheRectangleTakesItAsAClick) {
    CPelmarkView* view = OpenLayered(40, 30);
    Recorder fill, rect;
    view->ToolHandlers().Set(tools::kFillTool, &fill);
    view->ToolHandlers().Set(tools::kRectOutlineTool, &rect);
    view->GetDocument()->m_nToolId = tools::kFillTool;
    QTest::mousePress(view, Qt::LeftButton, Qt::ShiftModifier, Client(3, 3));
    EXPECT_EQ(tools::ProgramDragState().bits, tools::kShiftClick);
    EXPECT_TRUE(view->HoldsCapture());
    QTest::mouseRelease(view, Qt::LeftButton, Qt::ShiftModifier, Client(3, 3));
    EXPECT_TRUE(fill.calls.empty());
    EXPECT_FALSE(view->HoldsCapture());

    view->GetDocument()->m_nToolId = tools::kRectOutlineTool;
    QTest::mousePress(view, Qt::LeftButton, Qt::ShiftModifier, Client(3, 3));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::ShiftModifier, Client(4, 4));
    EXPECT_EQ(rect.calls, (std::vector<std::string>{"down 3,3", "up 4,4"}));
}

TEST_F(DispatchViewTest, AutoscrollMovesTheToolByTheStepAtEachTimerTick) {
    CPelmarkView* view = OpenLayered(200, 150);
    Recorder rec;
    view->ToolHandlers().Set(tools::kPenTool, &rec);
    // The last image pixels the view shows.
    const int lastX = view->ClientRect().width() / 4 - 1, lastY = view->ClientRect().height() / 4 - 1;
    ASSERT_LT(lastX, 150);
    QTest::mousePress(view, Qt::LeftButton, {}, Client(lastX - 10, 20));
    QTest::mouseMove(view, Client(lastX - 5, 20));
    EXPECT_FALSE(view->AutoScrolling());
    // Two pixels beyond the right edge, one below the bottom.
    QTest::mouseMove(view, Client(lastX + 2, lastY + 1));
    EXPECT_TRUE(view->AutoScrolling());
    EXPECT_TRUE(view->HasTimer(CPelmarkView::kAutoScrollTimer));
    EXPECT_EQ(view->AutoScrollStepNow(), (ImagePoint{8, 4}));
    view->OnAutoScrollTimer();
    view->OnAutoScrollTimer();
    EXPECT_EQ(view->AutoScrollPoint(), (ImagePoint{lastX - 5 + 16, 28}));
    // Back inside: dispatched at once, autoscroll over.
    QTest::mouseMove(view, Client(50, 20));
    EXPECT_FALSE(view->AutoScrolling());
    EXPECT_FALSE(view->HasTimer(CPelmarkView::kAutoScrollTimer));
    QTest::mouseRelease(view, Qt::LeftButton, {}, Client(50, 20));
    auto Move = [](int x, int y) { return "move " + std::to_string(x) + "," + std::to_string(y); };
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"down " + std::to_string(lastX - 10) + ",20",
                                                   Move(lastX - 5, 20), Move(lastX + 3, 24), Move(lastX + 11, 28),
                                                   "move 50,20", "up 50,20"}));
    // Far outside, the point stops at the image's edge.
    QTest::mousePress(view, Qt::LeftButton, {}, Client(lastX, 20));
    QTest::mouseMove(view, Client(lastX + 60, 20));
    view->OnAutoScrollTimer();
    EXPECT_EQ(view->AutoScrollPoint(), (ImagePoint{199, 20}));
    QTest::mouseRelease(view, Qt::LeftButton, {}, Client(lastX + 60, 20));
    EXPECT_FALSE(view->AutoScrolling());
    EXPECT_EQ(view->AutoScrollPoint(), (ImagePoint{0, 0}));
}

TEST_F(DispatchViewTest, RightButtonPicksAndHoldsItsOwnDragBit) {
    CPelmarkView* view = OpenLayered(40, 30);
    QTest::mousePress(view, Qt::LeftButton, {}, Client(2, 2));
    QTest::mousePress(view, Qt::RightButton, {}, Client(7, 3));
    EXPECT_EQ(pick.calls, (std::vector<std::string>{"down 7,3"}));
    EXPECT_EQ(tools::ProgramDragState().bits, tools::kLeftToolDrag | tools::kRightDrag);
    QTest::mouseRelease(view, Qt::LeftButton, {}, Client(2, 2));
    EXPECT_TRUE(view->HoldsCapture());
    QTest::mouseRelease(view, Qt::RightButton, {}, Client(7, 3));
    EXPECT_FALSE(view->HoldsCapture());
    EXPECT_EQ(tools::ProgramDragState().bits, 0);
}

TEST_F(DispatchViewTest, RightClickInsideAFloatingSelectionOpensTheMenuAndStartsNoDrag) {
    CPelmarkView* view = OpenLayered(40, 30);
    CPelmarkDoc* doc = view->GetDocument();
    doc->m_nToolId = tools::kSelectTool;
    doc->m_hFloatImage = CreateDib8(4, 4, 0);
    doc->m_rcSelection = {4, 4, 8, 8};
    QTest::mousePress(view, Qt::RightButton, {}, Client(5, 5));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    QStringList texts;
    for (QAction* a : menu->actions()) texts << a->text();
    EXPECT_EQ(texts, (QStringList{"剪切(&T)", "复制(&C)", "粘贴(&P)", "清除", "", "取消选择(&F)", "反向选择"}));
    EXPECT_EQ(tools::ProgramDragState().bits, 0);
    EXPECT_FALSE(view->HoldsCapture());
    menu->close();
    EXPECT_TRUE(pick.calls.empty());
}

TEST_F(DispatchViewTest, EveryDrawingToolsButtonDownRunsTheWorkMemoryProbe) {
    CPelmarkView* view = OpenLayered(40, 30);
    Recorder circle;
    view->ToolHandlers().Set(tools::kCircleTool, &circle);
    platform::MessageBoxRecorder boxes;
    MemSetLimit(MemBytesInUse() + 1024);
    for (int tool : {tools::kPenTool, tools::kCircleTool}) {
        view->GetDocument()->m_nToolId = tool;
        QTest::mousePress(view, Qt::LeftButton, {}, Client(3, 3));
        QTest::mouseRelease(view, Qt::LeftButton, {}, Client(3, 3));
        EXPECT_FALSE(view->HoldsCapture()) << tool;
    }
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_TRUE(pen.calls.empty());
    EXPECT_TRUE(circle.calls.empty());
    ASSERT_EQ(boxes.Requests().size(), 2u);
    EXPECT_EQ(boxes.Requests()[0].text, "工作内存不足");
    EXPECT_EQ(Layer(*view->GetDocument(), 1, 3, 3), 0);
}

TEST_F(DispatchViewTest, SpaceHandsTheDragToTheHandToolExceptWithTheTextTool) {
    CPelmarkView* view = OpenLayered(40, 30);
    Recorder hand;
    view->ToolHandlers().Set(tools::kHandTool, &hand);
    QTest::keyPress(view, Qt::Key_Space);
    EXPECT_EQ(tools::ProgramDragState().spaceKey, 1);
    QTest::mousePress(view, Qt::LeftButton, {}, Client(3, 3));
    QTest::mouseMove(view, Client(6, 3));
    QTest::mouseRelease(view, Qt::LeftButton, {}, Client(6, 3));
    QTest::keyRelease(view, Qt::Key_Space);
    EXPECT_EQ(tools::ProgramDragState().spaceKey, 0);
    EXPECT_EQ(hand.calls, (std::vector<std::string>{"down 3,3", "move 6,3", "up 6,3"}));
    EXPECT_TRUE(pen.calls.empty());

    view->GetDocument()->m_nToolId = tools::kTextTool;
    QTest::keyPress(view, Qt::Key_Space);
    EXPECT_EQ(tools::ProgramDragState().spaceKey, 0);
    QTest::keyRelease(view, Qt::Key_Space);
}

TEST_F(DispatchViewTest, TheTextToolRunsOneTimerTickAfterItsClick) {
    CPelmarkView* view = OpenLayered(40, 30);
    Recorder text;
    view->ToolHandlers().Set(tools::kTextTool, &text);
    view->GetDocument()->m_nToolId = tools::kTextTool;
    QTest::mousePress(view, Qt::LeftButton, {}, Client(4, 6));
    QTest::mouseRelease(view, Qt::LeftButton, {}, Client(4, 6));
    EXPECT_TRUE(view->TextToolPending());
    EXPECT_TRUE(view->HasTimer(CPelmarkView::kTextToolTimer));
    EXPECT_TRUE(text.calls.empty());
    view->OnTextToolTimer();
    EXPECT_FALSE(view->TextToolPending());
    EXPECT_FALSE(view->HasTimer(CPelmarkView::kTextToolTimer));
    EXPECT_EQ(text.calls, (std::vector<std::string>{"down 4,6"}));
}

TEST_F(DispatchViewTest, CtrlShiftShowsOnlyTheCurrentLayerAndPagesStepThroughLayers) {
    CPelmarkView* view = OpenLayered(40, 30);
    CPelmarkDoc* doc = view->GetDocument();
    QTest::mousePress(view, Qt::LeftButton, {}, Client(1, 1));
    QTest::mouseRelease(view, Qt::LeftButton, {}, Client(1, 1));
    QTest::keyPress(view, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyPress(view, Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(doc->m_bLayerStep, 1);
    // Only layer 1 shows: the stroke's pixel, 0 elsewhere.
    EXPECT_EQ(Composite(*doc, 1, 1), 200);
    EXPECT_EQ(Composite(*doc, 5, 5), 0);
    QTest::keyPress(view, Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(doc->m_nEditLayer, 0);
    EXPECT_EQ(Composite(*doc, 1, 1), PatternIndex(1, 1));
    QTest::keyRelease(view, Qt::Key_Shift, Qt::ControlModifier);
    EXPECT_EQ(doc->m_bLayerStep, 0);
    EXPECT_EQ(Composite(*doc, 1, 1), 200);
    EXPECT_EQ(Composite(*doc, 5, 5), PatternIndex(5, 5));
}

TEST_F(DispatchViewTest, ToneCommandsSetTheLevelAndCheckIt) {
    CPelmarkView* view = OpenLayered(40, 30);
    EXPECT_EQ(view->ToneLevel(), 15);
    ASSERT_TRUE(frame->SendCommand(643));
    EXPECT_EQ(view->ToneLevel(), 7);
    EXPECT_EQ(view->TonePattern(), 8);
    for (framework::CommandId id : {643u, 644u}) {
        framework::CmdUI ui(id);
        framework::CommandRequest request{framework::CommandRequest::Update, id};
        request.ui = &ui;
        view->RouteCommand(request);
        EXPECT_EQ(ui.IsChecked(), std::optional<bool>(id == 643)) << id;
    }
    // At 50% a run leaves a checkerboard anchored at even image coordinates.
    QTest::mousePress(view, Qt::LeftButton, {}, Client(3, 4));
    QTest::mouseRelease(view, Qt::LeftButton, {}, Client(9, 4));
    for (int x = 3; x <= 9; ++x) EXPECT_EQ(Layer(*view->GetDocument(), 1, x, 4), x % 2 == 0 ? 200 : 0) << x;
}

}  // namespace
}  // namespace viewtest
