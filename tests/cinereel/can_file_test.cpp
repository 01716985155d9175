// *.can frame files: SaveCan and LoadCan on small files the tests write, the
// editor's strict list reader, and the list operations' frame moves.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/resource.h>

#include "plugin_api/anim_can_file.h"
#include "plugins/cinereel/frame_list_ops.h"
#include "plugins/cinereel/list_file.h"
#include "tests/support/file_size_limit.h"

namespace {

namespace fs = std::filesystem;

class CanFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kvcanXXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        table_ = can_file::AllocAnimTable();
        ASSERT_NE(table_, nullptr);
    }
    void TearDown() override {
        MemFree(table_);
        fs::remove_all(dir_);
    }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    std::string Write(const char* name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }
    std::string Read(const char* name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    AnimTable Table() const {
        AnimTable t;
        MemLockGuard lock(table_);
        std::memcpy(&t, lock.get(), sizeof t);
        return t;
    }
    void SetTable(const AnimTable& t) {
        MemLockGuard lock(table_);
        std::memcpy(lock.get(), &t, sizeof t);
    }
    static AnimTable Marked() {
        AnimTable t{};
        for (int i = 0; i < kAnimFrameCount; ++i) t[size_t(i)] = {i, 7, 8, 9, 55};
        return t;
    }
    static bool Same(const AnimTable& a, const AnimTable& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

    fs::path dir_;
    MemHandle table_ = nullptr;
};

TEST_F(CanFileTest, EmptyAndFullTablesAndTheLineLimit) {
    ASSERT_EQ(SaveCan(table_, Path("empty.can").c_str()), 1);
    EXPECT_EQ(Read("empty.can"), "");
    SetTable(Marked());
    ASSERT_EQ(LoadCan(table_, Path("empty.can").c_str()), 1);
    EXPECT_TRUE(Same(Table(), AnimTable{}));

    SetTable(Marked());
    ASSERT_EQ(SaveCan(table_, Path("full.can").c_str()), 1);
    const std::string full = Read("full.can");
    EXPECT_EQ(full.substr(0, 30), "0 7 8 9 55\r\n1 7 8 9 55\r\n2 7 8 ");
    size_t lines = 0;
    for (size_t p = 0; (p = full.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
    EXPECT_EQ(lines, 128u);
    EXPECT_EQ(full.back(), '\n');

    std::string longer = full + "500 1 1 1 1\r\n501 1 1 1 1\r\n";
    SetTable({});
    ASSERT_EQ(LoadCan(table_, Write("130.can", longer).c_str()), 1);
    EXPECT_TRUE(Same(Table(), Marked()));
}

TEST_F(CanFileTest, LinesAndNumbers) {
    struct Case {
        const char* name;
        std::string bytes;
        AnimFrame first;
        int framesRead;
    } cases[] = {
        {"blank first", "  1 2 3 4 5\r\n6 7 8 9 10\r\n", {6, 7, 8, 9, 10}, 1},
        {"signs", "-5 +3 10 10 100\r\n", {-5, 3, 10, 10, 100}, 1},
        {"bare sign", "1 + 3 4 5\r\n", {1, 0, 3, 4, 5}, 1},
        {"0x1A", "1 \x1A" "2 3 4 5\r\n", {1, 2, 3, 4, 5}, 1},
        {"text line", "frames\r\n1 2 3 4 5 rest\r\n", {1, 2, 3, 4, 5}, 1},
        {"LF only", "1 2 3 4 5\n6 7 8 9 10\n11 1 1 1 1\n", {1, 2, 3, 4, 5}, 3},
        {"CR only", "1 2 3 4 5\r6 7 8 9 10\r11 1 1 1 1\r", {1, 2, 3, 4, 5}, 3},
        {"no end", "1 2 3 4 5\r\n16 2 3 4 5", {1, 2, 3, 4, 5}, 2},
        {"int32 limits", "-2147483648 2147483647 0 0 1\r\n", {INT32_MIN, INT32_MAX, 0, 0, 1}, 1},
    };
    for (const Case& c : cases) {
        SetTable(Marked());
        ASSERT_EQ(LoadCan(table_, Write("case.can", c.bytes).c_str()), 1) << c.name;
        AnimTable t = Table();
        EXPECT_EQ(std::memcmp(&t[0], &c.first, sizeof c.first), 0) << c.name;
        for (int i = 0; i < kAnimFrameCount; ++i)
            EXPECT_EQ(t[size_t(i)].time != 0, i < c.framesRead) << c.name << " frame " << i;
    }
    // The line ends separate frames exactly: the LF-only and CR-only lines
    // keep their first digits.
    ASSERT_EQ(LoadCan(table_, Write("cr.can", "1 2 3 4 5\r16 7 8 9 10\r").c_str()), 1);
    EXPECT_EQ(Table()[1].x, 16);
}

TEST_F(CanFileTest, AMalformedLineOrAHugeNumberLeavesTheTableAsItWas) {
    for (const char* bytes : {"9 9 9 9 9\r\n1 2 3 x\r\n", "1 2 3 4\r\n", "99999999999 1 1 1 1\r\n",
                              "1 1 1 1 -2147483649\r\n", "1 2\r\n3 4 5\r\n"}) {
        SetTable(Marked());
        EXPECT_EQ(LoadCan(table_, Write("bad.can", bytes).c_str()), 0) << bytes;
        EXPECT_TRUE(Same(Table(), Marked())) << bytes;
    }
    SetTable(Marked());
    EXPECT_EQ(LoadCan(table_, Path("missing.can").c_str()), 0);
    EXPECT_TRUE(Same(Table(), Marked()));
}

// A failing write: a file size limit makes the writes fail even for root.
TEST_F(CanFileTest, AFailingWriteReturnsZeroAndKeepsTheOldFile) {
    const std::string old = "1 2 3 4 5\r\n";
    Write("list.can", old);
    SetTable(Marked());
    const int result = kvtest::WithFileSizeLimit(100, [&] { return SaveCan(table_, Path("list.can").c_str()); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read("list.can"), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
    EXPECT_EQ(SaveCan(table_, (dir_ / "no" / "such.can").string().c_str()), 0);
}

TEST(CanListFile, TheEditorReadsWhatTheProgramReads) {
    struct Case {
        const char* name;
        std::string bytes;
        bool ok;
        int frame;           // checked frame
        SheetFrame expected; // left, top, right, bottom, delay
    } cases[] = {
        {"CR LF", "1 2 3 4 50\r\n5 6 7 8 60\r\n", true, 1, {5, 6, 12, 14, 60, 0}},
        {"LF only, as edited on Linux", "1 2 3 4 50\n5 6 7 8 60\n", true, 1, {5, 6, 12, 14, 60, 0}},
        {"CR only", "1 2 3 4 50\r5 6 7 8 60", true, 1, {5, 6, 12, 14, 60, 0}},
        {"four numbers", "1 2 3 4\r\n", false, 0, {}},
        {"empty line skipped", "1 2 3 4 50\r\n\r\n5 6 7 8 60\r\n", true, 1, {5, 6, 12, 14, 60, 0}},
        {"six digits held to 9999", "1 2 3 4 123456\r\n", true, 0, {1, 2, 4, 6, 9999, 0}},
        {"five digits", "0 0 12345 1 1\r\n", true, 0, {0, 0, 9999, 1, 1, 0}},
        {"short last line", "1 2 3 4 50\r\n7 8 9", false, 0, {}},
        {"beyond the image", "5000 5000 100 100 9\r\n", true, 0, {5000, 5000, 5100, 5100, 9, 0}},
        {"tab", "1\t2 3 4 5\r\n", true, 0, {1, 2, 4, 6, 5, 0}},
        {"sign held to 0", "-1 2 3 4 5\r\n", true, 0, {0, 2, 3, 6, 5, 0}},
        {"letter", "1 2 x 4 5\r\n", false, 0, {}},
        {"empty file", "", true, 0, {0, 0, 0, 0, 100, 0}},
    };
    for (const Case& c : cases) {
        SheetFrame frames[kSheetFrames];
        for (int i = 0; i < kSheetFrames; ++i) frames[i] = {i, 1, i + 2, 3, 44, 0};
        SheetFrame before[kSheetFrames];
        std::memcpy(before, frames, sizeof frames);
        EXPECT_EQ(cinereel::ReadListFile(c.bytes, frames), c.ok) << c.name;
        if (!c.ok) {
            EXPECT_EQ(std::memcmp(before, frames, sizeof frames), 0) << c.name;
            continue;
        }
        EXPECT_EQ(std::memcmp(&frames[c.frame], &c.expected, sizeof(SheetFrame)), 0) << c.name;
        EXPECT_TRUE(FrameEmpty(frames[127])) << c.name;
        EXPECT_EQ(frames[127].delay, 100) << c.name;
    }
}

TEST_F(CanFileTest, EitherWritersFileLoadsInTheOtherReader) {
    SheetFrame frames[kSheetFrames];
    for (int i = 0; i < kSheetFrames; ++i) frames[i] = cinereel::EmptyFrame();
    frames[0] = {0, 0, 32, 32, 100, 0};
    frames[3] = {10, 20, 15, 40, 250, 0};
    const std::string editor = cinereel::ListFileBytes(frames);
    EXPECT_EQ(editor, "0 0 32 32 100\r\n10 20 5 20 250\r\n");
    ASSERT_EQ(LoadCan(table_, Write("editor.can", editor).c_str()), 1);
    EXPECT_EQ(Table()[1].width, 5);
    EXPECT_EQ(Table()[1].time, 250);

    ASSERT_EQ(SaveCan(table_, Path("core.can").c_str()), 1);
    SheetFrame back[kSheetFrames] = {};
    ASSERT_TRUE(cinereel::ReadListFile(Read("core.can"), back));
    EXPECT_EQ(std::memcmp(&back[1], &frames[3], sizeof(SheetFrame)), 0);
}

}  // namespace
