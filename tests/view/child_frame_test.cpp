// The child frame around a canvas view: its rulers, its size for a new
// image, its title and icon, and its count on its document.
#include <QApplication>
#include <QMdiArea>
#include <QStyle>
#include <QStyleOptionTitleBar>

#include "framework/command_ids.h"
#include "framework/resource_pictures.h"
#include "view/ruler_ctrl.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

// Counts the paints a widget gets.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

class ChildFrameTest : public ViewTest {
protected:
    static CChildFrame* FrameOf(CPelmarkView* view) { return dynamic_cast<CChildFrame*>(view->GetParentFrame()); }
    static CRulerCtrl* Horz(CPelmarkView* view) { return FrameOf(view)->Ruler(CChildFrame::kHorzRulerBarId); }
    static CRulerCtrl* Vert(CPelmarkView* view) { return FrameOf(view)->Ruler(CChildFrame::kVertRulerBarId); }
    static QPoint ScreenPlace(QWidget* widget) { return widget->mapToGlobal(QPoint(0, 0)); }

    CPelmarkView* Open(int width, int height) {
        CPelmarkView* view = OpenImage(width, height);
        QApplication::processEvents();  // the fit pending at the first paint
        return view;
    }
};

TEST_F(ChildFrameTest, RulersLineUpWithTheViewAndSpanIt) {
    CPelmarkView* view = Open(200, 150);
    CRulerCtrl* h = Horz(view);
    CRulerCtrl* v = Vert(view);
    ASSERT_TRUE(h && v);
    EXPECT_EQ(h->Orientation(), view::RulerOrientation::Horizontal);
    EXPECT_EQ(v->Orientation(), view::RulerOrientation::Vertical);
    EXPECT_EQ(ScreenPlace(h).x(), ScreenPlace(view).x());
    EXPECT_EQ(ScreenPlace(h).y() + h->height(), ScreenPlace(view).y());
    EXPECT_EQ(ScreenPlace(v).y(), ScreenPlace(view).y());
    EXPECT_EQ(ScreenPlace(v).x() + v->width(), ScreenPlace(view).x());
    EXPECT_EQ(h->width(), view->width());
    EXPECT_EQ(v->height(), view->height());
    EXPECT_EQ(FrameOf(view)->RulerStrips(), QSize(v->width(), h->height()));
    EXPECT_GT(h->height(), 10);
    EXPECT_GT(v->width(), 10);
}

TEST_F(ChildFrameTest, AnOpenedImageGetsAFrameOfItsSizeWithTheProgramIcon) {
    for (bool rulers : {true, false}) {
        if (frame->RulerFlag() != rulers) frame->SendCommand(CMainFrame::kRulerId);
        CPelmarkView* view = Open(200, 150);
        EXPECT_EQ(view->ClientRect().size(), QSize(200, 150)) << rulers;
        EXPECT_FALSE(view->HasScrollBar(true) || view->HasScrollBar(false)) << rulers;
        CChildFrame* child = FrameOf(view);
        EXPECT_EQ(child->Ruler(CChildFrame::kHorzRulerBarId) != nullptr, rulers);
        const QImage icon = child->windowIcon().pixmap(32).toImage();
        EXPECT_FALSE(icon.isNull());
        EXPECT_EQ(icon, pictures::ProgramIcon().pixmap(32).toImage());
        if (!rulers) {
            // The view fills the frame.
            EXPECT_EQ(child->RulerStrips(), QSize(0, 0));
            EXPECT_EQ(view->size(), child->contentsRect().size());
        }
    }
}

TEST_F(ChildFrameTest, TheTitleOfASmallImageIsShownWhole) {
    CPelmarkView* view = Open(16, 16);
    CChildFrame* child = FrameOf(view);
    view->GetDocument()->SetPathName(dir.filePath("checker_sixteen_by_sixteen.gif"), false);
    QApplication::processEvents();
    const QString title = child->windowTitle();
    EXPECT_EQ(title, "checker_sixteen_by_sixteen.gif");
    ASSERT_FALSE(title.isEmpty());
    // What the title bar's label leaves of the title at the frame's width.
    QStyleOptionTitleBar option;
    option.initFrom(child);
    option.subControls = QStyle::SC_All;
    option.titleBarFlags = child->windowFlags();
    option.text = title;
    option.icon = child->windowIcon();
    option.fontMetrics = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar"));
    option.rect = QRect(0, 0, child->width(), child->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, child));
    const int label = child->style()->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarLabel, child).width();
    EXPECT_EQ(option.fontMetrics.elidedText(title, Qt::ElideRight, label), title);
    // The style in use draws the title in bold, 14 pixels narrower than the
    // label.
    QFont bold = QApplication::font("QMdiSubWindowTitleBar");
    bold.setBold(true);
    EXPECT_EQ(QFontMetrics(bold).elidedText(title, Qt::ElideRight, label - 14), title);
    // The image keeps its size; the rest is grey.
    EXPECT_EQ(view->GetDocument()->m_nWidth, 16);
    EXPECT_GT(view->ClientRect().width(), 16);
    EXPECT_LE(child->width(), frame->MdiArea()->viewport()->width());
}

