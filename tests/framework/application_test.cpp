// The application's profile file and the framework's recent-file list.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "framework/recent_file_list.h"
#include "framework_fixture.h"
#include "platform/profile.h"

namespace {

class ApplicationTest : public fwtest::FrameworkTest {
protected:
    std::vector<std::string> Section(const char* name) {
        return platform::ProfileSectionLines(ini.toStdString(), name);
    }
    QString ini;
};

TEST_F(ApplicationTest, ProfileCallsGoToTheProfileFile) {
    EXPECT_EQ(app->GetProfileInt("Settings", "UndoBuf", 10), 10);  // no file set yet
    EXPECT_FALSE(app->WriteProfileInt("Settings", "UndoBuf", 5));
    ini = PathOf("pm32.ini");
    app->SetProfileFile(ini);
    EXPECT_TRUE(app->WriteProfileInt("Settings", "UndoBuf", 5));
    EXPECT_TRUE(app->WriteProfileString("Settings", "LastDir", "/图像/"));
    EXPECT_EQ(app->GetProfileInt("Settings", "UndoBuf", 10), 5);
    EXPECT_EQ(app->GetProfileString("Settings", "LastDir"), "/图像/");
    EXPECT_EQ(app->GetProfileString("Settings", "Missing", "x"), "x");
    EXPECT_TRUE(app->DeleteProfileKey("Settings", "UndoBuf"));
    EXPECT_EQ(Section("Settings"), std::vector<std::string>{"LastDir=/图像/"});
    EXPECT_TRUE(app->DeleteProfileSection("Settings"));
    EXPECT_TRUE(Section("Settings").empty());
}

TEST_F(ApplicationTest, RecentFileListInTheProfile) {
    ini = PathOf("pm32.ini");
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Recent File List]\nFile1=/img/old1.gif\nFile2=\nFile3=/img/old2.gif\n[Other]\nA=1\n");
    file.close();
    app->SetProfileFile(ini);
    app->LoadStdProfileSettings(4);
    framework::RecentFileList* recent = app->GetRecentFileList();
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->Entries(), (std::vector<QString>{"/img/old1.gif", "/img/old2.gif"}));

    // Opening records the file; the same file again moves up; the oldest
    // falls off.
    QString a = MakeFile("a.kvt"), b = MakeFile("b.kvt");
    ASSERT_NE(app->OpenDocumentFile(a), nullptr);
    ASSERT_NE(app->OpenDocumentFile(b), nullptr);
    recent->Add(PathOf("sub/../a.kvt"));
    recent->Add("/img/third.gif");
    std::vector<QString> expected = {"/img/third.gif", QDir::cleanPath(a), QDir::cleanPath(b),
                                     "/img/old1.gif"};
    EXPECT_EQ(recent->Entries(), expected);

    app->ExitInstance();
    EXPECT_EQ(Section("Recent File List"),
              (std::vector<std::string>{"File1=/img/third.gif", "File2=" + expected[1].toStdString(),
                                        "File3=" + expected[2].toStdString(), "File4=/img/old1.gif"}));
    EXPECT_EQ(Section("Other"), std::vector<std::string>{"A=1"});

    framework::RecentFileList shorter("Recent File List", 4);
    shorter.Read(ini);
    EXPECT_EQ(shorter.Entries(), expected);
    shorter.Remove(0);
    shorter.Remove(0);
    shorter.Remove(0);
    ASSERT_TRUE(shorter.Write(ini));
    EXPECT_EQ(Section("Recent File List"), std::vector<std::string>{"File1=/img/old1.gif"});
}

}  // namespace
