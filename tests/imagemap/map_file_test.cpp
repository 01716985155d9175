// *.map files: the written bytes, reading back, damaged and oversized input,
// GBK files, and a write cut short by the file-size limit.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "imagemap/map_file.h"
#include "tests/support/file_size_limit.h"

namespace imagemap {
namespace {

RegionTable Rect(MapPoint a, MapPoint b, const std::string& url) {
    RegionTable t;
    t.BeginTwoPoint(kRectangle, a);
    t.MoveSecondPoint(b);
    t.FinishTwoPoint(0);
    t.SetUrl(0, url);
    return t;
}

void ClosedPolygon(RegionTable& t, std::initializer_list<MapPoint> vertices) {
    for (MapPoint p : vertices) t.AddPolygonPoint(p, 0);
    t.AddPolygonPoint(*vertices.begin(), 0);
}

TEST(MapFileTest, RectangleLineByteForByte) {
    EXPECT_EQ(WriteMapText(Rect({10, 20}, {50, 60}, "a.html")), "rect      a.html 10,20 50,60\r\n");
}

TEST(MapFileTest, PolygonPointAndPlaceholder) {
    RegionTable t;
    ClosedPolygon(t, {{1, 2}, {30, 2}, {15, 40}});
    t.AddPointRegion({7, 8});
    t.SetUrl(1, "p.html");
    t.BeginTwoPoint(kCircle, {100, 100});
    t.MoveSecondPoint({100, 130});
    t.FinishTwoPoint(0);
    // An open polygon is not written.
    t.AddPolygonPoint({200, 200}, 0);
    t.AddPolygonPoint({220, 200}, 0);
    t.AddPolygonPoint({220, 220}, 0);
    const std::string text = WriteMapText(t);
    EXPECT_EQ(text,
              "poly      请在这里写 URL 地址 1,2 30,2 15,40\r\n"
              "point     p.html 7,8\r\n"
              "circle    请在这里写 URL 地址 100,100 100,130\r\n");

    RegionTable back;
    EXPECT_TRUE(ReadMapText(text, back).messages.empty());
    ASSERT_EQ(back.Finished(), 3);
    EXPECT_EQ(back.Url(0), "");
    EXPECT_EQ(back.Region(0).type, kPolygon);
    EXPECT_EQ(back.Region(0).count, 4);  // closed in memory
    EXPECT_TRUE(IsClosedPolygon(back.Region(0)));
    EXPECT_EQ(back.Region(1).count, 2);  // the point twice
    EXPECT_EQ(back.Region(1).points[1], (MapPoint{7, 8}));
    EXPECT_EQ(WriteMapText(back), text);
}

TEST(MapFileTest, DamagedLinesAreSkippedWithTheirText) {
    const std::string text =
        "rect      a.html 1,2 3,4\r\n"
        "\r\n"
        "rect      nothing here\r\n"
        "circle    c 1,2 x,4\r\n"
        "rect      big 1,2 40000,3\r\n"
        "zzz       z 1,2 3,4\r\n"
        "point     b.html 5,6\r\n";
    RegionTable t;
    MapReadResult r = ReadMapText(text, t);
    EXPECT_EQ(t.Finished(), 2);
    EXPECT_EQ(t.Url(1), "b.html");
    ASSERT_EQ(r.messages.size(), 5u);
    EXPECT_EQ(r.messages[0], "数据损坏\n");
    EXPECT_EQ(r.messages[1], "数据损坏\nrect      nothing here");
    EXPECT_EQ(r.messages[3], "数据损坏\nrect      big 1,2 40000,3");
}

TEST(MapFileTest, TwentyOneLinesStopAtTheTable) {
    std::string text;
    for (int i = 0; i < 21; ++i) text += "point     u" + std::to_string(i) + " " + std::to_string(i) + ",1\r\n";
    text += "bad line\r\n";
    RegionTable t;
    MapReadResult r = ReadMapText(text, t);
    EXPECT_EQ(t.Finished(), kMaxRegions);
    EXPECT_EQ(r.messages, std::vector<std::string>{"最大 20 个。"});
}

TEST(MapFileTest, HundredAndOnePairsAreDamaged) {
    auto line = [](int pairs) {
        std::string s = "poly      u";
        for (int i = 0; i < pairs; ++i) s += " " + std::to_string(i) + "," + std::to_string(i % 3);
        return s + "\r\n";
    };
    RegionTable t;
    EXPECT_EQ(ReadMapText(line(101), t).messages.size(), 1u);
    EXPECT_EQ(t.Finished(), 0);
    EXPECT_TRUE(ReadMapText(line(100), t).messages.empty());
    EXPECT_EQ(t.Region(0).count, kPointSlots);
}

TEST(MapFileTest, LongUrlIsCutAtTheLastWholeCharacter) {
    std::string url = "http://e.org/";
    while (url.size() < 200) url += "地";
    RegionTable t;
    ReadMapText("point     " + url + " 1,1\r\n", t);
    ASSERT_EQ(t.Finished(), 1);
    EXPECT_LE(t.Url(0).size(), kMaxUrlBytes);
    EXPECT_EQ(t.Url(0), url.substr(0, t.Url(0).size()));
    EXPECT_GT(t.Url(0).size(), kMaxUrlBytes - 3);
}

TEST(MapFileTest, CommaInUrlSurvives) {
    const std::string text = WriteMapText(Rect({1, 2}, {9, 9}, "a.cgi?x=1,2&y=3"));
    EXPECT_EQ(text, "rect      a.cgi?x=1%2C2&y=3 1,2 9,9\r\n");
    RegionTable back;
    ReadMapText(text, back);
    ASSERT_EQ(back.Finished(), 1);
    EXPECT_EQ(back.Url(0), "a.cgi?x=1,2&y=3");
    EXPECT_EQ(back.Region(0).points[0], (MapPoint{1, 2}));
    EXPECT_EQ(WriteMapText(back), text);
}

TEST(MapFileTest, OnlyTheProgramsOwnCommaEscapeIsDecoded) {
    struct Case {
        const char* url;
        const char* written;
    };
    for (const Case& c : {Case{"x%2Cy", "x%252Cy"}, Case{"x%252C,", "x%25252C%2C"}, Case{"100%25", "100%25"},
                          Case{"%", "%"}, Case{"a%2,b", "a%2%2Cb"}}) {
        SCOPED_TRACE(c.url);
        const std::string text = WriteMapText(Rect({1, 2}, {9, 9}, c.url));
        EXPECT_EQ(text, std::string("rect      ") + c.written + " 1,2 9,9\r\n");
        RegionTable back;
        ReadMapText(text, back);
        ASSERT_EQ(back.Finished(), 1);
        EXPECT_EQ(back.Url(0), c.url);
    }
    // Files of earlier versions: "%2C" is a comma, any other '%' itself.
    RegionTable old;
    ReadMapText("rect      a%2Cb%2c%20%25 1,2 9,9\r\n", old);
    ASSERT_EQ(old.Finished(), 1);
    EXPECT_EQ(old.Url(0), "a,b,%20%25");
}

// A URL near the limit with commas comes back whole from its file, however
// often it is saved and read again.
TEST(MapFileTest, ALongUrlWithCommasKeepsItsLengthThroughFiles) {
    std::string url = "q?";
    while (url.size() < kMaxUrlBytes - 2) url += "a,";
    RegionTable table = Rect({1, 2}, {9, 9}, url);
    ASSERT_EQ(table.Url(0), url);
    for (int round = 0; round < 3; ++round) {
        RegionTable back;
        ReadMapText(WriteMapText(table), back);
        ASSERT_EQ(back.Finished(), 1);
        EXPECT_EQ(back.Url(0), url) << round;
        table = back;
    }
}

TEST(MapFileTest, FilesInUtf8AndGbk) {
    QTemporaryDir dir;
    const QString utf8 = dir.filePath("a.map");
    ASSERT_TRUE(WriteMapFile(utf8, Rect({1, 2}, {3, 4}, "地图.html")));
    RegionTable t;
    ASSERT_TRUE(ReadMapFile(utf8, t, nullptr));
    EXPECT_EQ(t.Url(0), "地图.html");

    const QString gbk = dir.filePath("b.map");
    QFile f(gbk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QStringEncoder encode("GBK");
    f.write(encode(QString::fromUtf8("circle    请在这里写 URL 地址 5,5 9,5\r\nrect      中文.html 1,1 4,4\r\n")));
    f.close();
    MapReadResult r;
    ASSERT_TRUE(ReadMapFile(gbk, t, &r));
    EXPECT_TRUE(r.messages.empty());
    ASSERT_EQ(t.Finished(), 2);
    EXPECT_EQ(t.Url(0), "");
    EXPECT_EQ(t.Url(1), "中文.html");
    EXPECT_FALSE(ReadMapFile(dir.filePath("none.map"), t, nullptr));
    EXPECT_EQ(t.Finished(), 2);
}

TEST(MapFileTest, WriteCutShortKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("old.map");
    ASSERT_TRUE(WriteMapFile(path, Rect({1, 2}, {3, 4}, "old")));
    RegionTable big;
    for (int i = 0; i < kMaxRegions; ++i) {
        big.AddPointRegion({i, i});
        big.SetUrl(i, std::string(100, 'u'));
    }
    const bool written = kvtest::WithFileSizeLimit(512, [&] { return WriteMapFile(path, big); });
    EXPECT_FALSE(written);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(), "rect      old 1,2 3,4\r\n");
}

}  // namespace
}  // namespace imagemap
