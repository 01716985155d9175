// The pen, line and curve tools on a document: undo steps, rubber bands,
// the spare layer copy, the selection left alone by dashed lines, the curve
// written at its fourth click, blocked and busy documents, the colour pick.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "../document/doc_fixture.h"
#include "document/layer_factory.h"
#include "document/selection_mask_doc.h"
#include "platform/memory.h"
#include "plugin_api/plugin_messages.h"
#include "tools/dispatch_rules.h"
#include "tools/frame_tool_canvas.h"
#include "tools/pen_line_tools.h"
#include "tools/pixel_access.h"

namespace doctest {
namespace {

using tools::ImagePoint;

// A view stand-in: records what the tools ask for.
class FakeCanvas : public tools::ToolCanvas {
public:
    explicit FakeCanvas(CPelmarkDoc* d) : doc(d) {}
    CPelmarkDoc* Document() override { return doc; }
    int Zoom() const override { return zoom; }
    int ToolOption(int index) override { return options.count(index) ? options[index] : (index == 4 ? 1 : 0); }
    tools::PixelAccess* BeginPixelAccess() override {
        ++begins;
        return access.Begin(doc, 0, nullptr) ? &access : nullptr;
    }
    void EndPixelAccess() override {
        ++ends;
        access.End();
    }
    void InvalidateDirty(DibRect r, int, bool) override { dirty.push_back(r); }
    void ToggleRubberBand(const std::vector<ImagePoint>& points) override {
        auto it = std::find(bands.begin(), bands.end(), points);
        if (it != bands.end())
            bands.erase(it);
        else
            bands.push_back(points);
        ++toggles;
    }
    void AutoScrollCheck(ImagePoint) override { ++armed; }
    ImagePoint AutoScroll(ImagePoint p) override { return p; }
    bool ReleaseOutsideView(ImagePoint) override { return outside; }
    int DragBits() override { return dragBits; }
    void ClearRightDrag() override { dragBits &= ~2; }
    void PaletteBarChanged() override { ++paletteBar; }
    void RefreshAfterStroke() override { ++strokeRefreshes; }
    void RefreshAfterLine() override { ++lineRefreshes; }

    CPelmarkDoc* doc;
    int zoom = 1;
    std::map<int, int> options;
    tools::PixelAccess access;
    int begins = 0, ends = 0, toggles = 0, armed = 0, paletteBar = 0, strokeRefreshes = 0, lineRefreshes = 0;
    std::vector<DibRect> dirty;
    std::vector<std::vector<ImagePoint>> bands;
    int dragBits = 1;
    bool outside = false;
};

class PenLineToolsTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        doc = DocumentWithImage(12, 8);
        ASSERT_TRUE(document::CreateLayer(*doc, 0, 1));
        doc->m_nColor = 5;
        canvas = std::make_unique<FakeCanvas>(doc.get());
    }
    void TearDown() override {
        canvas.reset();
        doc.reset();
        DocTest::TearDown();
    }

    // Layer 0 as rows of '#' (the colour) and '.' (0); '?' for anything else.
    std::string Picture() {
        MemLockGuard lock(doc->m_hLayers[0]);
        const uint8_t* bits = static_cast<const uint8_t*>(lock.get()) + LAYER_HEADER_SIZE;
        const size_t stride = (size_t(doc->m_nWidth) + 3) & ~size_t(3);
        std::string s;
        for (int y = 0; y < doc->m_nHeight; ++y) {
            for (int x = 0; x < doc->m_nWidth; ++x) {
                uint8_t v = bits[size_t(doc->m_nHeight - 1 - y) * stride + size_t(x)];
                s += v == 0 ? '.' : v == 5 ? '#' : '?';
            }
            s += '\n';
        }
        return s;
    }
    // The picture with only the rows given, the others blank.
    static std::string Only(std::map<int, std::string> rows) {
        std::string s;
        for (int y = 0; y < 8; ++y) s += (rows.count(y) ? rows[y] : std::string(12, '.')) + "\n";
        return s;
    }
    std::string Label() { return doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label; }

    std::unique_ptr<CPelmarkDoc> doc;
    std::unique_ptr<FakeCanvas> canvas;
};

TEST_F(PenLineToolsTest, PenStrokeIsOneUndoStep) {
    tools::PenTool pen(*canvas);
    const int before = doc->m_nUndoIndex;
    pen.OnDown({1, 1});
    pen.OnMove({5, 1});
    pen.OnMove({5, 4});
    pen.OnUp({2, 6});
    EXPECT_EQ(doc->m_nUndoIndex, before + 1);
    EXPECT_EQ(Label(), "钢笔");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(canvas->strokeRefreshes, 1);
    EXPECT_EQ(canvas->begins, canvas->ends);
    const std::string stroke =
        "............\n"
        ".#####......\n"
        ".....#......\n"
        ".....#......\n"
        ".....#......\n"
        "...##.......\n"
        "..#.........\n"
        "............\n";
    EXPECT_EQ(Picture(), stroke);
    doc->OnEditUndo();
    EXPECT_EQ(Picture(), Only({}));
    doc->OnEditRedo();
    EXPECT_EQ(Picture(), stroke);
}

