// Start-up: settings file, undo depth, the command line, reopening the
// previous run's documents, palettes and the current directory.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QDir>
#include <QFileInfo>

#include "app/command_line.h"
#include "framework/program_globals.h"
#include "app/program_paths.h"
#include "app/qt_translation.h"
#include "app_fixture.h"
#include "framework/document.h"
#include "imaging/color_reducer.h"
#include "imaging/dib_qimage.h"
#include "platform/message_box_recorder.h"
#include "platform/paths.h"

namespace apptest {
namespace {

const char* const kUnsupported = "\n 是不支持的文件格式。";

std::vector<QString> Paths(std::initializer_list<QString> paths) { return paths; }

TEST(ProgramPaths, SettingsFileInProgramDirectoryWhenReadable) {
    QTemporaryDir program, fallback;
    QString programDir = program.path() + "/", fallbackDir = fallback.path() + "/";
    EXPECT_EQ(SettingsFilePath(programDir, fallbackDir), fallbackDir + "pm32.ini");
    // A directory of that name cannot be read as a file.
    ASSERT_TRUE(QDir(program.path()).mkdir("pm32.ini"));
    EXPECT_EQ(SettingsFilePath(programDir, fallbackDir), fallbackDir + "pm32.ini");
    ASSERT_TRUE(QDir(program.path()).rmdir("pm32.ini"));
    QFile ini(programDir + "pm32.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.close();
    EXPECT_EQ(SettingsFilePath(programDir, fallbackDir), programDir + "pm32.ini");
    EXPECT_EQ(SettingsFilePath(program.path(), fallback.path()), programDir + "pm32.ini");
}

TEST(ProgramPaths, TrailingSlashAndUndoDepth) {
    EXPECT_EQ(WithTrailingSlash("/opt/kavolt"), "/opt/kavolt/");
    EXPECT_EQ(WithTrailingSlash("/opt/kavolt//"), "/opt/kavolt/");
    EXPECT_EQ(WithTrailingSlash("/"), "/");
    EXPECT_EQ(WithTrailingSlash(""), "");
    const std::pair<int, int> cases[] = {{-3, 1}, {0, 1}, {1, 1}, {7, 7}, {10, 10}, {25, 10}};
    for (auto [undoBuf, depth] : cases) EXPECT_EQ(ClampUndoDepth(undoBuf), depth) << undoBuf;
}

TEST(CommandLine, Rules) {
    struct Case {
        QStringList arguments;
        StartupCommandLine::Kind kind;
        QStringList files;
    };
    const Case cases[] = {
        {{}, StartupCommandLine::Empty, {}},
        {{""}, StartupCommandLine::Empty, {}},
        {{"-e"}, StartupCommandLine::NoOpen, {}},
        {{"-E", "a.gif"}, StartupCommandLine::NoOpen, {}},
        {{"/e"}, StartupCommandLine::NoOpen, {}},
        {{"/E"}, StartupCommandLine::NoOpen, {}},
        // Only the switch itself: longer words and absolute paths are files.
        {{"-ex"}, StartupCommandLine::Files, {"/work dir/-ex"}},
        {{"/etc/a.gif"}, StartupCommandLine::Files, {"/etc/a.gif"}},
        // Each argument is one file, blanks and quotes included.
        {{"my pic.gif", "\"q\".gif", "", "../b.gif"},
         StartupCommandLine::Files,
         {"/work dir/my pic.gif", "/work dir/\"q\".gif", "/b.gif"}},
        {{"a.gif", "-e"}, StartupCommandLine::Files, {"/work dir/a.gif", "/work dir/-e"}},
    };
    for (const Case& c : cases) {
        StartupCommandLine line = ParseStartupArguments(c.arguments, "/work dir");
        EXPECT_EQ(line.kind, c.kind) << c.arguments.join('|').toStdString();
        EXPECT_EQ(line.files, c.files) << c.arguments.join('|').toStdString();
    }
}

TEST_F(AppTest, ProgramDirectoryAndSettingsFile) {
    ASSERT_TRUE(Start({"-e"}));
    EXPECT_EQ(GetProgramDirectory(), programDir.path() + "/");
    // No pm32.ini in the program directory: the settings go to the config home.
    EXPECT_EQ(app->ProfileFile(), configDir.path() + "/kavolt/pm32.ini");
    EXPECT_TRUE(app->WriteProfileInt("Settings", "UndoBuf", 5));
    EXPECT_TRUE(QFileInfo(configDir.path() + "/kavolt/pm32.ini").isFile());
    app.reset();

    WriteIni("[Settings]\nUndoBuf=4\n");
    ASSERT_TRUE(Start({"-e"}));
    EXPECT_EQ(app->ProfileFile(), programDir.path() + "/pm32.ini");
    EXPECT_EQ(GetUndoDepth(), 4);
}

TEST_F(AppTest, QtsOwnButtonsAreChineseWhenTheirTranslationIsInstalled) {
    if (!QFile::exists(QtTranslationsFolder() + "/qtbase_zh_CN.qm"))
        GTEST_SKIP() << "Qt's translations (qt6-translations-l10n) are not installed";
    ASSERT_TRUE(Start({"-e"}));
    EXPECT_TRUE(app->HasQtTranslation());
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), "取消");
    app.reset();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
}

TEST_F(AppTest, StartsWithoutQtsTranslation) {
    QTemporaryDir empty;
    qtTranslationsFolder = empty.path();
    ASSERT_TRUE(Start({"-e"}));
    EXPECT_FALSE(app->HasQtTranslation());
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    EXPECT_TRUE(app->Frame()->isVisible());
}

TEST_F(AppTest, ProgramDirectoryDefaultsToTheExecutables) {
    // The tests' directory holds no colour dictionary: the user's copy serves.
    ASSERT_TRUE(QDir(configDir.path()).mkpath(QStringLiteral("kavolt")));
    QFile dictionary(configDir.filePath(QStringLiteral("kavolt/COLOR.DIC")));
    ASSERT_TRUE(dictionary.open(QIODevice::WriteOnly));
    dictionary.write("\x1a");
    dictionary.close();
    CPelmarkApp plain;
    plain.SetCommandLine({"-e"});
    ASSERT_TRUE(plain.InitInstance());
    QString expected = QFileInfo(QCoreApplication::applicationFilePath()).absolutePath() + "/";
    EXPECT_EQ(GetProgramDirectory(), expected);
    EXPECT_EQ(QString::fromStdString(platform::ProgramDirectory()), expected);
}

TEST_F(AppTest, ColourReductionReportsOnTheMessagePane) {
    ASSERT_TRUE(Start({"-e"}));
    MemHandle picture = QImageToDib24(QImage(2, 2, QImage::Format_RGB32));
    MemHandle reduced = nullptr;
    EXPECT_EQ(ReducePictureTo256(picture, &reduced), ColorReduceResult::Done);
    EXPECT_EQ(app->Frame()->PaneText(1, 0), QStringLiteral("要显示帮助请按 [F1]。"));
    MemFree(picture);
    MemFree(reduced);
}

TEST_F(AppTest, UndoBufIsClamped) {
    const std::pair<const char*, int> cases[] = {
        {"UndoBuf=0\n", 1}, {"UndoBuf=25\n", 10}, {"", 10}, {"UndoBuf=3\n", 3}};
    for (auto [line, depth] : cases) {
        WriteIni(QString("[Settings]\n") + line);
        SetUndoDepth(7);
        ASSERT_TRUE(Start({"-e"}));
        EXPECT_EQ(GetUndoDepth(), depth) << line;
        app.reset();
        Flush();
    }
}

TEST_F(AppTest, CommandLineFilesAreOpenedInOrder) {
    QString a = MakeFile("a b.gif"), b = MakeFile("sub/c.gif");
    QDir::setCurrent(filesDir.path());
    platform::MessageBoxRecorder boxes;
    ASSERT_TRUE(Start({"sub/c.gif", "a b.gif", "missing.gif"}));
    EXPECT_EQ(app->opened, Paths({b, a, filesDir.filePath("missing.gif")}));
    EXPECT_EQ(GetLastOpenedPath(), "");  // none of them could be read
    // Each file went to the document, which has no file format for it yet;
    // the missing one too (the framework's document reports its own errors).
    ASSERT_EQ(boxes.Count(), 3u);
    EXPECT_EQ(boxes.Requests()[0].text, b.toUpper().toStdString() + kUnsupported);
    // No splash with a command line; the first file's directory is current.
    EXPECT_FALSE(app->Splash().IsOpen());
    EXPECT_EQ(QDir::currentPath(), filesDir.filePath("sub"));
}

TEST_F(AppTest, NoOpenSwitchAndStartFileCheckBox) {
    QString a = MakeFile("a.gif");
    QString list = "[Next Open File List]\nFile1=" + a + "\n";
    WriteIni(list);
    ASSERT_TRUE(Start({"-E"}));
    EXPECT_TRUE(app->opened.empty());
    EXPECT_FALSE(app->Splash().IsOpen());
    app.reset();

    WriteIni("[Settings]\nStartFileCheckBox=0\n" + list);
    ASSERT_TRUE(Start({}));
    EXPECT_TRUE(app->opened.empty());
    EXPECT_TRUE(app->Splash().IsOpen());
}

TEST_F(AppTest, ReopensThePreviousRunSkippingUnreadableFiles) {
    QString a = MakeFile("a.gif"), b = MakeFile("b.gif"), c = MakeFile("c.gif");
    QString missing = filesDir.filePath("gone.gif");
    QString folder = filesDir.path();
    // A bare name an older run wrote for an untitled document is not a file
    // of the current folder, even when one of that name is there.
    MakeFile("NewFile2");
    const QString current = QDir::currentPath();
    QDir::setCurrent(folder);
    WriteIni("[Next Open File List]\nFile1=" + a + "\nFile2=" + missing + "\nFile3=" + folder +
             "\nFile4=NewFile2\nFile5=" + b + "\nFile6=\nFile7=" + c + "\n");
    platform::MessageBoxRecorder boxes;
    const bool started = Start({});
    QDir::setCurrent(current);
    ASSERT_TRUE(started);
    EXPECT_EQ(app->opened, Paths({a, b}));
    // Only the two readable files reached the document's open (and its
    // message); the others were skipped without a word.
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Requests()[0].text, a.toUpper().toStdString() + kUnsupported);
    EXPECT_EQ(boxes.Requests()[1].text, b.toUpper().toStdString() + kUnsupported);
    // Entries were listed: the splash is closed.
    EXPECT_FALSE(app->Splash().IsOpen());
}

