#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "frame/color_dic.h"
#include "platform/message_box_recorder.h"
#include "tests/support/file_size_limit.h"

namespace {

class ColorDicTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.isValid() && user.isValid());
        dic.SetDirectories(program.path() + "/", user.path() + "/kavolt/");
    }
    void TearDown() override { chmod(QFile::encodeName(program.path()).constData(), 0700); }
    QString programFile() const { return program.filePath("COLOR.DIC"); }
    QString userFile() const { return user.filePath("kavolt/COLOR.DIC"); }
    static void Write(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const auto& r : boxes.Requests()) t.push_back(r.text);
        return t;
    }

    QTemporaryDir program, user;
    platform::MessageBoxRecorder boxes;
    ColorDicFile dic;
};

TEST_F(ColorDicTest, MarkerOnlyLoadsEmptyAndOneEntrySavesOneLine) {
    Write(programFile(), "\x1a");
    ASSERT_EQ(dic.LoadColorDic(), 1);
    EXPECT_TRUE(dic.Entries().empty());
    EXPECT_FALSE(dic.IsModified());
    ASSERT_TRUE(dic.AddEntry({QStringLiteral("橙"), 255, 165, 0, 0}));
    EXPECT_TRUE(dic.IsModified());
    ASSERT_EQ(dic.SaveColorDic(), 1);
    EXPECT_FALSE(dic.IsModified());
    EXPECT_EQ(Read(programFile()), QByteArray("橙,255,165,0,0\r\n\x1a"));
}

TEST_F(ColorDicTest, EndOfDataCountsAsTheMarker) {
    struct Case {
        QByteArray file;
        size_t entries;
        QByteArray saved;
    } cases[] = {
        {"", 0, "\x1a"},
        {"a,1,2,3,4\r\nb,5,6,7,8\r\n", 2, "a,1,2,3,4\r\nb,5,6,7,8\r\n\x1a"},
        {"a,1,2,3,4\r\n\x1a" "after,9,9,9,9\r\n", 1, "a,1,2,3,4\r\n\x1a"},
        {"a,1,2,3,4", 1, "a,1,2,3,4\x1a"},
        {"bad line\r\nc,300,0,0,0\r\nd,1,2,3,4\r\n\x1a", 1, "bad line\r\nc,300,0,0,0\r\nd,1,2,3,4\r\n\x1a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        Write(programFile(), c.file);
        ASSERT_EQ(dic.LoadColorDic(), 1);
        EXPECT_EQ(dic.Entries().size(), c.entries);
        ASSERT_EQ(dic.SaveColorDic(), 1);
        EXPECT_EQ(Read(programFile()), c.saved);
    }
}

// Names of odd bytes: each entry read keeps a name, and is written back as
// one line that reads the same.
TEST(ColorDicText, EveryEntryHasAName) {
    struct Case {
        const char* what;
        QByteArray bytes;
        std::vector<QString> names;
    } cases[] = {
        {"GBK cut short", "\xBA,112,160,255,0\r\n\x1a", {QStringLiteral("\uFFFD")}},
        {"GBK cut short after a character", "\xBA\xEC\xC9,1,2,3,4\r\n", {QStringLiteral("红\uFFFD")}},
        {"the file's byte-order mark", "\xEF\xBB\xBF" "a,1,2,3,4\r\n", {QStringLiteral("a")}},
        {"a byte-order mark alone is no name", "\xEF\xBB\xBF,0,0,0,0\r\nb,1,2,3,4\r\n", {QStringLiteral("b")}},
        {"nor are two", "c,1,2,3,4\r\n\xEF\xBB\xBF\xEF\xBB\xBF,0,0,0,0\r\n", {QStringLiteral("c")}},
        {"marks before a name", "\xEF\xBB\xBF\xEF\xBB\xBF" "d,1,2,3,4\r\n", {QStringLiteral("d")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ColorDicEntry> entries = ParseColorDic(c.bytes);
        ASSERT_EQ(entries.size(), c.names.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].name, c.names[i]);
            std::vector<ColorDicEntry> again = ParseColorDic(FormatColorDicLine(entries[i]));
            ASSERT_EQ(again.size(), 1u);
            EXPECT_EQ(again[0].name, c.names[i]);
        }
    }
}

TEST_F(ColorDicTest, DeleteRemovesOneLine) {
    Write(programFile(), "a,1,2,3,4\r\nb,5,6,7,8\r\nc,9,9,9,9\r\n\x1a");
    ASSERT_EQ(dic.LoadColorDic(), 1);
    ASSERT_TRUE(dic.DeleteEntry(1));
    EXPECT_TRUE(dic.IsModified());
    EXPECT_EQ(dic.Bytes(), QByteArray("a,1,2,3,4\r\nc,9,9,9,9\r\n\x1a"));
    EXPECT_FALSE(dic.DeleteEntry(5));
    EXPECT_FALSE(dic.AddEntry({QStringLiteral("a,b"), 1, 1, 1, 1}));
}

TEST_F(ColorDicTest, MissingFileIsReported) {
    EXPECT_EQ(dic.LoadColorDic(), 0);
    EXPECT_EQ(Texts(), std::vector<std::string>{"COLOR.DIC 找不到"});
    EXPECT_EQ(dic.SaveColorDic(), 0);  // no block: nothing to write, no message
    EXPECT_EQ(boxes.Count(), 1u);
}

TEST_F(ColorDicTest, UsersCopyComesFirstAndIsWhereItIsSaved) {
    Write(programFile(), "program,1,1,1,1\r\n\x1a");
    Write(userFile(), "user,2,2,2,2\r\n\x1a");
    ASSERT_EQ(dic.LoadColorDic(), 1);
    ASSERT_EQ(dic.Entries().size(), 1u);
    EXPECT_EQ(dic.Entries()[0].name, "user");
    ASSERT_TRUE(dic.AddEntry({QStringLiteral("new"), 3, 3, 3, 3}));
    ASSERT_EQ(dic.SaveColorDic(), 1);
    EXPECT_EQ(Read(userFile()), QByteArray("user,2,2,2,2\r\nnew,3,3,3,3\r\n\x1a"));
    EXPECT_EQ(Read(programFile()), QByteArray("program,1,1,1,1\r\n\x1a"));
}

TEST_F(ColorDicTest, ReadOnlyProgramDirectoryFallsBackToTheUsersFile) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
    Write(programFile(), "a,1,2,3,4\r\n\x1a");
    ASSERT_EQ(dic.LoadColorDic(), 1);
    ASSERT_EQ(chmod(QFile::encodeName(program.path()).constData(), 0500), 0);
    ASSERT_TRUE(dic.AddEntry({QStringLiteral("b"), 5, 6, 7, 8}));
    ASSERT_EQ(dic.SaveColorDic(), 1);
    EXPECT_EQ(Read(programFile()), QByteArray("a,1,2,3,4\r\n\x1a"));
    EXPECT_EQ(Read(userFile()), QByteArray("a,1,2,3,4\r\nb,5,6,7,8\r\n\x1a"));
    // The next start reads the user's copy.
    ColorDicFile again;
    again.SetDirectories(program.path() + "/", user.path() + "/kavolt/");
    ASSERT_EQ(again.LoadColorDic(), 1);
    EXPECT_EQ(again.Entries().size(), 2u);
}

