// The image-map tools driven by mouse events through the view's dispatch at
// zoom 1 and 4: the drags and clicks that make regions, the limits, the
// right button's removals, moving, deleting, the URL dialog, the region
// number, the outlines, and the *.map files the view reads and writes.
#include <csignal>
#include <string>
#include <sys/resource.h>
#include <vector>

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTest>

#include "dialogs/url_dlg.h"
#include "imagemap/area_html.h"
#include "framework/support_file_dialog.h"
#include "imagemap/map_file.h"
#include "platform/message_box_recorder.h"
#include "tools/drag_state.h"
#include "tools/tool_dispatch.h"
#include "view/view_geometry.h"
#include "view_fixture.h"
#include "tests/support/file_size_limit.h"

namespace viewtest {
namespace {

using imagemap::MapPoint;
using tools::ImagePoint;

class ImageMapViewTest : public ViewTest {
public:
    void Start(int zoomFactor, int tool) {
        view = NewDocument(64, 48);
        ASSERT_NE(view, nullptr);
        doc = view->GetDocument();
        zoom = zoomFactor;
        view->SetZoom(view::ZoomCommandOf(zoom));
        SetViewSize(view, 300, 220);
        view->ScrollTo(0, 0);
        Use(tool);
    }
    void Use(int tool) { doc->SetEditMode(tool); }
    void TearDown() override {
        tools::ProgramDragState() = {};
        ViewTest::TearDown();
    }

    QPoint Client(ImagePoint p) const { return {p.x * zoom + zoom / 2, p.y * zoom + zoom / 2}; }
    void Move(ImagePoint p, Qt::MouseButton held) {
        QMouseEvent move(QEvent::MouseMove, QPointF(Client(p)), QPointF(view->mapToGlobal(Client(p))), Qt::NoButton,
                         held, {});
        QApplication::sendEvent(view, &move);
    }
    void Drag(ImagePoint from, ImagePoint to, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(view, button, {}, Client(from));
        Move(to, button);
        QTest::mouseRelease(view, button, {}, Client(to));
    }
    void Click(ImagePoint p, Qt::MouseButton button = Qt::LeftButton) { Drag(p, p, button); }
    void Clicks(std::initializer_list<ImagePoint> points) {
        for (ImagePoint p : points) Click(p);
    }
    const imagemap::RegionTable& Table() const { return view->Regions(); }
    std::vector<MapPoint> Points(int region) const {
        const imagemap::ImageMapRegion& r = Table().Region(region);
        return {r.points.begin(), r.points.begin() + r.count};
    }

    CPelmarkView* view = nullptr;
    CPelmarkDoc* doc = nullptr;
    int zoom = 1;
};

TEST_F(ImageMapViewTest, DragsMakeRectanglesAndCircles) {
    struct Case {
        const char* name;
        int zoom, tool;
        ImagePoint from, to;
        std::vector<MapPoint> kept;  // empty: dropped
    } cases[] = {
        {"rect under the tolerance", 1, 625, {10, 10}, {12, 12}, {}},
        {"rect one pixel at zoom 4", 4, 625, {10, 10}, {11, 11}, {{10, 10}, {11, 11}}},
        {"rect corners ordered", 1, 625, {30, 40}, {10, 20}, {{10, 20}, {30, 40}}},
        {"rect clamped to the image", 1, 625, {60, 40}, {70, 50}, {{60, 40}, {63, 47}}},
        {"circle keeps centre and edge", 1, 626, {20, 20}, {20, 30}, {{20, 20}, {20, 30}}},
        {"circle of a click at zoom 4", 4, 626, {20, 20}, {20, 20}, {}},
    };
    for (const Case& c : cases) {
        Start(c.zoom, c.tool);
        Drag(c.from, c.to);
        if (c.kept.empty()) {
            EXPECT_EQ(Table().Finished(), 0) << c.name;
        } else {
            ASSERT_EQ(Table().Finished(), 1) << c.name;
            EXPECT_EQ(Table().Region(0).type, c.tool == 625 ? imagemap::kRectangle : imagemap::kCircle) << c.name;
            EXPECT_EQ(Points(0), c.kept) << c.name;
        }
    }
}

TEST_F(ImageMapViewTest, PolygonClosesWithinTheTolerance) {
    Start(1, 628);
    Clicks({{10, 10}, {40, 10}, {40, 40}, {11, 12}});
    ASSERT_EQ(Table().Finished(), 1);
    EXPECT_EQ(Points(0), (std::vector<MapPoint>{{10, 10}, {40, 10}, {40, 40}, {10, 10}}));
    EXPECT_EQ(Table().DrawCount(), 0);
    // Zoom 4: only the exact pixel closes.
    Start(4, 628);
    Clicks({{10, 10}, {40, 10}, {40, 40}, {11, 12}});
    EXPECT_EQ(Table().Finished(), 0);
    EXPECT_EQ(Table().DrawCount(), 4);
    Click({10, 10});
    ASSERT_EQ(Table().Finished(), 1);
    EXPECT_EQ(Points(0).back(), (MapPoint{10, 10}));
}

TEST_F(ImageMapViewTest, PointAndRegionLimits) {
    Start(4, 628);
    platform::MessageBoxRecorder boxes;
    for (int i = 0; i < imagemap::kMaxPoints; ++i) Click({i % 60, i < 60 ? 1 : 30});
    EXPECT_EQ(boxes.Count(), 0u);
    Click({33, 33});
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "最大 100 种。");
    Click({0, 1});  // the first vertex: closes at the limit
    ASSERT_EQ(Table().Finished(), 1);
    EXPECT_EQ(Table().Region(0).count, imagemap::kPointSlots);