TEST_F(PenLineToolsTest, PenReleaseOutsideTheViewDrawsNoLastSegment) {
    tools::PenTool pen(*canvas);
    pen.OnDown({1, 1});
    pen.OnMove({3, 1});
    canvas->outside = true;
    pen.OnUp({9, 6});
    EXPECT_EQ(Picture(), Only({{1, ".###........"}}));
    EXPECT_EQ(canvas->strokeRefreshes, 0);
}

TEST_F(PenLineToolsTest, LineRubberBandThenOneSolidLine) {
    tools::LineTool line(*canvas);
    canvas->zoom = 4;
    const int before = doc->m_nUndoIndex;
    line.OnDown({1, 2});
    EXPECT_NE(doc->m_hLayerBackup, nullptr);
    EXPECT_EQ(canvas->bands, (std::vector<std::vector<ImagePoint>>{{{4, 8}, {4, 8}}}));
    line.OnMove({6, 2});
    line.OnMove({9, 2});
    EXPECT_EQ(canvas->bands, (std::vector<std::vector<ImagePoint>>{{{4, 8}, {36, 8}}}));
    EXPECT_EQ(Picture(), Only({}));  // nothing of the band is in the image
    line.OnUp({9, 2});
    EXPECT_TRUE(canvas->bands.empty());
    EXPECT_EQ(Picture(), Only({{2, ".########..."}}));  // the end pixel is left out
    EXPECT_EQ(doc->m_nUndoIndex, before + 1);
    EXPECT_EQ(Label(), "线");
    EXPECT_EQ(doc->m_hLayerBackup, nullptr);
    EXPECT_EQ(canvas->lineRefreshes, 1);
    doc->OnEditUndo();
    EXPECT_EQ(Picture(), Only({}));
}

TEST_F(PenLineToolsTest, DashedLineLeavesTheSelectionAsItWas) {
    document::MaskFillRect(*doc, 2, 1, 7, 5);
    auto maskBytes = [&] {
        MemLockGuard lock(doc->m_hMask);
        const uint8_t* p = static_cast<const uint8_t*>(lock.get());
        return std::vector<uint8_t>(p, p + MemSize(doc->m_hMask));
    };
    const std::vector<uint8_t> selection = maskBytes();
    canvas->options = {{16, 1}, {17, 3}, {18, 2}};
    tools::LineTool line(*canvas);
    line.OnDown({0, 3});
    line.OnUp({11, 3});
    EXPECT_EQ(Picture(), Only({{3, "##..###....."}}));
    EXPECT_EQ(maskBytes(), selection);
    EXPECT_DOUBLE_EQ(line.SegmentLength(), 11.0);
}

TEST_F(PenLineToolsTest, CurveWritesTheLayerOnlyAtTheFourthClick) {
    canvas->options = {{3, 1}};
    canvas->zoom = 2;
    tools::LineTool line(*canvas);
    const int before = doc->m_nUndoIndex;
    const ImagePoint clicks[] = {{1, 1}, {10, 1}, {10, 6}, {1, 6}};
    for (int i = 0; i < 3; ++i) {
        line.OnDown(clicks[i]);
        line.OnUp(clicks[i]);
        line.OnHover({5, 5});
        EXPECT_EQ(Picture(), Only({})) << i;
        ASSERT_EQ(canvas->bands.size(), 1u);
        EXPECT_EQ(canvas->bands[0].size(), size_t(i + 2));
        EXPECT_EQ(canvas->bands[0].back(), (ImagePoint{10, 10}));
    }
    EXPECT_EQ(doc->m_nUndoIndex, before + 1);
    EXPECT_EQ(Label(), "线 ４ 点");
    line.OnDown(clicks[3]);
    EXPECT_TRUE(canvas->bands.empty());
    EXPECT_EQ(doc->m_nUndoIndex, before + 1);  // the whole curve is one step
    EXPECT_EQ(Picture(),
              "............\n"
              ".######.....\n"
              ".......###..\n"
              ".........#..\n"
              ".......###..\n"
              ".######.....\n"
              ".#..........\n"
              "............\n");
    EXPECT_EQ(canvas->lineRefreshes, 1);
    EXPECT_EQ(doc->m_hLayerBackup, nullptr);
    line.OnDown({3, 3});  // a fifth click starts a new curve and a new step
    EXPECT_EQ(doc->m_nUndoIndex, before + 2);
    EXPECT_EQ(line.Curve().count, 1);
    doc->OnEditUndo();
    doc->OnEditUndo();
    EXPECT_EQ(Picture(), Only({}));
}

TEST_F(PenLineToolsTest, ShortMemoryBlocksTheLineUntilTheNextClick) {
    // The view refuses the button-down when its probe fails; the move and the
    // up of that drag do nothing.
    tools::LineTool line(*canvas);
    const int before = doc->m_nUndoIndex;
    line.OnDownRefused();
    line.OnMove({5, 1});
    line.OnUp({5, 1});
    EXPECT_TRUE(line.Blocked());
    EXPECT_EQ(doc->m_nUndoIndex, before);
    EXPECT_TRUE(canvas->bands.empty());
    EXPECT_EQ(Picture(), Only({}));
    line.OnDown({1, 1});
    EXPECT_FALSE(line.Blocked());
    line.OnUp({5, 1});
    EXPECT_EQ(Picture(), Only({{1, ".####......."}}));
}

