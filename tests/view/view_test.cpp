// The canvas view offscreen: zoom commands and their states, centring, the
// composite painted exactly, grids, outlines, the title and the wheel.
#include <QApplication>
#include <QWheelEvent>

#include "frame/main_frame.h"
#include "framework/child_frame.h"
#include "framework/cmd_ui.h"
#include "view/view_geometry.h"
#include "view/view_globals.h"
#include "document/selection_mask_doc.h"
#include "imaging/dib_access.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

constexpr QRgb kGrey = 0xff808080u;

// Every client pixel shows the colour of the image pixel under it (through
// `color`), or the grey beside the image.
template <class ColorOf>
void ExpectComposite(CPelmarkView* view, ColorOf color, QPoint centre = {}) {
    QImage shot = ViewTest::Grab(view);
    const int zoom = view->Zoom();
    const QPoint s = view->ScrollPosition();
    const int w = view->GetDocument()->m_nWidth, h = view->GetDocument()->m_nHeight;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            int lx = x + s.x() - centre.x(), ly = y + s.y() - centre.y();
            if (lx < 0 || ly < 0) continue;  // the workspace strips
            int ix = lx / zoom, iy = ly / zoom;
            QRgb want = ix < w && iy < h ? color(ViewTest::PatternIndex(ix, iy)) : kGrey;
            ASSERT_EQ(shot.pixel(x, y), want) << "zoom " << zoom << " at " << x << "," << y;
        }
}

TEST_F(ViewTest, CompositePaintedExactlyAtEachZoom) {
    CPelmarkView* view = OpenImage(37, 23);
    SetViewSize(view, 300, 200);
    for (uint32_t id = view::kZoomFirstId; id <= view::kZoomLastId; ++id) {
        ASSERT_TRUE(view->ExecuteCommand(id));
        ASSERT_EQ(view->Zoom(), view::ZoomOfCommand(id));
        SetViewSize(view, 300, 200);
        ExpectComposite(view, [](int i) { return EntryColor(i); });
        if (view->HasScrollBar(true) && view->HasScrollBar(false)) {
            view->ScrollTo(37, 53);  // not on a cell boundary
            ExpectComposite(view, [](int i) { return EntryColor(i); });
            view->ScrollTo(0, 0);
        }
    }
}

TEST_F(ViewTest, AlphaViewShowsTheGreyOfEachAlpha) {
    CPelmarkView* view = OpenImage(20, 10);
    SetViewSize(view, 100, 60);
    view->ExecuteCommand(34004);
    ASSERT_TRUE(view->ExecuteCommand(CPelmarkView::kAlphaViewId));
    EXPECT_EQ(view->QueryCommandState(CPelmarkView::kAlphaViewId).IsChecked(), std::optional<bool>(true));
    ExpectComposite(view, [](int i) { return AlphaGrey(i); });
    view->ExecuteCommand(CPelmarkView::kAlphaViewId);
    EXPECT_EQ(view->QueryCommandState(CPelmarkView::kAlphaViewId).IsChecked(), std::optional<bool>(false));
    ExpectComposite(view, [](int i) { return EntryColor(i); });
}

TEST_F(ViewTest, ZoomCommandStates) {
    struct Case {
        int width, height;
        uint32_t id;
        bool enabled;
    } cases[] = {
        {40, 30, 34007, true},   {2048, 100, 34007, false}, {2048, 100, 34006, true},
        {100, 2048, 34007, false}, {2047, 2047, 34007, true}, {2048, 2048, 34002, true},
    };
    for (const Case& c : cases) {
        CPelmarkView* view = OpenImage(c.width, c.height);
        framework::CmdUI ui = view->QueryCommandState(c.id);
        EXPECT_EQ(ui.IsEnabled(), c.enabled) << c.width << "x" << c.height << " id " << c.id;
        EXPECT_EQ(ui.IsChecked(), std::optional<bool>(c.id == 34002));
    }
    CPelmarkView* view = OpenImage(40, 30);
    view->ExecuteCommand(34005);
    for (uint32_t id = view::kZoomFirstId; id <= view::kZoomLastId; ++id)
        EXPECT_EQ(view->QueryCommandState(id).IsChecked(), std::optional<bool>(id == 34005));
    // Without an image nothing is enabled.
    CPelmarkDoc* doc = view->GetDocument();
    MemHandle image = doc->m_hImage;
    doc->m_hImage = nullptr;
    EXPECT_FALSE(view->QueryCommandState(34002).IsEnabled());
    doc->m_hImage = image;
}