TEST_F(ChildFrameTest, AGrabbedRulerShowsItsTicksInBlackAndWhiteElsewhere) {
    CPelmarkView* view = Open(200, 150);
    view->ExecuteCommand(view::ZoomCommandOf(4));
    QApplication::processEvents();
    for (CRulerCtrl* ruler : {Horz(view), Vert(view)}) {
        const bool horizontal = ruler->Orientation() == view::RulerOrientation::Horizontal;
        ASSERT_EQ(ruler->Zoom(), 4);
        const QImage image = ruler->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(image.size(), ruler->size());
        const int length = horizontal ? image.width() : image.height();
        const int across = horizontal ? image.height() : image.width();
        auto at = [&](int d, int a) { return image.pixel(horizontal ? d : a, horizontal ? a : d); };
        const view::RulerMarks marks = ruler->Marks();
        ASSERT_FALSE(marks.ticks.empty());
        std::vector<bool> marked(size_t(length), false);
        for (const view::RulerTick& tick : marks.ticks) {
            marked[size_t(tick.d)] = true;
            for (int a = tick.s; a < across; ++a)
                ASSERT_EQ(at(tick.d, a), qRgb(0, 0, 0)) << horizontal << " d " << tick.d << " at " << a;
        }
        const QFontMetrics metrics(ruler->font());
        for (const view::RulerLabel& label : marks.labels) {
            const int extent = horizontal ? metrics.horizontalAdvance(QString::fromStdString(label.text)) + 2
                                          : int(label.text.size()) * view::kRulerDigitStep + 2;
            for (int d = label.d; d < std::min(length, label.d + extent); ++d) marked[size_t(d)] = true;
        }
        int plain = 0;
        for (int d = 0; d < length; ++d) {
            if (marked[size_t(d)]) continue;
            ++plain;
            for (int a = 0; a < across; ++a) ASSERT_EQ(at(d, a), qRgb(255, 255, 255)) << horizontal << " d " << d;
        }
        EXPECT_GT(plain, 0);
    }
}

TEST_F(ChildFrameTest, ZoomRepaintsBothRulersAndAScrollOnlyItsOwn) {
    WriteSetting("Settings", "WindowSizeCheckBox", "1");
    CPelmarkView* view = Open(400, 300);
    SetViewSize(view, 200, 150);
    PaintCounter h(Horz(view)), v(Vert(view));
    view->ExecuteCommand(view::ZoomCommandOf(2));
    EXPECT_GE(h.paints, 1);
    EXPECT_GE(v.paints, 1);
    EXPECT_EQ(Horz(view)->Zoom(), 2);
    EXPECT_EQ(Vert(view)->Zoom(), 2);
    QApplication::processEvents();
    h.paints = v.paints = 0;
    view->ScrollTo(30, view->ScrollPosition().y());
    EXPECT_EQ(h.paints, 1);
    EXPECT_EQ(v.paints, 0);
    EXPECT_EQ(Horz(view)->ScrollPosition(), 30);
    h.paints = v.paints = 0;
    view->ScrollTo(30, view->ScrollPosition().y() + 10);
    EXPECT_EQ(h.paints, 0);
    EXPECT_EQ(v.paints, 1);
}

TEST_F(ChildFrameTest, TheRulerCommandKeepsTheCanvasInPlace) {
    CPelmarkView* view = Open(120, 90);
    CChildFrame* child = FrameOf(view);
    child->move(60, 50);
    QApplication::processEvents();
    const QPoint place = ScreenPlace(view);
    const QSize size = view->size();
    frame->SendCommand(CMainFrame::kRulerId);  // off
    QApplication::processEvents();
    EXPECT_FALSE(frame->RulerFlag());
    EXPECT_EQ(child->Ruler(CChildFrame::kHorzRulerBarId), nullptr);
    EXPECT_EQ(ScreenPlace(view), place);
    EXPECT_EQ(view->size(), size);
    frame->SendCommand(CMainFrame::kRulerId);  // on again
    QApplication::processEvents();
    ASSERT_NE(child->Ruler(CChildFrame::kVertRulerBarId), nullptr);
    EXPECT_EQ(ScreenPlace(view), place);
    EXPECT_EQ(view->size(), size);
    EXPECT_EQ(Horz(view)->Zoom(), view->Zoom());
}

TEST_F(ChildFrameTest, EachDocumentCountsItsOwnFrames) {
    CPelmarkView* first = Open(40, 30);
    CPelmarkView* second = Open(50, 40);
    CPelmarkDoc* a = first->GetDocument();
    CPelmarkDoc* b = second->GetDocument();
    EXPECT_EQ(a->m_nChildFrames, 1);
    EXPECT_EQ(b->m_nChildFrames, 1);
    // 新建窗口 on the active (second) image.
    ASSERT_EQ(frame->GetActiveDocument(), b);
    frame->SendCommand(framework::ID_WINDOW_NEW);
    EXPECT_EQ(a->m_nChildFrames, 1);
    EXPECT_EQ(b->m_nChildFrames, 2);
    std::vector<framework::ChildFrame*> frames = b->GetFrames();
    ASSERT_EQ(frames.size(), 2u);
    // Closing a window of the second image while the first one is active.
    frame->MDIActivate(first->GetParentFrame());
    frames[0]->close();
    EXPECT_EQ(b->m_nChildFrames, 1);
    EXPECT_EQ(a->m_nChildFrames, 1);
    frame->SendCommand(framework::ID_WINDOW_NEW);  // on the first image now
    EXPECT_EQ(a->m_nChildFrames, 2);
    first->GetParentFrame()->close();
    EXPECT_EQ(a->m_nChildFrames, 1);
    EXPECT_EQ(b->m_nChildFrames, 1);
}

}  // namespace
}  // namespace viewtest
