// The pen, the line and the four-point curve drawn by mouse events in the
// canvas view of a new document: the layer and composite pixels, the screen,
// the rubber band and the control polygon, undo and redo, the work-memory
// probe and the plug-in windows told of each change.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QTest>

#include "tools/tool_options.h"
#include "platform/memory.h"
#include "platform/message_box_recorder.h"
#include "platform/window.h"
#include "plugin_api/plugin_api.h"
#include "plugin_api/plugin_messages.h"
#include "tools/drag_state.h"
#include "tools/tool_dispatch.h"
#include "view/view_geometry.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

using tools::ImagePoint;
using Rows = std::vector<std::string>;

constexpr int kInk = 2;  // red in the new image's palette
constexpr int kLineTypeControl = 412;
constexpr int kFourPointCurve = 1;
constexpr QRgb kInverted = 0x00ffffffu;

class PenLineViewTest : public ViewTest {
public:
    // A new 256-colour document drawn with `tool` in ink kInk and the
    // 1-pixel pen, its view at `zoom` and large enough to show it all.
    void Start(int width, int height, int zoomFactor, int tool) {
        view = NewDocument(width, height);
        ASSERT_NE(view, nullptr);
        doc = view->GetDocument();
        doc->SetEditMode(tool);
        doc->m_nPenId = 600;
        doc->m_nColor = kInk;
        zoom = zoomFactor;
        view->SetZoom(view::ZoomCommandOf(zoom));
        SetViewSize(view, 400, 300);
        view->ScrollTo(0, 0);
        frame->ToolOptionValues().SetControls(&controls);
        ASSERT_NE(Entry(kInk), Entry(0));
    }
    void TearDown() override {
        if (frame) frame->ToolOptionValues().SetControls(nullptr);
        tools::ProgramDragState() = {};
        ViewTest::TearDown();
    }

    QPoint Client(ImagePoint p) const { return {p.x * zoom + zoom / 2, p.y * zoom + zoom / 2}; }
    void Press(ImagePoint p) { QTest::mousePress(view, Qt::LeftButton, {}, Client(p)); }
    void Move(ImagePoint p) { QTest::mouseMove(view, Client(p)); }
    void Release(ImagePoint p) { QTest::mouseRelease(view, Qt::LeftButton, {}, Client(p)); }
    void Drag(const std::vector<ImagePoint>& path) {
        Press(path.front());
        for (size_t i = 1; i + 1 < path.size(); ++i) Move(path[i]);
        Release(path.back());
    }
    void Click(ImagePoint p) { Drag({p, p}); }

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
    QRgb Entry(int index) const { return doc->m_pPalette->Shown(index); }
    QRgb Screen(QPoint client) const { return Grab(view).pixel(client); }
    std::string UndoLabel() const { return doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label; }

    PanelControls controls;
    CPelmarkView* view = nullptr;
    CPelmarkDoc* doc = nullptr;
    int zoom = 1;
};

// Two pen strokes and a line from (1, 6) to (9, 6), which leaves out its
// end pixel.
const Rows kStrokesAndLine = {
    "............",
    ".####..#....",
    "....#..#....",
    "....#..#....",
    ".......#....",
    "............",
    ".########...",
    "............",
};