TEST_F(ViewTest, CycleInAndOut) {
    CPelmarkView* view = OpenImage(40, 30);
    std::vector<int> cycle;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(view->ExecuteCommand(CPelmarkView::kZoomCycleId));
        cycle.push_back(view->Zoom());
    }
    EXPECT_EQ(cycle, (std::vector<int>{2, 4, 6, 8, 1}));
    view->ExecuteCommand(34007);
    view->ExecuteCommand(CPelmarkView::kZoomCycleId);
    EXPECT_EQ(view->Zoom(), 1);

    // In and out go through the main frame to the active view.
    std::vector<int> in;
    for (int i = 0; i < 6; ++i) {
        view->ExecuteCommand(CPelmarkView::kZoomInId);
        in.push_back(view->Zoom());
    }
    EXPECT_EQ(in, (std::vector<int>{2, 4, 6, 8, 16, 16}));
    std::vector<int> out;
    for (int i = 0; i < 6; ++i) {
        view->ExecuteCommand(CPelmarkView::kZoomOutId);
        out.push_back(view->Zoom());
    }
    EXPECT_EQ(out, (std::vector<int>{8, 6, 4, 2, 1, 1}));

    // The main frame's zoom lock stops both.
    CMainFrame::Get()->Locks().LockEditCommands(0);
    view->ExecuteCommand(CPelmarkView::kZoomInId);
    EXPECT_EQ(view->Zoom(), 1);
    CMainFrame::Get()->ClearCommandLocks();
    view->ExecuteCommand(CPelmarkView::kZoomInId);
    EXPECT_EQ(view->Zoom(), 2);
}

TEST_F(ViewTest, SameZoomRefitsTheFrameUnlessCentred) {
    WriteSetting("Settings", "WindowSizeCheckBox", "0");
    CPelmarkView* view = OpenImage(80, 60);
    view->ExecuteCommand(34003);
    QApplication::processEvents();
    EXPECT_EQ(view->size(), QSize(160, 120));
    SetViewSize(view, 150, 130);
    view->ExecuteCommand(34003);
    QApplication::processEvents();
    EXPECT_EQ(view->size(), QSize(160, 120));
    EXPECT_FALSE(view->HasScrollBar(true));

    // With the window size kept (the default), a zoom leaves the frame alone.
    WriteSetting("Settings", "WindowSizeCheckBox", "1");
    SetViewSize(view, 150, 130);
    view->ExecuteCommand(34004);
    EXPECT_EQ(view->size(), QSize(150, 130));
}

TEST_F(ViewTest, CentredInAMaximisedFrame) {
    CPelmarkView* view = OpenImage(100, 60);
    view->GetParentFrame()->showMaximized();
    QApplication::processEvents();
    view->ExecuteCommand(34003);
    view->ExecuteCommand(CPelmarkView::kCenterImageId);
    view::Offsets want = view::CentringOffsets(true, view->width(), view->height(), 100, 60, 2);
    ASSERT_GT(want.x, 0);
    EXPECT_EQ(view->CentreOffsets(), want);
    EXPECT_EQ(view::PendingFitFlag(), 2);
    QImage shot = Grab(view);
    EXPECT_EQ(shot.pixel(want.x, want.y), EntryColor(PatternIndex(0, 0)));
    EXPECT_EQ(shot.pixel(want.x + 199, want.y + 119), EntryColor(PatternIndex(99, 59)));
    EXPECT_EQ(shot.pixel(want.x + 200, want.y + 119), kGrey);
    QRgb workspace = QApplication::palette().color(QPalette::Dark).rgb();
    EXPECT_EQ(shot.pixel(want.x - 1, want.y), workspace);
    EXPECT_EQ(shot.pixel(want.x, want.y - 1), workspace);
    ExpectComposite(view, [](int i) { return EntryColor(i); }, QPoint(want.x, want.y));

    // The same zoom while centred changes nothing.
    view->ExecuteCommand(34003);
    EXPECT_EQ(view->CentreOffsets(), want);

    // An image larger than the window is not centred.
    view->ExecuteCommand(34007);
    view->ExecuteCommand(CPelmarkView::kCenterImageId);
    EXPECT_EQ(view->CentreOffsets(), view::Offsets{});
    // Restored: no centring.
    view->GetParentFrame()->showNormal();
    view->ExecuteCommand(CPelmarkView::kCenterImageId);
    EXPECT_EQ(view->CentreOffsets(), view::Offsets{});
    view::PendingFitFlag() = 0;
}

