#include "platform/profile.h"
#include "tests/support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A settings file as someone might leave it after editing it by hand.
const std::string kHandEdited =
    "; written by hand\r\n"
    "\r\n"
    "[Settings]\r\n"
    "  UndoBuf = 12abc \r\n"
    "lastdir= \"/home/a/pics  \" \r\n"
    "Neg=-5\r\n"
    "Plus= +7\r\n"
    "Big=99999999999\r\n"
    "Empty=\r\n"
    "Word=abc\r\n"
    "undobuf=99\r\n"
    "; Hidden=1\r\n"
    "\r\n"
    "[ grid ]\r\n"
    "Kankyou_Grid=8\r\n"
    "\r\n"
    "[settings]\r\n"
    "Second=1\r\n";

std::string readAll(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
}

void writeAll(const std::string& path, const std::string& bytes) {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), qint64(bytes.size()));
}

// `text` with the first occurrence of `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class Profile : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        writeAll(file, kHandEdited);
    }
    QTemporaryDir dir;
    std::string file = dir.filePath("pm32.ini").toStdString();
};

}  // namespace

TEST_F(Profile, ReadsIntsLikeThePlatform) {
    struct Case { const char* section; const char* key; int def; int expected; };
    const Case cases[] = {
        {"Settings", "UndoBuf", 0, 12},       // leading digits, blanks and case ignored
        {"SETTINGS", "undobuf", 0, 12},       // the first of two lines wins
        {"Settings", "Neg", 0, -5},
        {"Settings", "Plus", 0, 7},
        {"Settings", "Big", 0, INT_MAX},
        {"Settings", "Empty", 3, 3},          // no digits: the default
        {"Settings", "Word", 4, 4},
        {"Settings", "Hidden", 5, 5},         // commented out
        {"Settings", "Missing", 9, 9},
        {"Nowhere", "UndoBuf", 10, 10},
        {"Grid", "Kankyou_Grid", 0, 8},       // blanks inside the brackets
        {"Settings", "Second", 11, 11},       // the second [settings] is not read
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::ProfileReadInt(file, c.section, c.key, c.def), c.expected) << c.section << "/" << c.key;
    EXPECT_EQ(platform::ProfileReadInt(dir.filePath("none.ini").toStdString(), "Settings", "UndoBuf", 10), 10);
}

TEST_F(Profile, ReadsStringsTrimmedAndUnquoted) {
    EXPECT_EQ(platform::ProfileReadString(file, "settings", "LASTDIR", "x"), "/home/a/pics  ");
    EXPECT_EQ(platform::ProfileReadString(file, "Settings", "UndoBuf", "x"), "12abc");
    EXPECT_EQ(platform::ProfileReadString(file, "Settings", "Empty", "x"), "");
    EXPECT_EQ(platform::ProfileReadString(file, "Settings", "Missing", "x"), "x");
    EXPECT_EQ(platform::ProfileReadString(file, "Missing", "UndoBuf", "x"), "x");
}

TEST_F(Profile, ListsTheKeysAndLinesOfASection) {
    EXPECT_EQ(platform::ProfileSectionKeys(file, "settings"),
              (std::vector<std::string>{"UndoBuf", "lastdir", "Neg", "Plus", "Big", "Empty", "Word"}));
    EXPECT_EQ(platform::ProfileSectionLines(file, "Grid"), (std::vector<std::string>{"Kankyou_Grid=8"}));
    EXPECT_EQ(platform::ProfileSectionLines(file, "Settings").front(), "UndoBuf = 12abc");
    EXPECT_TRUE(platform::ProfileSectionKeys(file, "Missing").empty());
}

TEST_F(Profile, WritingAnExistingKeyReplacesOnlyItsLine) {
    ASSERT_TRUE(platform::ProfileWriteInt(file, "SETTINGS", "undobuf", 5));
    EXPECT_EQ(readAll(file), replaced(kHandEdited, "  UndoBuf = 12abc \r\n", "UndoBuf=5\r\n"));
    EXPECT_EQ(platform::ProfileReadInt(file, "Settings", "UndoBuf", 0), 5);
}

TEST_F(Profile, ANewKeyGoesAfterTheLastLineOfItsSection) {
    ASSERT_TRUE(platform::ProfileWriteString(file, "settings", "DispToolBar", "1"));
    EXPECT_EQ(readAll(file), replaced(kHandEdited, "undobuf=99\r\n", "undobuf=99\r\nDispToolBar=1\r\n"));
}

TEST_F(Profile, ANewSectionIsAddedAtTheEnd) {
    ASSERT_TRUE(platform::ProfileWriteString(file, "Next Open File List", "File1", "/a/b.gif"));
    EXPECT_EQ(readAll(file), kHandEdited + "\r\n[Next Open File List]\r\nFile1=/a/b.gif\r\n");
    EXPECT_EQ(platform::ProfileReadString(file, "next open file list", "file1"), "/a/b.gif");
}

