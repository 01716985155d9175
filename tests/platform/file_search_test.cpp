#include "platform/file_search.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FileSearch, PatternsMatchNamesInEitherCase) {
    struct Case { const char* pattern; const char* name; bool match; };
    const Case cases[] = {
        {"*.FLT", "Loopcast.FLT", true}, {"*.FLT", "vorex32.flt", true}, {"*.flt", "A.Flt", true},
        {"*.FLT", "Loopcast.FLT.bak", false}, {"*.FLT", "LoopcastFLT", false},
        {"?.GLT", "a.GLT", true}, {"?.GLT", "ab.GLT", false}, {"?.GLT", ".GLT", false},
        {"*", "", true}, {"*", "anything", true}, {"", "a", false}, {"", "", true},
        {"a*b*c", "aXXbYYc", true}, {"a*b*c", "abcb", false}, {"*a*", "bab", true},
        {"中?.flt", "中文.FLT", true},  // '?' is one character, not one byte
        {"hex.dll", "HEX.DLL", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::MatchFileName(c.pattern, c.name), c.match) << c.pattern << " ~ " << c.name;
}

TEST(FileSearch, FindsRegularFilesInNameOrder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"b.FLT", "a.flt", "A.flt", "C.Flt", "d.GLT", "x.FLTX", "_z.flt"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QDir(dir.path()).mkdir("folder.FLT");
    QFile::link(dir.filePath("b.FLT"), dir.filePath("link.flt"));
    QFile::link(dir.filePath("gone"), dir.filePath("broken.FLT"));
    EXPECT_EQ(platform::FindFiles(dir.path().toStdString(), "*.FLT"),
              (std::vector<std::string>{"_z.flt", "A.flt", "a.flt", "b.FLT", "C.Flt", "link.flt"}));
    EXPECT_EQ(platform::FindFiles(dir.path().toStdString() + "/", "?.glt"), (std::vector<std::string>{"d.GLT"}));
    EXPECT_TRUE(platform::FindFiles(dir.filePath("missing").toStdString(), "*").empty());
}