TEST_F(PenLineToolsTest, BusyDocumentIsNotDrawnOn) {
    doc->m_bBusy = 1;
    tools::PenTool pen(*canvas);
    tools::LineTool line(*canvas);
    const int before = doc->m_nUndoIndex;
    pen.OnDown({1, 1});
    pen.OnUp({4, 4});
    line.OnDown({1, 1});
    line.OnUp({4, 1});
    EXPECT_EQ(doc->m_nUndoIndex, before);
    EXPECT_EQ(Picture(), Only({}));
    EXPECT_EQ(canvas->begins, 0);
}

TEST_F(PenLineToolsTest, ColourPickKeepsLockedRows) {
    tools::PenTool pen(*canvas);
    pen.OnDown({2, 2});
    pen.OnUp({2, 2});
    doc->m_nColor = 20;
    canvas->dragBits = 2;
    pen.OnMove({2, 2});
    EXPECT_EQ(doc->m_nColor, 5);
    EXPECT_EQ(canvas->paletteBar, 1);
    doc->m_nColor = 20;
    doc->m_wPaletteLock = 1;  // entries 0..15
    pen.OnMove({2, 2});
    EXPECT_EQ(doc->m_nColor, 20);
}

TEST_F(PenLineToolsTest, ToolTableReachesThePenAndTheLineWithShiftConstraints) {
    doc = DocumentWithImage(40, 40);
    ASSERT_TRUE(document::CreateLayer(*doc, 0, 1));
    doc->m_nColor = 5;
    canvas = std::make_unique<FakeCanvas>(doc.get());
    tools::PenLineTools tools(*canvas);
    tools::ToolTable table;
    tools.Register(table);
    auto layer = [&](int x, int y) {
        MemLockGuard lock(doc->m_hLayers[0]);
        return static_cast<const uint8_t*>(lock.get())[LAYER_HEADER_SIZE + size_t(39 - y) * 40 + size_t(x)];
    };
    // Shift-drag with the pen from (10, 10) to (14, 30): the vertical stroke x = 10.
    const ImagePoint origin{10, 10};
    table.Get(tools::kPenTool).OnDown(origin);
    table.Get(tools::kPenTool).OnMove(tools::ConstrainShift(tools::kPenTool, origin, {12, 20}));
    table.Get(tools::kPenTool).OnUp(tools::ConstrainShift(tools::kPenTool, origin, {14, 30}));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(layer(x, y), x == 10 && y >= 10 && y <= 30 ? 5 : 0) << x << "," << y;
    // Shift-drag with the line from (0, 0) to (10, 8) ends at (10, 10): the
    // diagonal keeps both ends.
    doc->m_nColor = 6;
    const ImagePoint start{0, 0};
    table.Get(tools::kLineTool).OnDown(start);
    table.Get(tools::kLineTool).OnUp(tools::ConstrainShift(tools::kLineTool, start, {10, 8}));
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(layer(i, i), 6) << i;
    EXPECT_EQ(layer(11, 11), 0);
}

// The frame's half of a view's canvas, with the drawing half left empty.
class FrameCanvas : public tools::FrameToolCanvas {
public:
    explicit FrameCanvas(CPelmarkDoc* d) : doc(d) {}
    CPelmarkDoc* Document() override { return doc; }
    int Zoom() const override { return 1; }
    tools::PixelAccess* BeginPixelAccess() override { return nullptr; }
    void EndPixelAccess() override {}
    void InvalidateDirty(DibRect, int, bool) override {}
    void ToggleRubberBand(const std::vector<ImagePoint>&) override {}
    void AutoScrollCheck(ImagePoint) override {}
    ImagePoint AutoScroll(ImagePoint p) override { return p; }
    bool ReleaseOutsideView(ImagePoint) override { return false; }
    int DragBits() override { return 0; }
    void ClearRightDrag() override {}
    CPelmarkDoc* doc;
};

TEST_F(PenLineToolsTest, FrameServesSettingsProbeAndPaletteBar) {
    auto* recording = new RecordingFrame;
    app->SetMainFrame(recording);
    FrameCanvas frameCanvas(doc.get());
    EXPECT_EQ(frameCanvas.ToolOption(4), recording->GetToolOption(4));
    EXPECT_EQ(frameCanvas.ToolOption(18), recording->GetToolOption(18));
    recording->messages.clear();
    frameCanvas.PaletteBarChanged();
    ASSERT_FALSE(recording->messages.empty());
    EXPECT_EQ(recording->messages[0].first, uint32_t(WM_PALETTEBAR_UPDATE));
    frameCanvas.RefreshAfterStroke();
    frameCanvas.RefreshAfterLine();
}

}  // namespace
}  // namespace doctest
