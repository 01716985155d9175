// The canvas view's colour pick and hand tool offscreen, through the mouse
// and key dispatch: which tools pick, the locked palette rows, points
// outside the image, the image following a drag in whole pixels and
// stopping at its edges, and Space with the pen.
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include "document/layer_factory.h"
#include "tools/drag_state.h"
#include "tools/pixel_access.h"
#include "tools/tool_dispatch.h"
#include "view/view_geometry.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

class FillPickHandViewTest : public ViewTest {
public:
    // A document of one layer holding the fixture's pattern, at `zoom` in
    // a view of w x h.
    CPelmarkView* Open(int width, int height, int zoom, int w, int h) {
        CPelmarkView* view = OpenImage(width, height);
        CPelmarkDoc* doc = view->GetDocument();
        EXPECT_TRUE(document::CreateLayer(*doc, 0, 1));
        EXPECT_TRUE(document::CopyImageToLayer(doc->m_hImage, doc->m_hLayers[0]));
        view->SetZoom(view::ZoomCommandOf(zoom));
        SetViewSize(view, w, h);
        view->ScrollTo(0, 0);
        zoom_ = zoom;
        return view;
    }
    // Client point of the top-left corner of image pixel (x, y) plus one,
    // the view scrolled to `scroll`.
    QPoint Client(int x, int y, QPoint scroll = {}) const {
        return QPoint(x * zoom_ + 1, y * zoom_ + 1) - scroll;
    }
    void TearDown() override {
        tools::ProgramDragState() = {};
        ViewTest::TearDown();
    }
    int zoom_ = 1;
};

TEST_F(FillPickHandViewTest, RightButtonPicksWithTheDrawingToolsOnly) {
    CPelmarkView* view = Open(40, 30, 4, 400, 300);
    CPelmarkDoc* doc = view->GetDocument();
    const int under = Composite(*doc, 5, 3);
    ASSERT_NE(under, 0);
    struct Case {
        int tool;
        bool picks;
    };
    const Case cases[] = {{tools::kHandTool, false},          {tools::kPenTool, true},
                          {tools::kLineTool, true},           {tools::kFillTool, true},
                          {tools::kRectOutlineTool, true},    {tools::kEllipseOutlineTool, true},
                          {tools::kZoomTool, false},          {tools::kFilledRectTool, true},
                          {tools::kFilledEllipseTool, true},  {tools::kCircleTool, false},
                          {tools::kFilledCircleTool, false}};
    for (const Case& c : cases) {
        doc->m_nToolId = c.tool;
        doc->m_nColor = 0;
        view->SetZoom(view::ZoomCommandOf(4));
        view->ScrollTo(0, 0);
        QTest::mouseClick(view, Qt::RightButton, {}, Client(5, 3));
        EXPECT_EQ(doc->m_nColor, c.picks ? under : 0) << c.tool;
    }
}

TEST_F(FillPickHandViewTest, SixteenColourLockAndPointsOutsideTheImage) {
    CPelmarkView* view = Open(40, 30, 4, 400, 300);
    CPelmarkDoc* doc = view->GetDocument();
    doc->m_nToolId = tools::kPenTool;
    doc->m_wPaletteLock = 0xFFFE;  // rows 1..15 locked: entries 16 and up
    for (int index : {0, 7, 15, 16, 31, 200, 255}) {
        {
            MemLockGuard layer(doc->m_hLayers[0]);
            layer.get()[LAYER_HEADER_SIZE + size_t(29 - 3) * 40 + 5] = uint8_t(index);
        }
        tools::RecomposeDocument(*doc);
        doc->m_nColor = 99;
        QTest::mouseClick(view, Qt::RightButton, {}, Client(5, 3));
        EXPECT_EQ(doc->m_nColor, index < 16 ? index : 99) << index;
    }
    // The view is larger than the image: a click beside it picks nothing.
    doc->m_wPaletteLock = 0;
    doc->m_nColor = 99;
    QTest::mouseClick(view, Qt::RightButton, {}, Client(45, 10));
    QTest::mouseClick(view, Qt::RightButton, {}, Client(10, 35));
    EXPECT_EQ(doc->m_nColor, 99);
}