TEST_F(AppTest, EmptyListKeepsTheSplash) {
    ASSERT_TRUE(Start({}));
    EXPECT_TRUE(app->opened.empty());
    EXPECT_TRUE(app->Splash().IsOpen());
}

TEST_F(AppTest, LastDirBecomesCurrentWhenItExists) {
    QString dir = filesDir.filePath("last");
    ASSERT_TRUE(QDir().mkpath(dir));
    WriteIni("[Settings]\nLastDir=" + dir + "\n");
    ASSERT_TRUE(Start({}));
    EXPECT_EQ(QDir::currentPath(), dir);
    app.reset();

    QDir::setCurrent(savedCwd);
    WriteIni("[Settings]\nLastDir=" + filesDir.filePath("nowhere") + "\n");
    ASSERT_TRUE(Start({}));
    EXPECT_EQ(QDir::currentPath(), savedCwd);
}

TEST_F(AppTest, PalettesShownByTheirSettings) {
    ASSERT_TRUE(Start({"-e"}));
    EXPECT_EQ(app->frameCommands,
              (std::vector<framework::CommandId>{502, 32776, 32882, 32922}));
    app.reset();

    WriteIni("[Settings]\nDispToolPalette=1\nDispToolRecPalette=0\nDispLayerPalette=0\n");
    ASSERT_TRUE(Start({"-e"}));
    EXPECT_EQ(app->frameCommands, (std::vector<framework::CommandId>{502, 32922}));
}

TEST_F(AppTest, NoSplashWhenMinimised) {
    app = std::make_unique<TestPelmarkApp>();
    app->minimiseFrame = true;
    app->SetProgramDirectoryOverride(programDir.path());
    app->SetCommandLine({});
    ASSERT_TRUE(app->InitInstance());
    EXPECT_TRUE(app->GetMainFrame()->isMinimized());
    EXPECT_FALSE(app->Splash().IsOpen());
}

TEST_F(AppTest, OpenDocumentByNameRecordsTheLastPath) {
    ASSERT_TRUE(Start({"-e"}));
    SetLastOpenedPath("");
    platform::MessageBoxRecorder boxes;
    QString x = MakeFile("x.gif");
    EXPECT_EQ(app->OpenDocumentByName(x), nullptr);
    EXPECT_EQ(GetLastOpenedPath(), "");  // refused: nothing recorded
    framework::Document opened;
    app->fakeDocument = &opened;
    QDir::setCurrent(filesDir.path());
    EXPECT_EQ(app->OpenDocumentByName("x.gif"), &opened);
    EXPECT_EQ(GetLastOpenedPath(), x);
    EXPECT_EQ(app->opened, Paths({x, "x.gif"}));
}

}  // namespace
}  // namespace apptest