TEST_F(ViewTest, GridLinesInThePaintedImage) {
    // Preset 1: main 16 x 16 red; sub 2 x 2 blue ("green" below). Preset 2: main 8 x 8 red.
    WriteSetting("Grid", "MainSnap1", "16,16,255,0,0,1");
    WriteSetting("Grid", "SubSnap1", "2,2,1,2,250,0");
    WriteSetting("Grid", "MainSnap2", "8,8,255,0,0,0");
    const QRgb red = qRgb(255, 0, 0), green = qRgb(1, 2, 250);
    struct Case {
        int preset, zoom, flags;
        std::vector<int> redRows, greenRows;  // screen rows 0..47 at column 1
    } cases[] = {
        {1, 1, 1, {15, 31, 47}, {}},
        {1, 1, 2, {}, {}},  // 2 x 2 at zoom 1: too fine
        {1, 2, 2, {}, {3, 7, 11, 15, 19, 23, 27, 31, 35, 39, 43, 47}},
        {1, 2, 3, {31}, {3, 7, 11, 15, 19, 23, 27, 35, 39, 43, 47}},  // main over sub
        {2, 4, 1, {31}, {}},
    };
    for (const Case& c : cases) {
        WriteSetting("Settings", "Kankyou_Grid", std::to_string(c.preset).c_str());
        CPelmarkView* view = OpenImage(48, 48);
        view->ExecuteCommand(view::ZoomCommandOf(c.zoom));
        SetViewSize(view, 120, 120);
        view->SetGridDisplayFlags(c.flags);
        QImage shot = Grab(view);
        std::vector<int> redRows, greenRows;
        for (int y = 0; y < 48; ++y) {
            if (shot.pixel(1, y) == red) redRows.push_back(y);
            if (shot.pixel(1, y) == green) greenRows.push_back(y);
            // Rows without a line show the image.
            if (shot.pixel(1, y) != red && shot.pixel(1, y) != green) {
                EXPECT_EQ(shot.pixel(1, y), EntryColor(PatternIndex(1 / c.zoom, y / c.zoom)));
            }
        }
        EXPECT_EQ(redRows, c.redRows) << "preset " << c.preset << " zoom " << c.zoom << " flags " << c.flags;
        EXPECT_EQ(greenRows, c.greenRows) << "preset " << c.preset << " zoom " << c.zoom << " flags " << c.flags;
        // Columns: the same positions on row 1.
        if (c.flags == 1) {
            std::vector<int> redCols;
            for (int x = 0; x < 48; ++x)
                if (shot.pixel(x, 1) == red) redCols.push_back(x);
            EXPECT_EQ(redCols, c.redRows);
        }
        EXPECT_EQ(view->SnapFlags(), c.preset == 1 ? 1 : 0);
    }
}

TEST_F(ViewTest, GridCellsFromTheSettingsAreAtLeastOne) {
    WriteSetting("Grid", "MainSnap1", "0,-5,1,2,3,0");
    WriteSetting("Grid", "SubSnap1", "-1,0,1,2,3,0");
    CPelmarkView* view = OpenImage(8, 8);
    EXPECT_EQ(view->MainCellWidth(), 1);
    EXPECT_EQ(view->MainCellHeight(), 1);
    EXPECT_EQ(view->SubCellWidth(), 1);
    EXPECT_EQ(view->SubCellHeight(), 1);
    view->ExecuteCommand(34007);
    SetViewSize(view, 100, 100);
    view->SetGridDisplayFlags(3);
    EXPECT_FALSE(Grab(view).isNull());
    // Five numbers: ignored, start values kept.
    WriteSetting("Grid", "MainSnap1", "16,16,255,0");
    view->LoadGridPreset();
    EXPECT_EQ(view->MainCellWidth(), 8);
}

