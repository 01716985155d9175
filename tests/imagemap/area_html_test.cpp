// The HTML area text: the lines for a small table, and the text inside a
// minimal page read back by libxml2's HTML parser.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include "imagemap/area_html.h"

namespace imagemap {
namespace {

void AddRect(RegionTable& t, MapPoint a, MapPoint b) {
    t.BeginTwoPoint(kRectangle, a);
    t.MoveSecondPoint(b);
    t.FinishTwoPoint(0);
}

void AddCircle(RegionTable& t, MapPoint c, MapPoint edge) {
    t.BeginTwoPoint(kCircle, c);
    t.MoveSecondPoint(edge);
    t.FinishTwoPoint(0);
}

void AddPolygon(RegionTable& t, const std::vector<MapPoint>& vertices) {
    for (MapPoint p : vertices) t.AddPolygonPoint(p, 0);
    t.AddPolygonPoint(vertices.front(), 0);
}

TEST(AreaHtmlTest, LinesOfASmallTable) {
    RegionTable t;
    AddRect(t, {10, 20}, {50, 60});
    t.SetUrl(0, "a.html");
    AddPolygon(t, {{1, 2}, {30, 2}, {15, 40}});
    t.AddPointRegion({5, 5});  // no area
    AddCircle(t, {100, 100}, {100, 130});  // dragged straight down: radius 30
    t.SetUrl(3, "c.html?a=1&b=\"2\"");
    EXPECT_EQ(BuildAreaHtml(t),
              "<area\r\n  shape=rect\r\n  coords=\"10,20,50,60\"\r\n  alt=\"HTML\"\r\n  href=\"a.html\">\r\n"
              "<area\r\n  shape=poly\r\n  coords=\"1,2,30,2,15,40\"\r\n  alt=\"HTML\"\r\n"
              "  href=\"请在这里写 URL 地址\">\r\n"
              "<area\r\n  shape=circle\r\n  coords=\"100,100,30\"\r\n  alt=\"HTML\"\r\n"
              "  href=\"c.html?a=1&amp;b=&quot;2&quot;\">\r\n");
    EXPECT_EQ(BuildAreaHtml(RegionTable{}), "");
}

struct ParsedArea {
    std::string shape, coords, alt, href;
};

struct ParseResult {
    std::vector<std::string> problems;
    std::vector<ParsedArea> areas;
};

void CollectProblem(void* context, xmlErrorPtr error) {
    static_cast<std::vector<std::string>*>(context)->push_back(error && error->message ? error->message : "?");
}

std::string Prop(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string out = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return out;
}

void FindAreas(xmlNode* node, std::vector<ParsedArea>& out) {
    for (; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, BAD_CAST "area") == 0)
            out.push_back({Prop(node, "shape"), Prop(node, "coords"), Prop(node, "alt"), Prop(node, "href")});
        FindAreas(node->children, out);
    }
}

ParseResult ParsePage(const std::string& areas) {
    const std::string page =
        "<!DOCTYPE html>\r\n<html><head><meta charset=\"utf-8\"><title>map</title></head><body>\r\n"
        "<img src=\"a.png\" usemap=\"#m\" alt=\"map\">\r\n<map name=\"m\">\r\n" +
        areas + "</map>\r\n</body></html>\r\n";
    ParseResult result;
    xmlSetStructuredErrorFunc(&result.problems, CollectProblem);
    htmlDocPtr doc = htmlReadMemory(page.data(), int(page.size()), "page.html", "UTF-8", HTML_PARSE_NONET);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (!doc) {
        result.problems.push_back("no document");
        return result;
    }
    FindAreas(xmlDocGetRootElement(doc), result.areas);
    xmlFreeDoc(doc);
    return result;
}

TEST(AreaHtmlTest, PageParsesWithEveryAreaAsWritten) {
    RegionTable t;
    AddRect(t, {10, 20}, {50, 60});
    t.SetUrl(0, "a.html?x=1&y=2");
    AddPolygon(t, {{1, 2}, {30, 2}, {15, 40}});
    t.SetUrl(1, "say \"hi\".html");
    t.AddPointRegion({5, 5});
    AddCircle(t, {100, 100}, {103, 104});
    t.SetUrl(3, "<b>.html");
    AddRect(t, {0, 0}, {5, 5});
    t.SetUrl(4, "地图/页面.html");
    AddRect(t, {6, 6}, {9, 9});  // no URL

    ParseResult r = ParsePage(BuildAreaHtml(t));
    EXPECT_TRUE(r.problems.empty()) << r.problems.front();
    const std::vector<std::vector<std::string>> expected = {
        {"rect", "10,20,50,60", "a.html?x=1&y=2"},
        {"poly", "1,2,30,2,15,40", "say \"hi\".html"},
        {"circle", "100,100,5", "<b>.html"},
        {"rect", "0,0,5,5", "地图/页面.html"},
        {"rect", "6,6,9,9", "请在这里写 URL 地址"},
    };
    ASSERT_EQ(r.areas.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(r.areas[i].shape, expected[i][0]) << i;
        EXPECT_EQ(r.areas[i].coords, expected[i][1]) << i;
        EXPECT_EQ(r.areas[i].alt, "HTML") << i;
        EXPECT_EQ(r.areas[i].href, expected[i][2]) << i;
    }
}

TEST(AreaHtmlTest, TwentyPolygonsOfHundredVerticesAreComplete) {
    RegionTable t;
    for (int i = 0; i < kMaxRegions; ++i) {
        std::vector<MapPoint> vertices;
        for (int j = 0; j < kMaxPoints; ++j) vertices.push_back({30000 + j * 10, j % 2 ? 32000 : 31000 + i});
        AddPolygon(t, vertices);
        t.SetUrl(i, "http://example.org/" + std::to_string(i));
    }
    ASSERT_EQ(t.Finished(), kMaxRegions);
    const std::string html = BuildAreaHtml(t);
    EXPECT_GT(html.size(), 0x5400u);
    ParseResult r = ParsePage(html);
    EXPECT_TRUE(r.problems.empty());
    ASSERT_EQ(r.areas.size(), size_t(kMaxRegions));
    EXPECT_EQ(r.areas.back().href, "http://example.org/19");
    EXPECT_EQ(r.areas.back().coords.rfind("30990,32000"), r.areas.back().coords.size() - 11);
}

}  // namespace
}  // namespace imagemap