TEST_F(FillPickHandViewTest, HandDragFollowsThePointerInWholePixelsAndStopsAtTheEdges) {
    CPelmarkView* view = Open(300, 200, 2, 240, 180);
    CPelmarkDoc* doc = view->GetDocument();
    doc->m_nToolId = tools::kHandTool;
    QSignalSpy viewport(view, &CPelmarkView::viewportChanged);
    const QRect client = view->ClientRect();
    const QPoint max(600 - client.width(), 400 - client.height());
    ASSERT_GT(max.x(), 30);
    ASSERT_GT(max.y(), 30);

    view->ScrollTo(30, 30);
    const QPoint s = view->ScrollPosition();
    QTest::mousePress(view, Qt::LeftButton, {}, Client(40, 30, s));
    // Seven device pixels left and five up: (81 + 30 - 7) / 2 = 52 is
    // three image pixels left of 55, (61 + 30 - 5) / 2 = 43 two above 45.
    QTest::mouseMove(view, Client(40, 30, s) - QPoint(7, 5));
    EXPECT_EQ(view->ScrollPosition(), s + QPoint(3 * 2, 2 * 2));
    EXPECT_FALSE(viewport.isEmpty());
    // Far to the right and down: the image stops at its top-left corner.
    QTest::mouseMove(view, Client(40, 30, s) + QPoint(150, 120));
    EXPECT_EQ(view->ScrollPosition(), QPoint(0, 0));
    QTest::mouseRelease(view, Qt::LeftButton, {}, Client(40, 30, s) + QPoint(150, 120));
    EXPECT_EQ(view->ScrollPosition(), QPoint(0, 0));

    // And at its bottom-right corner the other way.
    view->ScrollTo(max.x() - 6, max.y() - 6);
    const QPoint near = view->ScrollPosition();
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(client.width() - 5, client.height() - 5));
    QTest::mouseMove(view, QPoint(5, 5));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(near, QPoint(max.x() - 6, max.y() - 6));
    EXPECT_EQ(view->ScrollPosition(), max);
}

TEST_F(FillPickHandViewTest, AWindowLargerThanTheImageDoesNotScroll) {
    CPelmarkView* view = Open(40, 30, 2, 400, 300);
    view->GetDocument()->m_nToolId = tools::kHandTool;
    QTest::mousePress(view, Qt::LeftButton, {}, Client(30, 20));
    QTest::mouseMove(view, Client(5, 5));
    QTest::mouseRelease(view, Qt::LeftButton, {}, Client(5, 5));
    EXPECT_EQ(view->ScrollPosition(), QPoint(0, 0));
}

TEST_F(FillPickHandViewTest, SpaceDragsTheImageWithThePenAndDrawsNothing) {
    CPelmarkView* view = Open(300, 200, 2, 240, 180);
    CPelmarkDoc* doc = view->GetDocument();
    doc->m_nToolId = tools::kPenTool;
    doc->m_nColor = 250;
    view->ScrollTo(60, 60);
    const QPoint s = view->ScrollPosition();
    QTest::keyPress(view, Qt::Key_Space);
    QTest::mousePress(view, Qt::LeftButton, {}, Client(50, 40, s));
    QTest::mouseMove(view, Client(50, 40, s) + QPoint(9, 6));
    QTest::mouseRelease(view, Qt::LeftButton, {}, Client(50, 40, s) + QPoint(9, 6));
    QTest::keyRelease(view, Qt::Key_Space);
    // (101 + 60) / 2 = 80 to (110 + 60) / 2 = 85, (81 + 60) / 2 = 70 to
    // (87 + 60) / 2 = 73: five and three image pixels at zoom 2.
    EXPECT_EQ(view->ScrollPosition(), s - QPoint(10, 6));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) ASSERT_EQ(Layer(*doc, 0, x, y), PatternIndex(x, y)) << x << "," << y;
    EXPECT_FALSE(doc->CanUndo());
}

}  // namespace
}  // namespace viewtest