TEST_F(ViewTest, OutlinesDrawnTwiceLeaveTheImage) {
    CPelmarkView* view = OpenImage(40, 30);
    view->ExecuteCommand(34004);
    SetViewSize(view, 160, 120);
    const QImage before = Grab(view);
    const DibRect r{2, 3, 10, 8};
    using Draw = std::function<void()>;
    std::vector<std::pair<const char*, Draw>> draws = {
        {"line", [&] { view->XorLine(r); }},
        {"frame", [&] { view->XorFrameRect(r); }},
        {"ellipse", [&] { view->XorEllipse(r); }},
        {"band", [&] { view->XorEllipseRubberBand(9, 7, 2, 3); }},
        {"polyline", [&] { view->XorPolyline({{1, 1}, {20, 9}, {5, 25}}); }},
        {"region", [&] { view->DrawRectHandles(r, true); }},
    };
    for (auto& [name, draw] : draws) {
        draw();
        QImage shown = Grab(view);
        EXPECT_NE(shown, before) << name;
        draw();
        EXPECT_EQ(Grab(view), before) << name;
        EXPECT_TRUE(view->Overlays().empty()) << name;
    }
    // The rectangle outline: corners of r x 4, right and bottom less one,
    // each inverted once.
    view->XorLine(r);
    QImage shown = Grab(view);
    for (QPoint p : {QPoint(8, 12), QPoint(39, 12), QPoint(39, 31), QPoint(8, 31), QPoint(20, 12)})
        EXPECT_EQ(shown.pixel(p), before.pixel(p) ^ 0x00ffffffu) << p.x() << "," << p.y();
    EXPECT_EQ(shown.pixel(40, 12), before.pixel(40, 12));
    EXPECT_EQ(shown.pixel(9, 13), before.pixel(9, 13));
    view->XorLine(r);
    // Outlines move with the scroll position.
    SetViewSize(view, 100, 100);
    view->ScrollTo(4, 4);
    ASSERT_EQ(view->ScrollPosition(), QPoint(4, 4));
    const QImage scrolled = Grab(view);
    view->XorLine(r);
    EXPECT_EQ(Grab(view).pixel(4, 8), scrolled.pixel(4, 8) ^ 0x00ffffffu);
}

TEST_F(ViewTest, SelectionOutlineByTool) {
    CPelmarkView* view = OpenImage(40, 30);
    view->ExecuteCommand(34004);
    SetViewSize(view, 160, 120);
    CPelmarkDoc* doc = view->GetDocument();
    const QImage plain = Grab(view);
    doc->m_rcSelection = {2, 3, 10, 8};
    const QPoint corner(8, 12), lastCorner(39, 31), inner(9, 13);
    struct Case {
        int tool, prevTool, mode;
        bool corner, inner;
    } cases[] = {
        {551, 553, view::kSelectRect, true, false},
        {551, 553, view::kSelectEllipse, false, false},  // the ellipse leaves the corner
        {553, 553, view::kSelectRect, true, false},      // frame strips
        {556, 553, view::kSelectRect, false, false},     // fill after the hand: none
        {556, 551, view::kSelectRect, true, false},      // fill after the selection tool
        {563, 551, view::kSelectRect, true, false},
        {552, 553, view::kSelectRect, true, false},      // the wand: the mask outline
        {556, 552, view::kSelectEllipse, true, false},
    };
    document::ClearMask(*doc);
    document::MaskFillRect(*doc, 2, 3, 10, 8);
    for (const Case& c : cases) {
        doc->m_nToolId = c.tool;
        doc->m_nPrevToolId = c.prevTool;
        view::SelectionModeIndex() = c.mode;
        view->update();
        QImage shot = Grab(view);
        auto inverted = [&](QPoint p) { return shot.pixel(p) == (plain.pixel(p) ^ 0x00ffffffu); };
        EXPECT_EQ(inverted(corner), c.corner) << c.tool << " after " << c.prevTool;
        EXPECT_EQ(inverted(lastCorner), c.corner) << c.tool << " after " << c.prevTool;
        EXPECT_EQ(inverted(inner), c.inner) << c.tool << " after " << c.prevTool;
    }
    view::SelectionModeIndex() = view::kSelectRect;
}