// The same for any user: the program's copy cannot be replaced because a
// directory has taken its name.
TEST_F(ColorDicTest, UnwritableProgramCopyFallsBackToTheUsersFile) {
    Write(programFile(), "a,1,2,3,4\r\n\x1a");
    ASSERT_EQ(dic.LoadColorDic(), 1);
    ASSERT_TRUE(QFile::remove(programFile()));
    ASSERT_TRUE(QDir().mkdir(programFile()));
    ASSERT_TRUE(dic.AddEntry({QStringLiteral("b"), 5, 6, 7, 8}));
    ASSERT_EQ(dic.SaveColorDic(), 1);
    EXPECT_TRUE(boxes.Requests().empty());
    EXPECT_EQ(Read(userFile()), QByteArray("a,1,2,3,4\r\nb,5,6,7,8\r\n\x1a"));
}

TEST_F(ColorDicTest, NowhereToWriteKeepsTheEditsAndSaysSo) {
    // A user directory that cannot be made (a file stands in its way) and a
    // program directory that is not a directory at all.
    Write(programFile(), "a,1,2,3,4\r\n\x1a");
    ASSERT_EQ(dic.LoadColorDic(), 1);
    Write(user.filePath("blocker"), "x");
    dic.SetDirectories(program.filePath("COLOR.DIC") + "/", user.filePath("blocker") + "/");
    ASSERT_TRUE(dic.AddEntry({QStringLiteral("b"), 5, 6, 7, 8}));
    EXPECT_EQ(dic.SaveColorDic(), 0);
    EXPECT_EQ(Texts(), std::vector<std::string>{"COLOR.DIC 无法打开"});
    EXPECT_TRUE(dic.IsModified());
    EXPECT_EQ(dic.Entries().size(), 2u);
}

// A write the file-size limit cuts short keeps the old file and tells so.
TEST_F(ColorDicTest, WriteCutShortKeepsTheOldFile) {
    Write(programFile(), "a,1,2,3,4\r\n\x1a");
    ASSERT_EQ(dic.LoadColorDic(), 1);
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(dic.AddEntry({QStringLiteral("颜色%1").arg(i), 1, 2, 3, 4}));
    const int result = kvtest::WithFileSizeLimit(512, [&] { return dic.SaveColorDic(); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Texts(), std::vector<std::string>{"COLOR.DIC 无法打开"});
    EXPECT_EQ(Read(programFile()), QByteArray("a,1,2,3,4\r\n\x1a"));
    EXPECT_TRUE(dic.IsModified());
}

}  // namespace