TEST_F(Profile, NullValueDeletesTheKeyAndNullKeyTheSection) {
    ASSERT_TRUE(platform::ProfileWriteString(file, "Settings", "UndoBuf", nullptr));
    std::string expected = replaced(replaced(kHandEdited, "  UndoBuf = 12abc \r\n", ""), "undobuf=99\r\n", "");
    EXPECT_EQ(readAll(file), expected);
    ASSERT_TRUE(platform::ProfileWriteString(file, "GRID", nullptr, nullptr));
    EXPECT_EQ(readAll(file), replaced(expected, "[ grid ]\r\nKankyou_Grid=8\r\n\r\n", ""));
    // Deleting what is not there changes nothing and succeeds.
    std::string now = readAll(file);
    EXPECT_TRUE(platform::ProfileWriteString(file, "Settings", "Missing", nullptr));
    EXPECT_TRUE(platform::ProfileWriteString(file, "Missing", nullptr, nullptr));
    EXPECT_EQ(readAll(file), now);
}

TEST_F(Profile, WritingCreatesTheDirectoryAndTheFile) {
    std::string fresh = dir.filePath("a/b/new.ini").toStdString();
    ASSERT_TRUE(platform::ProfileWriteString(fresh, "Settings", "LastDir", "/home/用户/图"));
    ASSERT_TRUE(platform::ProfileWriteInt(fresh, "Settings", "UndoBuf", 10));
    EXPECT_EQ(readAll(fresh), "[Settings]\nLastDir=/home/用户/图\nUndoBuf=10\n");
    // Nothing to delete: no file is made.
    std::string none = dir.filePath("none.ini").toStdString();
    EXPECT_TRUE(platform::ProfileWriteString(none, "Settings", "UndoBuf", nullptr));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(none)));
}

TEST_F(Profile, ALastLineWithoutLineEndGetsOne) {
    writeAll(file, "[Settings]\nA=1");
    ASSERT_TRUE(platform::ProfileWriteString(file, "Settings", "B", "2"));
    EXPECT_EQ(readAll(file), "[Settings]\nA=1\nB=2\n");
}

TEST_F(Profile, NamesAndValuesThatCannotBeStoredAreRefused) {
    struct Case { const char* section; const char* key; const char* value; };
    const Case cases[] = {
        {"", "Key", "v"}, {"Sec]tion", "Key", "v"}, {"Sec\ntion", "Key", "v"},
        {"Settings", "", "v"}, {"Settings", "K=ey", "v"}, {"Settings", "Ke\ny", "v"},
        {"Settings", ";Key", "v"}, {"Settings", "Key", "line\r\nbreak"},
    };
    for (const Case& c : cases) EXPECT_FALSE(platform::ProfileWriteString(file, c.section, c.key, c.value)) << c.section << "/" << c.key;
    EXPECT_EQ(readAll(file), kHandEdited);
}

TEST_F(Profile, GbkFilesAreReadAndRewrittenAsUtf8) {
    // "[Settings]\nTitle=中文\n" in GBK.
    writeAll(file, "[Settings]\nTitle=\xD6\xD0\xCE\xC4\n");
    EXPECT_EQ(platform::ProfileReadString(file, "Settings", "Title"), "中文");
    ASSERT_TRUE(platform::ProfileWriteInt(file, "Settings", "UndoBuf", 3));
    EXPECT_EQ(readAll(file), "[Settings]\nTitle=中文\nUndoBuf=3\n");
}

TEST_F(Profile, AByteOrderMarkIsKept) {
    writeAll(file, "\xEF\xBB\xBF[Settings]\nA=1\n");
    EXPECT_EQ(platform::ProfileReadInt(file, "Settings", "A", 0), 1);
    ASSERT_TRUE(platform::ProfileWriteInt(file, "Settings", "A", 2));
    EXPECT_EQ(readAll(file), "\xEF\xBB\xBF[Settings]\nA=2\n");
}

TEST_F(Profile, AFailedWriteLeavesTheOldFileWhole) {
    // The file may not grow past its present size: the new text cannot be
    // written out, so the old file must stay as it was.
    bool written = kvtest::WithFileSizeLimit(kHandEdited.size(), [&] { return platform::ProfileWriteString(file, "Settings", "LastDir", std::string(4096, 'x').c_str()); });
    EXPECT_FALSE(written);
    EXPECT_EQ(readAll(file), kHandEdited);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"pm32.ini"});  // no temporary left
}

TEST_F(Profile, AReadOnlyDirectoryMakesTheWriteFail) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
    ASSERT_EQ(chmod(dir.path().toLocal8Bit().constData(), 0555), 0);
    bool written = platform::ProfileWriteInt(file, "Settings", "UndoBuf", 1);
    chmod(dir.path().toLocal8Bit().constData(), 0755);
    EXPECT_FALSE(written);
    EXPECT_EQ(readAll(file), kHandEdited);
}

TEST_F(Profile, AFileThatCannotBeReadIsNotOverwritten) {
    std::string notAFile = dir.filePath("folder.ini").toStdString();
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.ini"));
    EXPECT_FALSE(platform::ProfileWriteInt(notAFile, "Settings", "UndoBuf", 1));
    EXPECT_TRUE(QFileInfo(QString::fromStdString(notAFile)).isDir());
    EXPECT_EQ(platform::ProfileReadInt(notAFile, "Settings", "UndoBuf", 7), 7);
}