TEST_F(ViewTest, UntitledDocumentsAreNumbered) {
    CPelmarkView* first = OpenImage(8, 8);
    QString title = first->GetDocument()->GetTitle();
    ASSERT_TRUE(title.startsWith("NewFile"));
    int n = title.mid(7).toInt();
    EXPECT_GE(n, 1);
    CPelmarkView* second = OpenImage(8, 8);
    EXPECT_EQ(second->GetDocument()->GetTitle(), QString("NewFile%1").arg(n + 1));
    // A second window on the first document keeps its name.
    OpenSecondView(first);
    EXPECT_EQ(first->GetDocument()->GetTitle(), QString("NewFile%1").arg(n));
    EXPECT_EQ(OpenImage(8, 8)->GetDocument()->GetTitle(), QString("NewFile%1").arg(n + 2));
}

TEST_F(ViewTest, WheelTowardTheUserScrollsFully) {
    CPelmarkView* view = OpenImage(100, 100);
    view->ExecuteCommand(34004);
    SetViewSize(view, 200, 200);
    ASSERT_TRUE(view->HasScrollBar(true));
    view->ScrollTo(0, 100);
    const int lines = QApplication::wheelScrollLines();
    auto turn = [&](int delta) {
        QWheelEvent e(QPointF(10, 10), view->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &e);
    };
    turn(-120);
    EXPECT_EQ(view->ScrollPosition().y(), 100 + view::WheelScrollPixels(-120, 4, lines));
    EXPECT_EQ(view->ScrollPosition().y(), 100 + 4 * lines);
    turn(120);
    EXPECT_EQ(view->ScrollPosition().y(), 100 + 4 * lines + view::WheelScrollPixels(120, 4, lines));
}

TEST_F(ViewTest, ZoomAtAPointScrollsThere) {
    CPelmarkView* view = OpenImage(100, 80);
    SetViewSize(view, 200, 160);
    view->ZoomAtPoint(34007, 50, 40);
    EXPECT_EQ(view->Zoom(), 16);
    QRect client = view->ClientRect();
    EXPECT_EQ(view->ScrollPosition(),
              QPoint(view::ZoomScrollTarget(100, 16, client.width(), 50, true),
                     view::ZoomScrollTarget(80, 16, client.height(), 40, true)));
}

TEST_F(ViewTest, ViewStateAndGuideCopy) {
    CPelmarkView* view = OpenImage(100, 80);
    view->ExecuteCommand(34004);
    SetViewSize(view, 200, 160);
    view->ScrollTo(12, 20);
    view->StoreViewState();
    const document::DocViewState& v = view->GetDocument()->m_ViewState;
    EXPECT_EQ(v.scrollX, 12 * 4);
    EXPECT_EQ(v.scrollY, 20 * 4);
    EXPECT_EQ(v.windowWidth, 200);
    EXPECT_EQ(v.zoom, 4);

    GetGuideSettings().startX = 7;
    view->SwapToolState(1);
    EXPECT_EQ(view->GuideCopy().startX, 7);
    GetGuideSettings().startX = 0;
    view->SwapToolState(0);
    EXPECT_EQ(GetGuideSettings().startX, 7);
    GetGuideSettings() = {};
}

TEST_F(ViewTest, RepaintOfAnImageRectShowsNewPixels) {
    CPelmarkView* view = OpenImage(20, 20);
    view->ExecuteCommand(34004);
    SetViewSize(view, 80, 80);
    Grab(view);
    // A palette change shows after the palette is realised.
    SetDibPaletteEntry(view->GetDocument()->m_hImage, PatternIndex(0, 0), 1, 2, 3, 0);
    view->RealizeDocPalette(view);
    EXPECT_EQ(Grab(view).pixel(0, 0), qRgb(1, 2, 3));
}

}  // namespace
}  // namespace viewtest
