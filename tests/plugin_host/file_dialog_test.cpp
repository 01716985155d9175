// The file dialog and the document prompts built on it.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QTimer>

#include "framework/program_globals.h"
#include "framework/framework_strings.h"
#include "host_fixture.h"
#include "plugin_host/file_prompt.h"

namespace hosttest {
namespace {

using dialogs::FileDialogAnswer;
using dialogs::FileFilter;
using PromptTest = HostTest;

std::vector<std::pair<QString, QString>> Pairs(const std::vector<FileFilter>& filters) {
    std::vector<std::pair<QString, QString>> pairs;
    for (const FileFilter& f : filters) pairs.emplace_back(f.name, f.patterns);
    return pairs;
}

TEST_F(PromptTest, OpenOffersEveryReaderAndTakesSeveralFiles) {
    UsePlugins({"Trivial.FLT", "NoCheck.FLT", "Script.FLT"});
    QString a = FilePath("a.kvt"), b = FilePath("b.kvs");
    dialogs.Script(FileDialogAnswer::Ok({a, b}));
    QString name;
    ASSERT_TRUE(plugin_host::DoPromptFileName(name, framework::IDS_OPEN_TITLE, dialogs::OFN_FILEMUSTEXIST,
                                              true, nullptr, false));
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    const dialogs::FileDialogRequest& r = dialogs.Requests()[0];
    EXPECT_TRUE(r.open);
    EXPECT_EQ(r.title, framework::FrameworkString(framework::IDS_OPEN_TITLE));
    EXPECT_EQ(r.flags, unsigned(dialogs::OFN_FILEMUSTEXIST | dialogs::OFN_HIDEREADONLY |
                                dialogs::OFN_OVERWRITEPROMPT | dialogs::OFN_ALLOWMULTISELECT));
    using P = std::pair<QString, QString>;
    EXPECT_EQ(Pairs(r.filters),
              (std::vector<P>{{"支持文件", "*.nck;*.nc2;*.kvs;*.kvt;"},
                              {"nck 文件(*.nck;*.nc2)", "*.nck;*.nc2"},
                              {"script 文件(*.kvs)", "*.kvs"},
                              {"kvt 文件(*.kvt)", "*.kvt"},
                              {framework::FrameworkString(framework::IDS_ALL_FILTER), "*.*"}}));
    EXPECT_EQ(name, a);
    EXPECT_EQ(GetOpenedPaths(), (QStringList{a, b}));
    EXPECT_EQ(GetLastOpenedPath(), a);
    EXPECT_EQ(app->GetProfileString("Settings", "LastDir"), filesDir.path());
}

TEST_F(PromptTest, SaveOffersWritersWithTheNamesFormatSelected) {
    UsePlugins({"Trivial.FLT", "Flat.FLT", "Script.FLT"});
    dialogs.Script(FileDialogAnswer::Cancel());
    QString name = "/somewhere/pic.KVT";
    EXPECT_FALSE(plugin_host::DoPromptFileName(name, framework::IDS_SAVE_TITLE, dialogs::OFN_PATHMUSTEXIST,
                                               false, nullptr, false));
    EXPECT_EQ(name, "/somewhere/pic.KVT");
    const dialogs::FileDialogRequest& r = dialogs.Requests().at(0);
    EXPECT_FALSE(r.open);
    EXPECT_EQ(r.fileName, "pic");
    EXPECT_EQ(r.defaultExt, "KVT");
    EXPECT_EQ(r.initialDir, "/somewhere");
    EXPECT_EQ(r.filters.size(), 2u);  // the script format cannot write
    EXPECT_EQ(r.filterIndex, 2);      // flat, then kvt
    EXPECT_FALSE(r.flags & dialogs::OFN_ALLOWMULTISELECT);
    EXPECT_TRUE(GetOpenedPaths().isEmpty());
}

TEST_F(PromptTest, SingleOpenTakesOneFile) {
    dialogs.Script(FileDialogAnswer::Ok({FilePath("x.kvt"), FilePath("y.kvt")}));
    QString name;
    ASSERT_TRUE(plugin_host::DoPromptFileName(name, framework::IDS_OPEN_TITLE, 0, true, nullptr, true,
                                              /*keepLastOpenedPath=*/true));
    EXPECT_FALSE(dialogs.Requests()[0].flags & dialogs::OFN_ALLOWMULTISELECT);
    EXPECT_EQ(name, FilePath("x.kvt"));
    EXPECT_TRUE(GetOpenedPaths().isEmpty());
    EXPECT_EQ(GetLastOpenedPath(), "");
}

TEST(LastDir, IsTheDirectoryWithoutItsSlash) {
    const std::pair<const char*, const char*> cases[] = {
        {"/a/b/c.gif", "/a/b"}, {"/c.gif", "/"}, {"/a/c.gif", "/a"}};
    for (auto [path, dir] : cases) EXPECT_EQ(plugin_host::LastDirOf(path), dir) << path;
}

TEST(SupportFileDialog, SetsUpTheQtDialog) {
    dialogs::FileDialogRequest r;
    r.open = true;
    r.title = "打开";
    r.initialDir = QDir::tempPath();
    r.fileName = "pic";
    r.defaultExt = "gif";
    r.flags = dialogs::OFN_ALLOWMULTISELECT;
    r.filters = {{"支持文件", "*.gif;*.kvt;"}, {"gif 文件(*.gif)", "*.gif"}};
    r.filterIndex = 2;
    QFileDialog dialog;
    dialogs::ConfigureFileDialog(dialog, r);
    EXPECT_EQ(dialog.windowTitle(), "打开");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFiles);
    EXPECT_EQ(dialog.defaultSuffix(), "gif");
    EXPECT_EQ(dialog.directory().absolutePath(), QDir(QDir::tempPath()).absolutePath());
    EXPECT_EQ(dialog.nameFilters(), (QStringList{"支持文件 (*.gif *.kvt)", "gif 文件(*.gif) (*.gif)"}));
    // Each filter is shown by its name alone, the patterns not added twice.
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    QStringList shown;
    for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
    EXPECT_EQ(shown, (QStringList{"支持文件", "gif 文件(*.gif)"}));
    EXPECT_EQ(types->currentIndex(), 1);
    EXPECT_FALSE(dialog.filter() & QDir::CaseSensitive);