    for (int i = 1; i < imagemap::kMaxRegions; ++i) view->Regions().AddPointRegion({i, i});
    ASSERT_EQ(Table().Finished(), imagemap::kMaxRegions);
    for (int tool : {625, 626, 627, 628}) {
        boxes.Clear();
        Use(tool);
        Drag({40, 40}, {50, 45});
        ASSERT_EQ(boxes.Count(), 1u) << tool;
        EXPECT_EQ(boxes.Requests()[0].text, "最大 20 个。") << tool;
        EXPECT_EQ(Table().Finished(), imagemap::kMaxRegions) << tool;
        EXPECT_EQ(Table().Region(imagemap::kMaxRegions).count, 0) << tool;
    }
}

TEST_F(ImageMapViewTest, RightButtonRemovesWhatLiesUnderIt) {
    Start(4, 628);
    const std::vector<ImagePoint> square = {{10, 10}, {30, 10}, {30, 30}, {10, 30}};
    auto polygon = [&] {
        for (ImagePoint p : square) Click(p);
        Click(square[0]);
    };
    // A vertex goes, the others move down; the polygon stays closed.
    polygon();
    Click({30, 10}, Qt::RightButton);
    EXPECT_EQ(Points(0), (std::vector<MapPoint>{{10, 10}, {30, 30}, {10, 30}, {10, 10}}));
    // Vertex 0: the closing copy follows the new first vertex.
    // Left with 3 points, a closed polygon keeps 2.
    Click({10, 10}, Qt::RightButton);
    EXPECT_EQ(Points(0), (std::vector<MapPoint>{{30, 30}, {10, 30}}));
    // Emptied, the region goes and the table is compacted.
    view->Regions().SetUrl(0, "poly");
    Use(627);
    Click({50, 40});
    view->Regions().SetUrl(1, "point");
    Use(628);
    Click({10, 30}, Qt::RightButton);
    EXPECT_EQ(Points(0), (std::vector<MapPoint>{{30, 30}}));
    Click({30, 30}, Qt::RightButton);
    ASSERT_EQ(Table().Finished(), 1);
    EXPECT_EQ(Table().Url(0), "point");
    // A point region goes whole; a rectangle by its first corner only.
    Click({50, 40}, Qt::RightButton);
    EXPECT_EQ(Table().Finished(), 0);
    Use(625);
    Drag({5, 5}, {20, 20});
    Click({20, 20}, Qt::RightButton);
    EXPECT_EQ(Table().Finished(), 1);
    Click({5, 5}, Qt::RightButton);
    EXPECT_EQ(Table().Finished(), 0);
}

TEST_F(ImageMapViewTest, MoveDeleteUrlAndNumber) {
    Start(1, 625);
    Drag({10, 10}, {20, 20});
    Use(628);
    Clicks({{40, 10}, {55, 10}, {55, 30}, {40, 10}});
    ASSERT_EQ(Table().Finished(), 2);

    // Left drag inside the rectangle moves it whole.
    Use(631);
    Drag({15, 15}, {18, 19});
    EXPECT_EQ(Points(0), (std::vector<MapPoint>{{13, 14}, {23, 24}}));
    // Right drag on vertex 0 moves it with its closing copy.
    Drag({40, 10}, {36, 5}, Qt::RightButton);
    EXPECT_EQ(Points(1), (std::vector<MapPoint>{{36, 5}, {55, 10}, {55, 30}, {36, 5}}));
    // Right drag on a rectangle corner moves that corner only.
    Drag({23, 24}, {25, 26}, Qt::RightButton);
    EXPECT_EQ(Points(0), (std::vector<MapPoint>{{13, 14}, {25, 26}}));

    // The region's number from 1.
    platform::MessageBoxRecorder boxes;
    QTest::mouseDClick(view, Qt::LeftButton, {}, Client({55, 30}));
    ASSERT_GE(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests().back().text, "2 号的数据");

    // The URL dialog starts with the region's URL; OK stores the new one.
    view->Regions().SetUrl(1, "old.html");
    Use(633);
    QString shown;
    {
        framework::ScopedModalDriver driver([&](framework::Dialog& d) {
            ASSERT_EQ(d.TemplateId(), CUrlDlg::kTemplateId);
            shown = d.GetDlgItemText(CUrlDlg::kUrlId);
            d.SetDlgItemText(CUrlDlg::kUrlId, QStringLiteral("新.html"));
            d.ClickButton(framework::IDOK);
        });
        Click({55, 10});
    }
    EXPECT_EQ(shown, "old.html");
    EXPECT_EQ(Table().Url(1), "新.html");

    // Delete: a press inside the rectangle.
    Use(632);
    Click({18, 18});
    ASSERT_EQ(Table().Finished(), 1);
    EXPECT_EQ(Table().Region(0).type, imagemap::kPolygon);
    EXPECT_EQ(Table().Url(0), "新.html");
}

TEST_F(ImageMapViewTest, OutlinesFollowTheTable) {
    Start(4, 625);
    const QImage before = Grab(view);
    Drag({2, 3}, {10, 8});
    const QImage shown = Grab(view);
    // The outline through the pixel centres, a handle on each stored corner.
    for (QPoint p : {QPoint(42, 14), QPoint(10, 34), QPoint(20, 14), QPoint(11, 15), QPoint(41, 33)})
        EXPECT_EQ(shown.pixel(p), before.pixel(p) ^ 0x00ffffffu) << p.x() << "," << p.y();
    EXPECT_EQ(shown.pixel(26, 24), before.pixel(26, 24));
    Use(632);
    Click({5, 5});
    EXPECT_EQ(Grab(view), before);
}

TEST_F(ImageMapViewTest, MapFilesThroughTheFrame) {
    Start(1, 625);
    Drag({10, 20}, {50, 40});
    view->Regions().SetUrl(0, "a.html");
    const QString path = dir.filePath("regions.map");
    platform::MessageBoxRecorder boxes;
    {
        dialogs::FileDialogRecorder files({dialogs::FileDialogAnswer::Ok({path})});
        frame->SendCommand(630);
        ASSERT_EQ(files.Requests().size(), 1u);
        EXPECT_FALSE(files.Requests()[0].open);
        EXPECT_EQ(files.Requests()[0].filters.at(0).name, "MAP 文件(*.map)");
        EXPECT_EQ(files.Requests()[0].filters.at(0).patterns, "*.map");
    }
    EXPECT_EQ(doc->m_nToolId, 625);  // back to the tool before the save
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(), "rect      a.html 10,20 50,40\r\n");
    f.close();

