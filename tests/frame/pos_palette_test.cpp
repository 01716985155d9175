// The position palette: its size for an image, the view rectangle from the
// view's state, dragging it to scroll the view, its painting and the values
// each document keeps.
#include <QMdiArea>
#include <QScreen>
#include <QTest>

#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "frame_fixture.h"
#include "framework/child_frame.h"
#include "imaging/dib.h"
#include "palettes/pos_palette_dlg.h"
#include "palettes/pos_palette_geometry.h"
#include "plugin_api/plugin_messages.h"
#include "view/child_frame.h"
#include "view/pelmark_view.h"

inline bool operator==(const DibRect& a, const DibRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const DibRect& r) {
    return out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace frametest {
namespace {

TEST(PosPaletteGeometry, WindowSizeForAnImage) {
    struct Case {
        int width, height;
        pospal::Size size;
    };
    for (const Case& c : {Case{100, 50, {200, 117}}, Case{50, 100, {100, 234}}, Case{2048, 16, {200, 117}},
                          Case{16, 16, {200, 234}}, Case{0, 0, {200, 234}}})
        EXPECT_EQ(pospal::FitWindowSize(c.width, c.height), c.size) << c.width << " x " << c.height;
}

TEST(PosPaletteGeometry, ViewRectangleFromTheViewState) {
    struct Case {
        const char* what;
        pospal::ViewPlace place;
        int x, y;
        bool fromDocument;
        DibRect rect;
    };
    // A thumbnail of 184 x 186 (the 200 x 234 window).
    const Case cases[] = {
        {"zoom 1 at the origin", {200, 100, 100, 50, 0, 0, 1, 1}, 0, 0, true, {0, 0, 92, 93}},
        {"zoom 4 scrolled", {400, 200, 100, 50, 400, 200, 4, 4}, 0, 0, true, {46, 46, 92, 92}},
        {"zoom 4 with both rulers", {420, 220, 100, 50, 0, 0, 4, 4}, 0, 0, true, {0, 0, 43, 42}},
        {"view larger than the canvas", {100, 50, 300, 200, 0, 0, 1, 1}, 0, 0, true, {0, 0, 184, 186}},
        {"larger and dragged", {100, 50, 300, 200, 0, 0, 1, 1}, 30, 40, false, {0, 0, 184, 186}},
        {"past the right edge", {400, 200, 100, 50, 350, 0, 1, 1}, 0, 0, true, {138, 0, 184, 46}},
        {"dragged off two edges", {400, 200, 100, 50, 400, 200, 4, 4}, -10, 300, false, {0, 140, 46, 186}},
        {"nothing to divide by", {0, 0, 0, 0, 5, 5, 0, 0}, 0, 0, true, {184, 186, 184, 186}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pospal::ViewRectangle(184, 186, c.place, c.x, c.y, c.fromDocument), c.rect) << c.what;
    EXPECT_EQ(pospal::ViewRectangle(0, 0, cases[0].place, 0, 0, true), (DibRect{0, 0, 0, 0}));
}

class PosPaletteTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(Start());
        palette = Frame()->PosPalette();
        ASSERT_TRUE(palette);
        palette->show();
    }
    CPelmarkDoc* ImageDocument(int width, int height) {
        CPelmarkDoc* doc = NewDocument();
        if (!doc) return nullptr;
        doc->m_hImage = CreateDib8(width, height, 0);
        EXPECT_TRUE(doc->InitDib());
        EXPECT_TRUE(document::CreateLayer(*doc, 0, 1));
        // As an open does once the image is there.
        Frame()->SetPosPaletteDoc(doc);
        return doc;
    }
    static CPelmarkView* ViewOf(CPelmarkDoc* doc) { return dynamic_cast<CPelmarkView*>(doc->GetViews().front()); }
    void Activate(CPelmarkDoc* doc) {
        Frame()->MDIActivate(ViewOf(doc)->GetParentFrame());
        QCoreApplication::processEvents();
    }
    QWidget* Thumbnail() const { return palette->GetDlgItem(CPosPaletteDlg::kThumbnailId); }
    QPoint Corner() const { return {palette->ViewRect().left, palette->ViewRect().top}; }
    // A 1024 x 1024 image at zoom 4 in a view of about 400 x 300.
    CPelmarkDoc* LargeDocument() {
        CPelmarkDoc* doc = ImageDocument(1024, 1024);
        if (!doc) return nullptr;
        CPelmarkView* view = ViewOf(doc);
        view->GetParentFrame()->showNormal();
        view->GetParentFrame()->resize(420, 340);
        view->SetZoom(34004);
        QCoreApplication::processEvents();
        return doc;
    }

    CPosPaletteDlg* palette = nullptr;
};

TEST_F(PosPaletteTest, FitToImageSizesTheWindowAndItsThumbnail) {
    palette->FitToImage(100, 50, false);
    EXPECT_EQ(palette->size(), QSize(200, 117));
    EXPECT_EQ(Thumbnail()->geometry(), QRect(4, 16, 184, 69));
    EXPECT_EQ(palette->minimumSize(), palette->maximumSize());
    palette->FitToImage(50, 100, false);
    EXPECT_EQ(palette->size(), QSize(100, 234));
    palette->FitToImage(2048, 16, false);
    EXPECT_EQ(palette->size(), QSize(200, 117));

    // The same size again does nothing; with force the window comes back
    // onto the screen.
    const QRect screen = palette->screen()->geometry();
    palette->move(screen.width() + 500, screen.height() + 500);
    palette->FitToImage(2048, 16, false);
    EXPECT_EQ(palette->pos(), QPoint(screen.width() + 500, screen.height() + 500));
    palette->FitToImage(2048, 16, true);
    EXPECT_EQ(palette->pos(), QPoint(screen.width() - 200, screen.height() - 117));
    EXPECT_EQ(palette->size(), QSize(200, 117));
}

TEST_F(PosPaletteTest, WithoutADocumentTheCanvasIsOnePixel) {
    Frame()->SetPosPaletteDoc(nullptr);
    EXPECT_EQ(palette->CanvasSize(), (pospal::Size{1, 1}));
    EXPECT_EQ(palette->ViewRect(), (DibRect{0, 0, 0, 0}));
    EXPECT_EQ(palette->size(), QSize(200, 234));
    // A drag over an empty palette scrolls nothing and divides by nothing.
    QTest::mousePress(Thumbnail(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(Thumbnail(), QPoint(30, 30));
    QTest::mouseRelease(Thumbnail(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(palette->ViewRect(), (DibRect{0, 0, 0, 0}));
    EXPECT_EQ(palette->SendWindowMessage(WM_KEEP_POS_CAPTION, 1, 0), 0);
    EXPECT_EQ(palette->SendWindowMessage(WM_KEEP_LAYER_CAPTION, 1, 0), 0);
}

TEST_F(PosPaletteTest, TheRectangleFollowsTheViewAndADragScrollsIt) {
    CPelmarkDoc* doc = LargeDocument();
    ASSERT_TRUE(doc);
    CPelmarkView* view = ViewOf(doc);
    ASSERT_EQ(view->Zoom(), 4);
    EXPECT_EQ(palette->size(), QSize(200, 234));
    auto* child = dynamic_cast<CChildFrame*>(view->GetParentFrame());
    ASSERT_TRUE(child);
    // The rulers are on by default; they are strips beside the view, so the
    // canvas is the image alone.
    ASSERT_GT(child->RulerStrips().height(), 0);
    const int rulers = 0;
    EXPECT_EQ(palette->CanvasSize(), (pospal::Size{4096 + rulers, 4096 + rulers}));
    const DibRect thumb = palette->ThumbnailRect();
    ASSERT_EQ(thumb.right, 184);
    const DibRect first = palette->ViewRect();
    EXPECT_EQ(first.left, 0);
    EXPECT_EQ(first.right, 184 * view->width() / (4096 + rulers));

    // The scroll bars move the rectangle.
    Frame()->ScrollActiveViewTo(2000, 1000);
    ASSERT_EQ(view->ScrollPosition(), QPoint(2000, 1000));
    EXPECT_EQ(Corner(), QPoint(184 * 2000 / (4096 + rulers), 186 * 1000 / (4096 + rulers)));

    // A drag of the rectangle, then the release scrolls the view there.
    const QPoint grab = Corner() + QPoint(3, 3);
    QTest::mousePress(Thumbnail(), Qt::LeftButton, {}, grab);
    EXPECT_TRUE(CPosPaletteDlg::Dragging());
    QTest::mouseMove(Thumbnail(), grab + QPoint(20, 30));
    const QPoint dropped = Corner();
    EXPECT_EQ(dropped, grab + QPoint(20, 30) - QPoint(3, 3));
    EXPECT_EQ(view->ScrollPosition(), QPoint(2000, 1000));
    QTest::mouseRelease(Thumbnail(), Qt::LeftButton, {}, grab + QPoint(20, 30));
    EXPECT_FALSE(CPosPaletteDlg::Dragging());
    EXPECT_EQ(view->ScrollPosition(),
              QPoint((4096 + rulers) * dropped.x() / 184, (4096 + rulers) * dropped.y() / 186));

    // Later scrolling moves it again; a release without a drag scrolls to
    // where the rectangle stands.
    Frame()->ScrollActiveViewTo(100, 3000);
    const QPoint place = Corner();
    EXPECT_EQ(place, QPoint(184 * 100 / (4096 + rulers), 186 * 3000 / (4096 + rulers)));
    QTest::mousePress(Thumbnail(), Qt::LeftButton, {}, QPoint(180, 5));
    EXPECT_FALSE(CPosPaletteDlg::Dragging());
    QTest::mouseMove(Thumbnail(), QPoint(170, 10));
    QTest::mouseRelease(Thumbnail(), Qt::LeftButton, {}, QPoint(170, 10));
    EXPECT_EQ(Corner(), QPoint((4096 + rulers) * place.x() / 184 * 184 / (4096 + rulers),
                               (4096 + rulers) * place.y() / 186 * 186 / (4096 + rulers)));
    EXPECT_EQ(view->ScrollPosition(),
              QPoint((4096 + rulers) * place.x() / 184, (4096 + rulers) * place.y() / 186));
}

TEST_F(PosPaletteTest, AViewShowingTheWholeCanvasCoversTheThumbnail) {
    CPelmarkDoc* doc = ImageDocument(40, 30);
    ASSERT_TRUE(doc);
    ViewOf(doc)->GetParentFrame()->showNormal();
    ViewOf(doc)->GetParentFrame()->resize(300, 300);
    Frame()->SetPosPaletteDoc(doc);
    const DibRect whole{0, 0, palette->ThumbnailRect().right, palette->ThumbnailRect().bottom};
    EXPECT_EQ(palette->ViewRect(), whole);
    QTest::mousePress(Thumbnail(), Qt::LeftButton, {}, QPoint(40, 40));
    QTest::mouseMove(Thumbnail(), QPoint(60, 70));
    EXPECT_EQ(palette->ViewRect(), whole);
    QTest::mouseRelease(Thumbnail(), Qt::LeftButton, {}, QPoint(60, 70));
    EXPECT_EQ(ViewOf(doc)->ScrollPosition(), QPoint(0, 0));
}

// With the rulers on (beside the view), a view just larger than its image
// shows all of it: the rectangle covers the whole thumbnail.
TEST_F(PosPaletteTest, AViewJustLargerThanItsImageCoversTheThumbnailWithTheRulersOn) {
    CPelmarkDoc* doc = ImageDocument(128, 48);
    ASSERT_TRUE(doc);
    CPelmarkView* view = ViewOf(doc);
    auto* child = dynamic_cast<CChildFrame*>(view->GetParentFrame());
    ASSERT_TRUE(child);
    ASSERT_GT(child->RulerStrips().width(), 0);
    child->showNormal();
    QCoreApplication::processEvents();  // the window's first fitting to its image
    child->resize(child->size() + QSize(132, 52) - view->size());
    QCoreApplication::processEvents();
    ASSERT_EQ(view->size(), QSize(132, 52));
    Frame()->SetPosPaletteDoc(doc);
    EXPECT_EQ(palette->ViewRect(),
              (DibRect{0, 0, palette->ThumbnailRect().right, palette->ThumbnailRect().bottom}));
}

TEST_F(PosPaletteTest, PaintsFramesAndTheRedRectangle) {
    CPelmarkDoc* doc = LargeDocument();
    ASSERT_TRUE(doc);
    Frame()->ScrollActiveViewTo(1500, 1500);
    const DibRect r = palette->ViewRect();
    ASSERT_GT(r.left, 3);
    ASSERT_GT(r.right - r.left, 3);
    const QImage shot = Thumbnail()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    auto at = [&shot](int x, int y) { return shot.pixel(x, y) & 0xffffffu; };
    const int w = palette->ThumbnailRect().right, h = palette->ThumbnailRect().bottom;
    ASSERT_EQ(shot.size(), QSize(w, h));
    EXPECT_EQ(at(0, 0), 0xffffffu);
    EXPECT_EQ(at(w - 1, h - 1), 0xffffffu);
    EXPECT_EQ(at(1, 1), 0u);
    EXPECT_EQ(at(w - 2, h / 2), 0u);
    EXPECT_EQ(at(2, 2), 0xffffffu);
    EXPECT_EQ(at(r.left, r.top), 0xff0000u);
    EXPECT_EQ(at(r.right - 1, r.bottom - 1), 0xff0000u);
    EXPECT_EQ(at(r.left + 1, r.top + 1), 0xffffffu);
    EXPECT_EQ(at(r.right, r.top), 0xffffffu);
    EXPECT_EQ(at(r.left - 1, r.top), 0xffffffu);
}

TEST_F(PosPaletteTest, EachDocumentKeepsItsRectangleAcrossSwitches) {
    CPelmarkDoc* first = LargeDocument();
    ASSERT_TRUE(first);
    Frame()->ScrollActiveViewTo(2400, 800);
    const DibRect firstRect = palette->ViewRect();
    CPelmarkDoc* second = ImageDocument(64, 32);
    ASSERT_TRUE(second);
    Activate(second);
    const DibRect secondRect = palette->ViewRect();
    EXPECT_EQ(palette->GetDocument(), second);
    EXPECT_EQ(palette->size(), QSize(200, 117));
    EXPECT_FALSE(secondRect == firstRect);
    Activate(first);
    EXPECT_EQ(palette->GetDocument(), first);
    EXPECT_EQ(palette->ViewRect(), firstRect);
    EXPECT_EQ(palette->size(), QSize(200, 234));
    EXPECT_TRUE(first->m_PosPaletteState.kept);
    Activate(second);
    EXPECT_EQ(palette->ViewRect(), secondRect);

    // A document that goes leaves the palette empty.
    second->OnCloseDocument();
    Activate(first);
    first->OnCloseDocument();
    EXPECT_EQ(palette->GetDocument(), nullptr);
    EXPECT_EQ(palette->CanvasSize(), (pospal::Size{1, 1}));
}

}  // namespace
}  // namespace frametest
