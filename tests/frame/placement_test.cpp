#include <gtest/gtest.h>

#include "frame/window_placement.h"
#include "palettes/palette_position.h"

namespace {

TEST(WindowPlacement, FormatAndParseRoundTrip) {
    WindowPlacement p;
    p.flags = 2;
    p.showCmd = 3;
    p.minX = -1;
    p.minY = -32000;
    p.maxX = 0;
    p.maxY = 7;
    p.normal = QRect(QPoint(10, 20), QPoint(809, 619));
    QString text = FormatWindowPlacement(p);
    EXPECT_EQ(text, "2,3,-1,-32000,0,7,10,20,810,620");
    std::optional<WindowPlacement> back = ParseWindowPlacement(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(FormatWindowPlacement(*back), text);
    EXPECT_EQ(back->normal, p.normal);
}

TEST(WindowPlacement, IncompleteValuesAreIgnored) {
    for (const char* text : {"", "1,2,3,4,5,6,7,8,9", "a,1,2,3,4,5,6,7,8,9", "0,1,2,3,4,5,6,7,8,",
                             "0;1;2;3;4;5;6;7;8;9", "0,1,2,3,4,5,6,7,8,99999999999"})
        EXPECT_FALSE(ParseWindowPlacement(QString::fromLatin1(text))) << text;
    EXPECT_TRUE(ParseWindowPlacement("0,1,2,3,4,5,6,7,8,9,extra"));
}

TEST(PalettePosition, NumberListNeedsExactlyItsCount) {
    struct Case {
        const char* text;
        int count;
        std::vector<int> expected;  // empty: refused
    } cases[] = {
        {"10,20", 2, {10, 20}},
        {" 10, -20", 2, {10, -20}},
        {"10", 2, {}},
        {"10,20,30", 2, {10, 20}},
        {"10,,20", 2, {}},
        {"x,20", 2, {}},
        {"1,2,3,4", 4, {1, 2, 3, 4}},
        {"1,2,3", 4, {}},
        {"1,2,3,4,5,6,7,8,9,10", 11, {}},
    };
    for (const Case& c : cases) {
        std::optional<std::vector<int>> got = ParseNumberList(QString::fromLatin1(c.text), c.count);
        if (c.expected.empty()) EXPECT_FALSE(got) << c.text;
        else EXPECT_EQ(got.value_or(std::vector<int>{}), c.expected) << c.text;
    }
}

TEST(PalettePosition, ClampKeepsTheWindowOnTheScreen) {
    QRect screen(0, 0, 1280, 1024);
    EXPECT_EQ(ClampToScreen(QRect(-50, -10, 200, 100), screen).topLeft(), QPoint(0, 0));
    EXPECT_EQ(ClampToScreen(QRect(1200, 1000, 200, 100), screen).topLeft(), QPoint(1080, 924));
    EXPECT_EQ(ClampToScreen(QRect(30, 40, 200, 100), screen).topLeft(), QPoint(30, 40));
}

}  // namespace