    r.open = false;
    r.flags = dialogs::OFN_OVERWRITEPROMPT;
    QFileDialog save;
    dialogs::ConfigureFileDialog(save, r);
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(save.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(save.defaultSuffix(), "");  // the chosen filter's is added afterwards
}

TEST(SupportFileDialog, ASaveNameWithoutExtensionTakesTheChosenFilters) {
    dialogs::FileDialogRequest r;
    r.open = false;
    r.filters = {{"kvt 文件(*.kvt)", "*.kvt"}, {"gif 文件(*.gif)", "*.gif;*.gifx"}, {"所有", "*.*"}};
    struct Case {
        const char* typed;
        int filter;
        const char* defaultExt;
        const char* saved;
    };
    const Case cases[] = {
        {"/d/sprite", 2, "", "/d/sprite.gif"},
        {"/d/sprite", 1, "gif", "/d/sprite.kvt"},  // the filter's before the default
        {"/d/sprite.GIF", 1, "", "/d/sprite.GIF"},
        {"/d/a.b.gif", 1, "", "/d/a.b.gif"},
        {"/d/a.b", 2, "", "/d/a.b"},
        {"/d.x/sprite", 2, "", "/d.x/sprite.gif"},
        {"/d/sprite", 3, "kvt", "/d/sprite.kvt"},  // "*.*" names no extension
        {"/d/sprite", 3, "", "/d/sprite"},
    };
    for (const Case& c : cases) {
        r.defaultExt = c.defaultExt;
        EXPECT_EQ(dialogs::SaveNameWithExtension(c.typed, r, c.filter), c.saved) << c.typed << " " << c.filter;
    }
}

TEST_F(PromptTest, TheQtSaveDialogAddsTheChosenFiltersExtension) {
    UsePlugins({"Trivial.FLT", "UpperGif.FLT"});
    dialogs::FileDialogService recorder = dialogs::SetFileDialogService({});  // the real dialog
    QString typed = FilePath("sprite");
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (const QString& filter : dialog->nameFilters())
            if (filter.startsWith("gif")) dialog->selectNameFilter(filter);
        dialog->selectFile(typed);
        static_cast<QDialog*>(dialog)->accept();  // as the Save button does
    });
    QString name = FilePath("x.kvt");  // the kvt filter comes up selected
    bool ok = plugin_host::DoPromptFileName(name, framework::IDS_SAVE_TITLE, dialogs::OFN_PATHMUSTEXIST,
                                            false, nullptr, false);
    dialogs::SetFileDialogService(std::move(recorder));
    ASSERT_TRUE(ok);
    EXPECT_EQ(name, typed + ".gif");
}

TEST(SupportFileDialog, AnswersComeFromTheService) {
    struct Case {
        unsigned flags;
        FileDialogAnswer answer;
        int result;
        QStringList paths;
    };
    const Case cases[] = {
        {0, FileDialogAnswer::Cancel(), framework::IDCANCEL, {}},
        {0, FileDialogAnswer::Ok({"/a", "/b"}, 3), framework::IDOK, {"/a"}},
        {dialogs::OFN_ALLOWMULTISELECT, FileDialogAnswer::Ok({"/a", "/b"}, 3), framework::IDOK, {"/a", "/b"}},
        {0, FileDialogAnswer::Ok({}), framework::IDCANCEL, {}},
    };
    for (const Case& c : cases) {
        dialogs::FileDialogRecorder recorder({c.answer});
        dialogs::CSupportFileDialog dlg(true, "gif", "x", c.flags, {{"gif", "*.gif"}});
        dlg.m_strTitle = "t";
        EXPECT_EQ(dlg.DoModal(), c.result);
        EXPECT_EQ(dlg.GetPathNames(), c.paths);
        if (c.result == framework::IDOK) {
            EXPECT_EQ(dlg.GetFilterIndex(), 3);
        }
        ASSERT_EQ(recorder.Requests().size(), 1u);
        EXPECT_EQ(recorder.Requests()[0].title, "t");
    }
}

}  // namespace
}  // namespace hosttest
