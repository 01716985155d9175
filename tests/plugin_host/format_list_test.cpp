// The list of file-format plug-ins, built from libraries loaded for real.
#include <QFile>

#include "host_fixture.h"
#include "plugin_host/format_plugins.h"

namespace hosttest {
namespace {

using namespace plugin_host;
using FormatListTest = HostTest;

std::vector<std::string> ListedLibraries() {
    std::vector<std::string> names;
    for (const PluginEntry& e : FormatPluginList()) {
        size_t slash = e.text.rfind('/', e.text.size() - 3);
        names.push_back(e.text.substr(slash + 1, e.text.size() - slash - 3));
    }
    return names;
}

TEST_F(FormatListTest, EntryTextIsInfoThenPath) {
    UsePlugins({"Trivial.FLT"});
    ASSERT_EQ(EnumFormatPlugins(PluginListMode::Reading), 1);
    EXPECT_EQ(FormatPluginList()[0].text,
              "Kvt 文件(*.KVT)/*.kvt/<" + ProgramDir().toStdString() + "Trivial.FLT>/");
    FilterPair pair = EntryFilter(FormatPluginList()[0]);
    EXPECT_EQ(pair.name, "kvt 文件(*.kvt)");
    EXPECT_EQ(pair.patterns, "*.kvt");
}

TEST_F(FormatListTest, FiftyOneLibrariesListTheFirstFiftyByName) {
    QStringList names;
    for (int i = 50; i >= 0; --i) names.push_back(QString("Trivial.FLT=p%1.flt").arg(i, 2, 10, QChar('0')));
    UsePlugins(names);
    EXPECT_EQ(EnumFormatPlugins(PluginListMode::Reading), 50);
    std::vector<std::string> listed = ListedLibraries();
    EXPECT_EQ(listed.front(), "p00.flt");
    EXPECT_EQ(listed.back(), "p49.flt");
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(FormatListTest, ExtensionsMatchOnlyInCapitals) {
    // The small-letter lister comes first by name, yet never matches.
    UsePlugins({"A_LowerGif.FLT", "UpperGif.FLT"});
    ASSERT_EQ(EnumFormatPlugins(PluginListMode::Reading), 2);
    for (const char* ext : {"gif", "GIF", "Gif", "gIF"}) {
        EXPECT_EQ(FindFirstPluginForExtension(ext), 1) << ext;
        EXPECT_TRUE(SelectedPluginPath().endsWith("/UpperGif.FLT")) << ext;
    }
    EXPECT_EQ(FindFirstPluginForExtension("png"), -1);
    EXPECT_EQ(FindPluginForExtension(0, "GIF"), 0);
    EXPECT_EQ(FindPluginForExtension(2, "GIF"), 0);  // past the list
}

TEST_F(FormatListTest, ExtensionsEndAtBlankAmpersandParenthesisOrSemicolon) {
    UsePlugins({"NoCheck.FLT"});  // "Nck 文件(*.NCK;*.NC2)"
    ASSERT_EQ(EnumFormatPlugins(PluginListMode::Reading), 1);
    const std::pair<const char*, int> cases[] = {
        {"NCK", 1}, {"NC2", 1}, {"NC", 0}, {"NCK;*", 0}, {"nck", 0}, {"", 0}};
    for (auto [ext, found] : cases) EXPECT_EQ(FindPluginForExtension(0, ext), found) << ext;
}

TEST_F(FormatListTest, ModesAndLayersDecideWhoIsListed) {
    UsePlugins({"Trivial.FLT", "Flat.FLT", "Reader.FLT", "NoCheck.FLT", "Script.FLT"});
    struct Case {
        PluginListMode mode;
        bool needsLayers;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {PluginListMode::Reading, false, {"Flat.FLT", "NoCheck.FLT", "Reader.FLT", "Script.FLT", "Trivial.FLT"}},
        {PluginListMode::Reading, true, {"Flat.FLT", "NoCheck.FLT", "Reader.FLT", "Script.FLT", "Trivial.FLT"}},
        {PluginListMode::Writing, false, {"Flat.FLT", "NoCheck.FLT", "Trivial.FLT"}},
        {PluginListMode::Writing, true, {"Trivial.FLT"}},
    };
    for (const Case& c : cases) {
        EnumFormatPlugins(c.mode, c.needsLayers);
        EXPECT_EQ(ListedLibraries(), c.listed) << int(c.mode) << c.needsLayers;
    }
    {
        ScopedSavingDocument saving(true);
        EnumFormatPlugins(PluginListMode::Writing);
        EXPECT_EQ(ListedLibraries(), std::vector<std::string>{"Trivial.FLT"});
    }
    EnumFormatPlugins(PluginListMode::Writing);  // no active document
    EXPECT_EQ(ListedLibraries().size(), 3u);
}

TEST_F(FormatListTest, LibrariesWithoutInfoAreOldFormats) {
    UsePlugins({"NoInfo.FLT", "Trivial.FLT"});
    WriteFile("x", "");
    QString broken = ProgramDir() + "Broken.flt";
    QFile::copy(FilePath("x"), broken);
    EXPECT_EQ(EnumFormatPlugins(PluginListMode::Reading), 1);
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Requests()[0].text, broken.toStdString() + "\n 是旧格式");
    EXPECT_EQ(boxes.Requests()[1].text, ProgramDir().toStdString() + "NoInfo.FLT\n 是旧格式");
    EXPECT_EQ(boxes.Requests()[1].owner, frame->WindowHandle());
    EXPECT_EQ(boxes.Requests()[1].caption, "Kavolt");
}

}  // namespace
}  // namespace hosttest