    // A cancelled open and a failed read go back as well.
    for (const dialogs::FileDialogAnswer& answer :
         {dialogs::FileDialogAnswer::Cancel(), dialogs::FileDialogAnswer::Ok({dir.filePath("none.map")})}) {
        dialogs::FileDialogRecorder files({answer});
        frame->SendCommand(629);
        EXPECT_EQ(doc->m_nToolId, 625);
    }
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "读取失败");

    view->Regions().Clear();
    {
        dialogs::FileDialogRecorder files({dialogs::FileDialogAnswer::Ok({path})});
        frame->SendCommand(629);
    }
    ASSERT_EQ(Table().Finished(), 1);
    EXPECT_EQ(Table().Url(0), "a.html");
    EXPECT_EQ(doc->m_nToolId, 625);
}

TEST_F(ImageMapViewTest, WriteCutShortShowsTheFailure) {
    Start(1, 627);
    for (int i = 0; i < imagemap::kMaxRegions; ++i) {
        Click({i + 1, i + 1});
        view->Regions().SetUrl(i, std::string(100, 'u'));
    }
    ASSERT_EQ(Table().Finished(), imagemap::kMaxRegions);
    ASSERT_GT(imagemap::WriteMapText(Table()).size(), 2000u);
    const QString path = dir.filePath("old.map");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("point     old 1,1\r\n");
    }
    platform::MessageBoxRecorder boxes;
    const bool written = kvtest::WithFileSizeLimit(1024, [&] { return view->WriteMapFile(path); });
    EXPECT_FALSE(written);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "写入失败");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(), "point     old 1,1\r\n");
}

