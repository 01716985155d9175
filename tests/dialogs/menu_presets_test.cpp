// Reading "menu.txt": groups of name, width and height; '-' names skipped.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "dialogs/menu_presets.h"
#include "platform/message_box_recorder.h"

void PrintTo(const SizePreset& p, std::ostream* os) { *os << p.name << ' ' << p.width << 'x' << p.height; }

namespace {

using Presets = std::vector<SizePreset>;

TEST(MenuPresets, Parsing) {
    struct Case {
        const char* what;
        std::string text;
        Presets expected;
    };
    const Case cases[] = {
        {"three per group, any white space", "icon 16 16\r\n\tscreen\t640\n480  ",
         {{"icon", 16, 16}, {"screen", 640, 480}}},
        {"a minus name is skipped alone", "-sprites 16 16 32 tile 8 8",
         {{"16", 16, 32}, {"tile", 8, 8}}},
        {"a lone minus between groups", "a 1 2\n-\nb 3 4", {{"a", 1, 2}, {"b", 3, 4}}},
        {"only the minus at the start counts", "x-y 5 6", {{"x-y", 5, 6}}},
        {"leading digits", "big 32px +7", {{"big", 32, 7}}},
        {"a word as a number is 0", "odd wide 9", {{"odd", 0, 9}}},
        {"a name without its numbers at the end", "a 1 2 b 3", {{"a", 1, 2}}},
        {"empty", "", {}},
        {"UTF-8 names", "图标 16 16", {{"图标", 16, 16}}},
        {"GBK names", "\xCD\xBC\xB1\xEA 24 24", {{"图标", 24, 24}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ParseMenuPresets(c.text), c.expected);
    }
}

TEST(MenuPresets, LongNamesAreCutAndTheTableIsBounded) {
    std::string ascii(150, 'n');
    std::string wide;
    for (int i = 0; i < 40; ++i) wide += "图";  // 120 bytes
    Presets presets = ParseMenuPresets(ascii + " 1 2 " + wide + " 3 4");
    ASSERT_EQ(presets.size(), 2u);
    EXPECT_EQ(presets[0].name, std::string(99, 'n'));
    EXPECT_EQ(presets[0].width, 1);
    EXPECT_EQ(presets[1].name, wide.substr(0, 99));  // 33 whole characters
    EXPECT_EQ(presets[1].height, 4);

    std::string many;
    for (int i = 0; i < 300; ++i) many += "p" + std::to_string(i) + " 1 1\n";
    presets = ParseMenuPresets(many);
    ASSERT_EQ(presets.size(), size_t(kMaxMenuPresets));
    EXPECT_EQ(presets.back().name, "p255");
}

TEST(MenuPresets, MissingFileSaysNotFile) {
    QTemporaryDir dir;
    platform::MessageBoxRecorder boxes;
    Presets presets{{"old", 1, 1}};
    EXPECT_EQ(ReadMenuTxt(dir.path() + "/", presets), 0);
    EXPECT_TRUE(presets.empty());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "not file");

    QFile file(dir.filePath("menu.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("one 10 20");
    file.close();
    EXPECT_EQ(ReadMenuTxt(dir.path() + "/", presets), 1);
    EXPECT_EQ(presets, (Presets{{"one", 10, 20}}));
    EXPECT_EQ(boxes.Count(), 1u);
}

TEST(MenuPresets, TheShippedFileFitsEveryImage) {
    for (const char* path : {KAVOLT_MENU_TXT_SOURCE, KAVOLT_MENU_TXT_INSTALLED}) {
        SCOPED_TRACE(path);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        Presets presets = ParseMenuPresets(std::string_view(bytes.constData(), size_t(bytes.size())));
        ASSERT_GE(presets.size(), 10u);
        EXPECT_EQ(presets.front(), (SizePreset{"图标16x16", 16, 16}));
        EXPECT_EQ(presets.back(), (SizePreset{"XGA_1024x768", 1024, 768}));
        for (const SizePreset& p : presets) {
            EXPECT_TRUE(p.width >= 1 && p.width <= 2048 && p.height >= 1 && p.height <= 2048) << p.name;
            // Every name says its size.
            std::string size = std::to_string(p.width) + "x" + std::to_string(p.height);
            EXPECT_NE(p.name.find(size), std::string::npos) << p.name;
        }
    }
}

}  // namespace
