// The one safe-save path of every writer: links followed to the file they
// name (chains, relative and dangling links), a short temporary name, and a
// save that is never committed leaving nothing behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "platform/safe_save.h"

namespace {

namespace fs = std::filesystem;

class SafeSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("kv-safe-save-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "real");
    }
    void TearDown() override { fs::remove_all(dir); }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    size_t EntriesIn(const fs::path& p) const {
        return size_t(std::distance(fs::directory_iterator(p), fs::directory_iterator()));
    }
    fs::path dir;
};

TEST_F(SafeSaveTest, LinksLeadToTheFileTheyName) {
    // a -> b -> real/c (relative links), and a link to a file not yet there.
    fs::create_symlink("real/c.txt", dir / "b.txt");
    fs::create_symlink(dir / "b.txt", dir / "a.txt");
    fs::create_symlink("real/new.txt", dir / "dangling.txt");
    EXPECT_EQ(platform::SaveTargetOf((dir / "a.txt").string()), (dir / "real/c.txt").string());
    EXPECT_EQ(platform::SaveTargetOf((dir / "plain.txt").string()), (dir / "plain.txt").string());

    ASSERT_TRUE(platform::SaveFileSafely((dir / "a.txt").string(), "one"));
    EXPECT_EQ(Read(dir / "real/c.txt"), "one");
    EXPECT_TRUE(fs::is_symlink(dir / "a.txt"));
    EXPECT_TRUE(fs::is_symlink(dir / "b.txt"));
    ASSERT_TRUE(platform::SaveFileSafely((dir / "dangling.txt").string(), "two"));
    EXPECT_EQ(Read(dir / "real/new.txt"), "two");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.txt"));
    EXPECT_EQ(EntriesIn(dir / "real"), 2u);
}

TEST_F(SafeSaveTest, TheTemporaryNameIsShortAndGoesWithoutACommit) {
    const std::string target = (dir / (std::string(251, 'n') + ".gif")).string();
    {
        platform::SafeSave save(target, true);
        ASSERT_TRUE(save);
        const std::string name = fs::path(save.TemporaryPath()).filename().string();
        EXPECT_LT(name.size(), 32u);
        EXPECT_EQ(fs::path(name).extension(), ".gif");  // for writers that go by it
        EXPECT_EQ(fs::path(save.TemporaryPath()).parent_path(), dir);
        EXPECT_TRUE(save.Write("half"));
    }
    EXPECT_EQ(EntriesIn(dir), 1u);  // only "real"
    EXPECT_FALSE(platform::SaveFileSafely((dir / "no/such/folder.txt").string(), "x"));
    EXPECT_FALSE(platform::SaveFileSafely("", "x"));
}

}  // namespace
