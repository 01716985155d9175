// The region table alone: URL cutting, the polygon's point limit with its
// closing click, and the compaction after removals.
#include <gtest/gtest.h>

#include "imagemap/image_map.h"

namespace imagemap {
namespace {

TEST(ImageMapTest, UrlIsCutOnACharacterBoundary) {
    // 42 three-byte characters are 126 bytes; one more would pass 127.
    std::string url;
    for (int i = 0; i < 43; ++i) url += "图";
    EXPECT_EQ(CutUtf8(url).size(), 126u);
    EXPECT_EQ(CutUtf8(std::string(127, 'a')).size(), 127u);
    EXPECT_EQ(CutUtf8(std::string(200, 'a')).size(), 127u);
    RegionTable table;
    table.SetUrl(0, url);
    EXPECT_EQ(table.Url(0), url.substr(0, 126));
}

TEST(ImageMapTest, PolygonOfHundredPointsStillCloses) {
    RegionTable table;
    for (int i = 0; i < kMaxPoints; ++i)
        ASSERT_EQ(table.AddPolygonPoint({10 + 3 * i, i % 2 ? 40 : 10}, 2), RegionTable::PolyClick::kAdded) << i;
    ASSERT_EQ(table.DrawCount(), kMaxPoints);
    EXPECT_TRUE(table.PointLimitReached());
    // A further vertex is refused, the click on the first vertex closes.
    EXPECT_EQ(table.AddPolygonPoint({500, 500}, 2), RegionTable::PolyClick::kRefused);
    EXPECT_EQ(table.AddPolygonPoint({11, 11}, 2), RegionTable::PolyClick::kClosed);
    ASSERT_EQ(table.Finished(), 1);
    EXPECT_EQ(table.Region(0).count, kPointSlots);
    EXPECT_EQ(table.Region(0).points[kMaxPoints], (MapPoint{10, 10}));
}

TEST(ImageMapTest, RegionLimitRefusesEveryShape) {
    RegionTable table;
    for (int i = 0; i < kMaxRegions; ++i) table.AddPointRegion({i, i});
    ASSERT_TRUE(table.RegionLimitReached());
    table.AddPointRegion({1, 1});
    table.BeginTwoPoint(kRectangle, {5, 5});
    EXPECT_FALSE(table.FinishTwoPoint(0));
    EXPECT_EQ(table.AddPolygonPoint({3, 3}, 0), RegionTable::PolyClick::kRefused);
    EXPECT_EQ(table.Finished(), kMaxRegions);
}

TEST(ImageMapTest, DeleteCompactsWithUrls) {
    RegionTable table;
    for (int i = 0; i < 3; ++i) {
        table.AddPointRegion({10 * i, 0});
        table.SetUrl(i, std::to_string(i));
    }
    ASSERT_TRUE(table.DeleteAt({10, 0}, 0));
    ASSERT_EQ(table.Finished(), 2);
    EXPECT_EQ(table.Url(1), "2");
    EXPECT_EQ(table.Region(1).points[0], (MapPoint{20, 0}));
    EXPECT_EQ(table.Region(2).count, 0);
    EXPECT_FALSE(table.DeleteAt({10, 0}, 0));
}

TEST(ImageMapTest, RegionToViewScalesToPixelCentres) {
    RegionTable table;
    table.BeginTwoPoint(kRectangle, {1, 2});
    table.MoveSecondPoint({5, 6});
    ASSERT_TRUE(table.FinishTwoPoint(0));
    ImageMapRegion v = RegionToView(table.Region(0), 4, 10, 20);
    EXPECT_EQ(v.points[0], (MapPoint{4 + 2 + 10, 8 + 2 + 20}));
    EXPECT_EQ(v.points[1], (MapPoint{20 + 2 + 10, 24 + 2 + 20}));
    ImageMapRegion bad;
    bad.type = 9;
    bad.count = 2;
    EXPECT_EQ(RegionToView(bad, 1, 0, 0).count, 0);
}

}  // namespace
}  // namespace imagemap
