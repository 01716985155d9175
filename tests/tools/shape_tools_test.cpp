// The shape tools on a document through a recording canvas: the band of each
// drag and the sizes reported, the circle's 2r + 1, a band the view dropped
// at a zoom change, and the refresh after each shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "../document/doc_fixture.h"
#include "document/layer_factory.h"
#include "tools/pixel_access.h"
#include "tools/shape_tools.h"

namespace doctest {
namespace {

using tools::ImagePoint;

struct Band {
    bool ellipse;
    DibRect box;
    bool operator==(const Band& o) const {
        return ellipse == o.ellipse && box.left == o.box.left && box.top == o.box.top && box.right == o.box.right &&
               box.bottom == o.box.bottom;
    }
};

class ShapeCanvas : public tools::ToolCanvas {
public:
    explicit ShapeCanvas(CPelmarkDoc* d) : doc(d) {}
    CPelmarkDoc* Document() override { return doc; }
    int Zoom() const override { return zoom; }
    int ToolOption(int index) override { return options.count(index) ? options[index] : 1; }
    tools::PixelAccess* BeginPixelAccess() override { return access.Begin(doc, 0, nullptr) ? &access : nullptr; }
    void EndPixelAccess() override { access.End(); }
    void InvalidateDirty(DibRect, int, bool) override {}
    void ToggleRubberBand(const std::vector<ImagePoint>&) override {}
    void AutoScrollCheck(ImagePoint) override {}
    ImagePoint AutoScroll(ImagePoint p) override { return p; }
    bool ReleaseOutsideView(ImagePoint) override { return false; }
    int DragBits() override { return 1; }
    void ClearRightDrag() override {}
    void PaletteBarChanged() override {}
    void RefreshAfterStroke() override {}
    void RefreshAfterLine() override {}
    void ToggleFrameRect(const DibRect& r) override { Toggle({false, r}); }
    void ToggleEllipseBand(const DibRect& r) override { Toggle({true, r}); }
    void ReportToolSize(int w, int h) override { reports.emplace_back(w, h); }
    bool ShiftHeld() override { return shift; }
    void RefreshAfterShape() override { ++refreshes; }

    void Toggle(const Band& b) {
        auto it = std::find(bands.begin(), bands.end(), b);
        if (it != bands.end())
            bands.erase(it);
        else
            bands.push_back(b);
    }

    CPelmarkDoc* doc;
    int zoom = 1;
    bool shift = false;
    std::map<int, int> options{{6, 0}, {9, 0}, {12, 1}};
    tools::PixelAccess access;
    std::vector<Band> bands;
    std::vector<std::pair<int, int>> reports;
    int refreshes = 0;
};

class ShapeToolsTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        doc = DocumentWithImage(40, 30);
        ASSERT_TRUE(document::CreateLayer(*doc, 0, 1));
        doc->m_nColor = 5;
        canvas = std::make_unique<ShapeCanvas>(doc.get());
        tools = std::make_unique<tools::ShapeTools>(*canvas);
    }
    void TearDown() override {
        tools.reset();
        canvas.reset();
        doc.reset();
        DocTest::TearDown();
    }
    std::unique_ptr<CPelmarkDoc> doc;
    std::unique_ptr<ShapeCanvas> canvas;
    std::unique_ptr<tools::ShapeTools> tools;
};

TEST_F(ShapeToolsTest, TheBandFollowsTheDragAndTheSizeIsReported) {
    tools::RectEllipseTool& rect = tools->rect;
    rect.OnDown({3, 4});
    EXPECT_EQ(canvas->reports, (std::vector<std::pair<int, int>>{{1, 1}}));
    EXPECT_EQ(canvas->bands, (std::vector<Band>{{false, {3, 4, 4, 5}}}));
    rect.OnMove({9, 6});
    EXPECT_EQ(canvas->bands, (std::vector<Band>{{false, {3, 4, 10, 7}}}));
    EXPECT_EQ(canvas->reports.back(), std::make_pair(7, 3));
    // Shift makes the outline's box a square.
    canvas->shift = true;
    rect.OnMove({9, 6});
    EXPECT_EQ(canvas->bands, (std::vector<Band>{{false, {3, 4, 6, 7}}}));
    rect.OnUp({9, 6});
    EXPECT_TRUE(canvas->bands.empty());
    EXPECT_EQ(canvas->refreshes, 1);

    tools->filledEllipse.OnDown({20, 10});
    tools->filledEllipse.OnMove({12, 4});
    EXPECT_EQ(canvas->bands, (std::vector<Band>{{true, {12, 4, 21, 11}}}));
    tools->filledEllipse.OnUp({12, 4});
    EXPECT_TRUE(canvas->bands.empty());
    EXPECT_EQ(canvas->refreshes, 2);
}

TEST_F(ShapeToolsTest, ACircleDraggedTenPixelsReports21By21) {
    tools::CircleTool& circle = tools->circle;
    circle.OnDown({20, 15});
    // The centre is marked in the layer, no band yet.
    EXPECT_TRUE(canvas->bands.empty());
    circle.OnMove({26, 23});
    EXPECT_EQ(canvas->reports.back(), std::make_pair(21, 21));
    EXPECT_EQ(canvas->bands, (std::vector<Band>{{true, {10, 5, 31, 26}}}));
    circle.OnUp({26, 23});
    EXPECT_TRUE(canvas->bands.empty());
}

TEST_F(ShapeToolsTest, ABandTheViewDroppedAtAZoomChangeIsNotShownTwice) {
    tools->ellipse.OnDown({3, 4});
    tools->ellipse.OnMove({9, 9});
    // The view drops its outlines when the zoom changes.
    canvas->bands.clear();
    canvas->zoom = 4;
    tools->ellipse.OnMove({10, 9});
    EXPECT_EQ(canvas->bands, (std::vector<Band>{{true, {3, 4, 11, 10}}}));
    tools->ellipse.OnUp({10, 9});
    EXPECT_TRUE(canvas->bands.empty());
}

TEST_F(ShapeToolsTest, ABlockedOrBusyToolNeitherBandsNorDraws) {
    tools->rect.OnDownRefused();
    tools->rect.OnMove({5, 5});
    tools->rect.OnUp({5, 5});
    EXPECT_TRUE(canvas->bands.empty());
    EXPECT_EQ(canvas->refreshes, 0);
    doc->m_bBusy = 1;
    tools->circle.OnDown({5, 5});
    EXPECT_FALSE(tools->circle.Dragging());
    EXPECT_EQ(doc->m_hLayerBackup, nullptr);
    doc->m_bBusy = 0;
}

}  // namespace
}  // namespace doctest