TEST_F(ImageMapViewTest, APolygonOfFewerThanThreeVerticesLeavesNeitherFile) {
    Start(4, 628);
    const QString path = dir.filePath("polygons.map");
    auto saved = [&] {
        dialogs::FileDialogRecorder files({dialogs::FileDialogAnswer::Ok({path})});
        frame->SendCommand(630);
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("unreadable");
    };
    // A closed triangle that loses a vertex to the right button, and a line
    // closed at its first vertex.
    Clicks({{10, 10}, {30, 10}, {20, 30}, {10, 10}});
    Click({30, 10}, Qt::RightButton);
    Clicks({{40, 10}, {50, 20}, {40, 10}});
    ASSERT_EQ(Table().Finished(), 2);
    EXPECT_EQ(saved(), "");
    EXPECT_EQ(imagemap::BuildAreaHtml(Table()), "");
    // A triangle is a region in both.
    Clicks({{10, 40}, {30, 40}, {20, 46}, {10, 40}});
    EXPECT_EQ(saved(), "poly      请在这里写 URL 地址 10,40 30,40 20,46\r\n");
    EXPECT_NE(imagemap::BuildAreaHtml(Table()).find("coords=\"10,40,30,40,20,46\""), std::string::npos);
}

TEST_F(ImageMapViewTest, ARegionRemovedWhileAPolygonIsDrawnKeepsThePolygon) {
    Start(4, 625);
    Drag({5, 5}, {20, 20});
    view->Regions().SetUrl(0, "rect");
    Use(628);
    Clicks({{10, 30}, {30, 30}});
    Click({5, 5}, Qt::RightButton);
    ASSERT_EQ(Table().Finished(), 0);
    Clicks({{30, 40}, {10, 30}});
    ASSERT_EQ(Table().Finished(), 1);
    EXPECT_EQ(Points(0), (std::vector<MapPoint>{{10, 30}, {30, 30}, {30, 40}, {10, 30}}));
    EXPECT_EQ(Table().Url(0), "");
}

TEST_F(ImageMapViewTest, AUrlReadsBackFromItsFileAsTyped) {
    Start(1, 625);
    const std::vector<std::string> urls = {"a.cgi?q=1%2C2,3", "%252C,", "100%25", "50%,2%2c"};
    for (size_t i = 0; i < urls.size(); ++i) {
        Drag({2, 2 + 10 * int(i)}, {20, 8 + 10 * int(i)});
        view->Regions().SetUrl(int(i), urls[i]);
    }
    const QString path = dir.filePath("urls.map");
    {
        dialogs::FileDialogRecorder files({dialogs::FileDialogAnswer::Ok({path})});
        frame->SendCommand(630);
    }
    view->Regions().Clear();
    {
        dialogs::FileDialogRecorder files({dialogs::FileDialogAnswer::Ok({path})});
        frame->SendCommand(629);
    }
    ASSERT_EQ(Table().Finished(), int(urls.size()));
    for (size_t i = 0; i < urls.size(); ++i) EXPECT_EQ(Table().Url(int(i)), urls[i]);
}

}  // namespace
}  // namespace viewtest