TEST_F(PenLineViewTest, PenStrokesAndALineByMouseAreUndoneAndRedoneStepByStep) {
    for (int z : {1, 4}) {
        SCOPED_TRACE(z);
        Start(12, 8, z, tools::kPenTool);
        ASSERT_EQ(Picture(), Blank());
        const int steps = doc->m_nUndoIndex;
        Drag({{1, 1}, {4, 1}, {4, 3}});
        Drag({{7, 1}, {7, 4}});
        EXPECT_EQ(doc->m_nUndoIndex, steps + 2);
        EXPECT_EQ(UndoLabel(), "钢笔");
        EXPECT_TRUE(doc->IsModified());

        doc->SetEditMode(tools::kLineTool);
        Press({1, 6});
        Move({9, 6});
        // The band is on the screen only: its top row of screen pixels is
        // inverted, the layer is untouched.
        EXPECT_EQ(view->Overlays().size(), 1u);
        const QPoint band(5 * z, 6 * z);
        EXPECT_EQ(Screen(band), Entry(0) ^ kInverted);
        if (z > 1) EXPECT_EQ(Screen(band + QPoint(0, 1)), Entry(0));
        EXPECT_EQ(Layer(*doc, 0, 5, 6), 0);
        EXPECT_NE(doc->m_hLayerBackup, nullptr);
        Release({9, 6});
        EXPECT_TRUE(view->Overlays().empty());
        EXPECT_EQ(doc->m_hLayerBackup, nullptr);
        EXPECT_EQ(UndoLabel(), "线");
        EXPECT_EQ(Picture(), kStrokesAndLine);
        // The screen shows the strokes and the line.
        for (ImagePoint p : {ImagePoint{2, 1}, ImagePoint{7, 4}, ImagePoint{5, 6}})
            EXPECT_EQ(Screen(Client(p)), Entry(kInk)) << p.x << "," << p.y;
        EXPECT_EQ(Screen(band), Entry(kInk));
        EXPECT_EQ(Screen(Client({9, 6})), Entry(0));

        doc->OnEditUndo();
        Rows noLine = kStrokesAndLine;
        noLine[6] = "............";
        EXPECT_EQ(Picture(), noLine);
        doc->OnEditUndo();
        doc->OnEditUndo();
        EXPECT_EQ(Picture(), Blank());
        EXPECT_EQ(Screen(Client({2, 1})), Entry(0));
        for (int i = 0; i < 3; ++i) doc->OnEditRedo();
        EXPECT_EQ(Picture(), kStrokesAndLine);
        EXPECT_EQ(Screen(Client({2, 1})), Entry(kInk));
    }
}

// The curve through (1, 1), (12, 1), (12, 9) and (1, 9).
// Samples are truncated toward zero: the lower arc runs on row 8 and only
// the end point reaches row 9.
const Rows kCurve = {
    "..............",
    ".######.......",
    "......####....",
    ".........###..",
    "...........#..",
    "...........#..",
    ".........###..",
    "......####....",
    ".######.......",
    ".#............",
    "..............",
};

TEST_F(PenLineViewTest, FourClicksDrawTheCurveOnlyAtTheFourth) {
    Start(14, 11, 2, tools::kLineTool);
    controls.values[kLineTypeControl] = kFourPointCurve;
    const int steps = doc->m_nUndoIndex;
    const std::vector<ImagePoint> clicks = {{1, 1}, {12, 1}, {12, 9}, {1, 9}};

    for (size_t i = 0; i < 3; ++i) {
        Click(clicks[i]);
        // A move without a button drags the rubber point; the polygon is the
        // view's one outline and nothing reaches the layer.
        Move({6, 3 + int(i)});
        ASSERT_EQ(view->Overlays().size(), 1u) << i;
        EXPECT_EQ(Picture(), Blank()) << i;
    }
    EXPECT_EQ(doc->m_nUndoIndex, steps + 1);
    EXPECT_EQ(UndoLabel(), "线 ４ 点");
    const view::OverlayShape polygon = view->Overlays().Shapes().front();
    ASSERT_EQ(polygon.points.size(), 4u);
    EXPECT_EQ(polygon.points.back(), (view::ScreenPoint{12, 10}));  // the rubber point (6, 5) x 2

    Click(clicks[3]);
    EXPECT_TRUE(view->Overlays().empty());
    EXPECT_EQ(Picture(), kCurve);
    EXPECT_EQ(doc->m_nUndoIndex, steps + 1);
    EXPECT_EQ(doc->m_hLayerBackup, nullptr);
    EXPECT_EQ(Screen(Client({11, 5})), Entry(kInk));

    // A hover after the curve changes nothing; a fifth click starts anew.
    Move({3, 3});
    EXPECT_TRUE(view->Overlays().empty());
    Click({2, 2});
    EXPECT_EQ(doc->m_nUndoIndex, steps + 2);
    EXPECT_EQ(view->Overlays().size(), 1u);
    doc->OnEditUndo();
    EXPECT_EQ(Picture(), kCurve);
    doc->OnEditUndo();
    EXPECT_EQ(Picture(), Blank());
    doc->OnEditRedo();
    EXPECT_EQ(Picture(), kCurve);
}

TEST_F(PenLineViewTest, ARefusedClickBlocksTheCurveUntilTheNextOne) {
    Start(14, 11, 2, tools::kLineTool);
    controls.values[kLineTypeControl] = kFourPointCurve;
    Click({1, 1});
    Move({5, 5});
    const view::OverlayShape shown = view->Overlays().Shapes().front();
    {
        platform::MessageBoxRecorder boxes;
        MemSetLimit(MemBytesInUse() + 1024);
        Click({12, 1});
        MemSetLimit(MEM_NO_LIMIT);
        EXPECT_EQ(boxes.Requests().size(), 1u);
    }
    // Blocked: the hover leaves the polygon where it was.
    Move({8, 8});
    ASSERT_EQ(view->Overlays().size(), 1u);
    EXPECT_EQ(view->Overlays().Shapes().front(), shown);
    for (ImagePoint p : {ImagePoint{12, 1}, ImagePoint{12, 9}, ImagePoint{1, 9}}) Click(p);
    EXPECT_EQ(Picture(), kCurve);
}

TEST_F(PenLineViewTest, TheCurveFollowsAZoomChangeBetweenClicks) {
    Start(14, 11, 2, tools::kLineTool);
    controls.values[kLineTypeControl] = kFourPointCurve;
    Click({1, 1});
    Click({12, 1});
    zoom = 4;
    view->SetZoom(view::ZoomCommandOf(zoom));
    // The polygon is shown again at the new zoom.
    ASSERT_EQ(view->Overlays().size(), 1u);
    EXPECT_EQ(view->Overlays().Shapes().front().points.front(), (view::ScreenPoint{4, 4}));
    Click({12, 9});
    Click({1, 9});
    EXPECT_TRUE(view->Overlays().empty());
    EXPECT_EQ(Picture(), kCurve);
}

// A plug-in window that counts what it is told.
struct PluginWindow {
    PluginWindow() : handle(WinCreate(&Receive, this)) {}
    ~PluginWindow() { WinDestroy(handle); }
    static WinResult Receive(void* context, WinHandle, uint32_t message, WinWParam w, WinLParam l) {
        auto* self = static_cast<PluginWindow*>(context);
        if (message == WM_TOOL_IMAGECHANGED && w == 0 && l == 0) ++self->imageChanged;
        return 0;
    }
    WinHandle handle;
    int imageChanged = 0;
};

TEST_F(PenLineViewTest, ThePluginWindowsHearOfEachStrokeAndLine) {
    Start(12, 8, 1, tools::kPenTool);
    PluginWindow main, second, anim;
    PluginToolRecord record{}, animRecord{};
    record.window = main.handle;
    record.window2 = second.handle;
    animRecord.window = anim.handle;
    doc->m_ToolPlugin.record = &record;
    doc->m_AnimPlugin.record = &animRecord;

    Drag({{1, 1}, {4, 1}});
    EXPECT_EQ(main.imageChanged, 1);
    EXPECT_EQ(second.imageChanged, 1);
    EXPECT_EQ(anim.imageChanged, 1);
    // The document keeps the window its record reported.
    EXPECT_EQ(doc->m_ToolPlugin.window, main.handle);
    doc->SetEditMode(tools::kLineTool);
    Drag({{1, 6}, {9, 6}});
    EXPECT_EQ(main.imageChanged, 2);
    EXPECT_EQ(anim.imageChanged, 2);
    doc->m_ToolPlugin = {};
    doc->m_AnimPlugin = {};
}

}  // namespace
}  // namespace viewtest
