// The frame list of Cinereel.so through the editor's real loading path: the
// right-button menu and keys that move frames, the frame position dialog,
// and the list files written by 保存列表 and read by 载入.
#include <QMenu>

#include "cinereel_fixture.h"
#include "framework/support_file_dialog.h"
#include "plugin_api/anim_can_file.h"

namespace hosttest {
namespace {

class CinereelListTest : public CinereelTest {
protected:
    // Frames 0-9 at x = 10 i, 10 x 10, delay 100 + i; the rest empty
    // with delay 100.
    void TenFrames(CPelmarkDoc* doc) {
        auto* table = reinterpret_cast<PackedAnimTable*>(doc->m_AnimTable.data());
        std::memset(table, 0, sizeof *table);
        for (int i = 0; i < 128; ++i) {
            PackedAnimFrame f = i < 10 ? PackedAnimFrame{10 * i, 0, 10, 10, 100 + i} : PackedAnimFrame{0, 0, 0, 0, 100};
            PackedAnimWrite(table, i, &f);
        }
        PackedAnimSetValid(table, 1);
    }
    // Which of the ten frames each of the first `n` rows shows, -1 for an
    // empty one; then the same for rows 126 and 127.
    static std::vector<int> Frames(int n = 12) {
        std::vector<int> shown;
        auto frameOf = [](int row) {
            std::string text = Row(row);
            return std::stoi(text.substr(17, 4)) == 0 ? -1 : std::stoi(text.substr(6, 4)) / 10;
        };
        for (int row = 0; row < n; ++row) shown.push_back(frameOf(row));
        shown.push_back(frameOf(126));
        shown.push_back(frameOf(127));
        return shown;
    }
    static QMenu* Menu() { return List()->findChild<QMenu*>(QStringLiteral("menu16051")); }
    static QAction* Action(int id) {
        for (QAction* a : Menu()->actions())
            if (a->data().toInt() == id) return a;
        return nullptr;
    }
    // Right button down and up on a row: it joins the selection and the
    // menu opens at the pointer.
    static void RightClick(int row) {
        List()->scrollToItem(List()->item(row));
        QPoint at = List()->visualItemRect(List()->item(row)).center();
        QTest::mousePress(List()->viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(List()->viewport(), Qt::RightButton, {}, at);
    }
    // A menu item on `row`, as the user picks it.
    static void Pick(int row, int id) {
        RightClick(row);
        EXPECT_TRUE(Menu()->isVisible());
        Action(id)->trigger();
        Menu()->hide();
    }
    static std::vector<int> Selected() {
        std::vector<int> rows;
        for (int i = 0; i < 128; ++i)
            if (List()->item(i)->isSelected()) rows.push_back(i);
        return rows;
    }
};

using Rows = std::vector<int>;

TEST_F(CinereelListTest, CopyCutPasteAndDeleteMoveFrames) {
    struct Step {
        Rows select;
        int at;  // the right-clicked row
        int command;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        Rows frames;    // rows 0-11, 126, 127
        Rows selected;  // afterwards
    } cases[] = {
        {"paste three at 126 keeps two",
         {{{2, 3}, 4, 32810}, {{}, 126, 32811}},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1, -1, 2, 3}, {126, 127}},
        {"delete rows 2 and 5", {{{2}, 5, 32809}}, {0, 1, 3, 4, 6, 7, 8, 9, -1, -1, -1, -1, -1, -1}, {2}},
        {"cut and paste lower down",
         {{{1}, 2, 32813}, {{}, 5, 32811}},
         {0, 3, 4, 5, 6, 1, 2, 8, 9, -1, -1, -1, -1, -1}, {5, 6}},
        {"paste over several rows", {{{}, 0, 32810}, {{4, 5}, 6, 32811}}, {0, 1, 2, 3, 0, 7, 8, 9, -1, -1, -1, -1, -1, -1}, {4}},
    };
    for (const Case& c : cases) {
        CPelmarkDoc* doc = OpenDoc(200, 100);
        TenFrames(doc);
        Run(34012, [&] {
            for (const Step& s : c.steps) {
                SelectRows({}, s.at);
                List()->clearSelection();
                for (int row : s.select) List()->item(row)->setSelected(true);
                Pick(s.at, s.command);
            }
            EXPECT_EQ(Frames(), c.frames) << c.name;
            EXPECT_EQ(Selected(), c.selected) << c.name;
            Click(14013);
        });
        doc->OnCloseDocument();
    }
}

TEST_F(CinereelListTest, KeysWorkOnTheCaretRowAndTheRowsAreRebuilt) {
    CPelmarkDoc* doc = OpenDoc(200, 100);
    TenFrames(doc);
    Run(34012, [&] {
        SelectRows({3}, 3);
        QTest::keyClick(List(), Qt::Key_C);
        QTest::keyClick(List(), Qt::Key_Delete);
        EXPECT_EQ(Frames(6), (Rows{0, 1, 2, 4, 5, 6, -1, -1}));
        EXPECT_EQ(Row(3), "003   0040,0000  0010,0010  0104");
        SelectRows({0}, 0);
        QTest::keyClick(List(), Qt::Key_V);
        EXPECT_EQ(Frames(6), (Rows{3, 1, 2, 4, 5, 6, -1, -1}));
        QTest::keyClick(List(), Qt::Key_X);
        EXPECT_EQ(Frames(6), (Rows{1, 2, 4, 5, 6, 7, -1, -1}));
        EXPECT_EQ(Row(127), "127   0000,0000  0000,0000  0100");
        Click(14013);
    });
}

TEST_F(CinereelListTest, TheRightButtonAddsTheRowsItPassesOver) {
    CPelmarkDoc* doc = OpenDoc(200, 100);
    TenFrames(doc);
    Run(34012, [&] {
        SelectRows({0}, 0);
        QWidget* rows = List()->viewport();
        auto at = [](int row) { return List()->visualItemRect(List()->item(row)).center(); };
        QTest::mousePress(rows, Qt::RightButton, {}, at(2));
        QTest::mouseMove(rows, at(3));
        QTest::mouseMove(rows, at(5));
        EXPECT_FALSE(Menu()->isVisible());
        QTest::mouseRelease(rows, Qt::RightButton, {}, at(5));
        EXPECT_EQ(Selected(), (Rows{0, 2, 3, 5}));
        EXPECT_TRUE(Menu()->isVisible());
        EXPECT_FALSE(Action(32814)->isEnabled());  // state 2
        EXPECT_FALSE(Enabled(14043));              // the editor's controls follow
        Action(32809)->trigger();
        Menu()->hide();
        EXPECT_EQ(Frames(6), (Rows{1, 4, 6, 7, 8, 9, -1, -1}));
        EXPECT_EQ(Selected(), Rows{0});
        Click(14013);
    });
}

TEST_F(CinereelListTest, MenuItemsByStateAndClip) {
    CPelmarkDoc* doc = OpenDoc(200, 100);
    TenFrames(doc);
    Run(34012, [&] {
        struct Case {
            Rows select;
            int at;
            bool clip;
            bool paste, insert, overwrite;
        } cases[] = {
            {{}, 2, false, false, true, true},       // state 0, empty clip
            {{}, 2, true, true, true, true},         // state 0
            {{1, 2}, 3, true, true, false, false},   // state 1
            {{1}, 3, true, false, false, false},     // state 2
        };
        for (const Case& c : cases) {
            SelectRows({}, c.at);
            List()->clearSelection();
            for (int row : c.select) List()->item(row)->setSelected(true);
            RightClick(c.at);
            EXPECT_TRUE(Menu()->isVisible());
            if (c.clip) {
                Action(32810)->trigger();  // fills the clip
                Menu()->hide();
                SelectRows({}, c.at);
                List()->clearSelection();
                for (int row : c.select) List()->item(row)->setSelected(true);
                RightClick(c.at);
            }
            EXPECT_EQ(Action(32811)->isEnabled(), c.paste) << c.at;
            EXPECT_EQ(Action(32814)->isEnabled(), c.insert) << c.at;
            EXPECT_EQ(Action(32815)->isEnabled(), c.overwrite) << c.at;
            for (int id : {32809, 32810, 32812, 32813}) EXPECT_TRUE(Action(id)->isEnabled()) << id;
            Menu()->hide();
            if (&c == &cases[0]) {
                std::vector<std::pair<int, std::string>> items;
                for (QAction* a : Menu()->actions()) items.push_back({a->data().toInt(), a->text().toStdString()});
                EXPECT_EQ(items, (std::vector<std::pair<int, std::string>>{
                                     {32809, "删除\tDel"}, {32810, "复制\tC"}, {32811, "粘帖\tV"},
                                     {32812, "取消"}, {32813, "剪切\tX"}, {32814, "插入\tI"},
                                     {32815, "改写\tU"}}));
            }
        }
        Click(14013);
    });
}

TEST_F(CinereelListTest, InsertAndOverwriteThroughTheFramePositionDialog) {
    CPelmarkDoc* doc = OpenDoc(200, 100);
    TenFrames(doc);
    std::function<void(framework::Dialog&)> answer;
    int opened = 0;
    framework::ScopedModalDriver driver([&](framework::Dialog& d) {
        ++opened;
        EXPECT_EQ(d.TemplateId(), 16050);
        if (answer) answer(d);
    });
    auto fields = [](framework::Dialog& d) {
        std::string s;
        for (int id : {14043, 14045, 14028, 14041, 14047}) s += d.GetDlgItemText(id).toStdString() + ",";
        return s;
    };
    Run(34012, [&] {
        // Insert with an empty clip: the dialog opens with (0, 0, 0, 0), 100.
        answer = [&](framework::Dialog& d) {
            EXPECT_EQ(fields(d), "0,0,0,0,100,");
            d.SetDlgItemText(14043, "5");
            d.SetDlgItemText(14045, "6");
            d.SetDlgItemText(14028, "7");
            d.SetDlgItemText(14041, "8");
            d.SetDlgItemText(14047, "300");
            d.ClickButton(framework::IDOK);
        };
        SelectRows({3}, 3);
        Pick(3, 32814);
        EXPECT_EQ(Row(3), "003   0005,0006  0007,0008  0300");
        EXPECT_EQ(Row(4), "004   0030,0000  0010,0010  0103");
        EXPECT_EQ(Selected(), Rows{3});
        // With a clip: its first frame; cancel changes nothing.
        SelectRows({7}, 7);
        QTest::keyClick(List(), Qt::Key_C);  // frame 6
        answer = [&](framework::Dialog& d) {
            EXPECT_EQ(fields(d), "60,0,10,10,106,");
            d.ClickButton(framework::IDCANCEL);
        };
        SelectRows({0}, 0);
        Pick(0, 32814);
        EXPECT_EQ(Row(0), "000   0000,0000  0010,0010  0100");
        answer = [&](framework::Dialog& d) { d.ClickButton(framework::IDOK); };
        Pick(0, 32814);
        EXPECT_EQ(Row(0), "000   0060,0000  0010,0010  0106");
        EXPECT_EQ(Row(1), "001   0000,0000  0010,0010  0100");
        // Overwrite: the row's own frame.
        answer = [&](framework::Dialog& d) {
            EXPECT_EQ(fields(d), "10,0,10,10,101,");
            d.SetDlgItemText(14028, "20");
            d.ClickButton(framework::IDOK);
        };
        SelectRows({2}, 2);
        Pick(2, 32815);
        EXPECT_EQ(Row(2), "002   0010,0000  0020,0010  0101");
        // Refused in states 1 and 2, by key as by menu.
        const int before = opened;
        for (Rows rows : {Rows{4, 5}, Rows{4, 6}}) {
            List()->clearSelection();
            for (int row : rows) List()->item(row)->setSelected(true);
            List()->setCurrentRow(rows.back(), QItemSelectionModel::NoUpdate);
            QTest::keyClick(List(), Qt::Key_I);
            QTest::keyClick(List(), Qt::Key_U);
        }
        EXPECT_EQ(opened, before);
        Click(14013);
    });
}

TEST_F(CinereelListTest, ThePositionDialogClampsItsFields) {
    CPelmarkDoc* doc = OpenDoc(200, 100);
    TenFrames(doc);
    framework::ScopedModalDriver driver([&](framework::Dialog& d) {
        struct Case {
            int id;
            const char* typed;
            const char* shown;
        } cases[] = {
            {14047, "12000", "9999"},  // delay
            {14028, "500", "190"},     // width against x 10
            {14041, "500", "100"},     // height against y 0
            {14043, "150", "10"},      // x against width 190
            {14028, "50", "50"},
            {14043, "180", "150"},
            {14045, "70", "0"},        // y against height 100
            {14041, "30", "30"},
            {14045, "90", "70"},
        };
        for (const Case& c : cases) {
            d.SetDlgItemText(c.id, c.typed);
            EXPECT_EQ(d.GetDlgItemText(c.id).toStdString(), c.shown) << c.id << " " << c.typed;
        }
        EXPECT_EQ(d.Item<QScrollBar>(14044)->value(), 150);
        EXPECT_EQ(d.Item<QScrollBar>(14031)->maximum(), 200);
        EXPECT_EQ(d.Item<QScrollBar>(14042)->maximum(), 100);
        d.Item<QScrollBar>(14046)->setValue(95);  // the y spin, clamped
        EXPECT_EQ(d.GetDlgItemText(14045).toStdString(), "70");
        d.ClickButton(framework::IDOK);
    });
    Run(34012, [&] {
        SelectRows({1}, 1);
        Pick(1, 32815);
        EXPECT_EQ(Row(1), "001   0150,0070  0050,0030  9999");
        Click(14013);
    });
}

TEST_F(CinereelListTest, SaveWritesTheLinesOfTheFramesInUse) {
    CPelmarkDoc* doc = OpenDoc(200, 100);
    Run(34012, [&] {
        Click(14050);  // all frames empty: no dialog
        EXPECT_TRUE(dialogs.Requests().empty());
        Click(14013);
    });
    EXPECT_TRUE(FilesHere().isEmpty());
    auto* table = reinterpret_cast<PackedAnimTable*>(doc->m_AnimTable.data());
    PackedAnimFrame a{0, 0, 32, 32, 100}, b{64, 32, 16, 8, 250};
    PackedAnimWrite(table, 0, &a);
    PackedAnimWrite(table, 5, &b);
    PackedAnimSetValid(table, 1);
    const QString path = FilePath("list.can");
    dialogs.Script(dialogs::FileDialogAnswer::Ok({path}));
    Run(34012, [&] {
        Click(14050);
        Click(14013);
    });
    EXPECT_EQ(ReadFile(path), QByteArray("0 0 32 32 100\r\n64 32 16 8 250\r\n"));
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    const dialogs::FileDialogRequest& r = dialogs.Requests()[0];
    EXPECT_FALSE(r.open);
    EXPECT_EQ(r.defaultExt, "CAN");
    EXPECT_EQ(r.fileName, "*.CAN");
    EXPECT_EQ(r.flags, unsigned(dialogs::OFN_HIDEREADONLY | dialogs::OFN_OVERWRITEPROMPT));
    ASSERT_EQ(r.filters.size(), 1u);
    EXPECT_EQ(r.filters[0].name, "Kvt 动画 (*.can)");
    EXPECT_EQ(r.filters[0].patterns, "*.can");
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(CinereelListTest, LoadTakesWellFormedFilesAndKeepsTheFramesOtherwise) {
    struct Case {
        const char* name;
        QByteArray bytes;
        bool ok;
        int row;
        const char* shown;  // that row afterwards
    } cases[] = {
        {"CR LF", "1 2 3 4 50\r\n5 6 7 8 60\r\n", true, 1, "001   0005,0006  0007,0008  0060"},
        {"LF only, as edited on Linux", "1 2 3 4 50\n5 6 7 8 60\n", true, 1, "001   0005,0006  0007,0008  0060"},
        {"four numbers", "1 2 3 4\r\n", false, 0, "000   0000,0000  0010,0010  0100"},
        {"empty line", "1 2 3 4 50\r\n\r\n5 6 7 8 60\r\n", true, 1, "001   0005,0006  0007,0008  0060"},
        {"six digits", "1 2 3 4 123456\r\n", true, 0, "000   0001,0002  0003,0004  9999"},
        {"short last line", "1 2 3 4 50\r\n7 8 9", false, 0, "000   0000,0000  0010,0010  0100"},
        {"beyond the image", "5000 10 300 300 9\r\n", true, 0, "000   5000,0010  0300,0300  0009"},
    };
    CPelmarkDoc* doc = OpenDoc(200, 100);
    for (const Case& c : cases) {
        TenFrames(doc);
        boxes.Clear();
        dialogs.Script(dialogs::FileDialogAnswer::Ok({WriteFile("in.can", c.bytes)}));
        Run(34012, [&] {
            SelectRows({4, 6}, 6);
            Click(14051);
            EXPECT_EQ(Row(c.row), c.shown) << c.name;
            if (c.ok) {
                EXPECT_EQ(Selected(), Rows{0}) << c.name;
                EXPECT_EQ(Row(9).substr(6), "0000,0000  0000,0000  0100") << c.name;
            } else {
                EXPECT_EQ(Row(9), "009   0090,0000  0010,0010  0109") << c.name;
            }
            Click(14013);
        });
        if (c.ok) {
            EXPECT_TRUE(boxes.Requests().empty()) << c.name;
        } else {
            ASSERT_EQ(boxes.Count(), 1u) << c.name;
            EXPECT_EQ(boxes.Requests()[0].text, "读取 CAN 动化文件失败。");
            EXPECT_EQ(boxes.Requests()[0].caption, "错误");
        }
    }
    const dialogs::FileDialogRequest& r = dialogs.Requests().back();
    EXPECT_TRUE(r.open);
    EXPECT_EQ(r.defaultExt, "CAN");
    EXPECT_EQ(r.fileName, "*.CAN");
    EXPECT_TRUE(r.flags & dialogs::OFN_FILEMUSTEXIST);
    EXPECT_EQ(r.filters.at(0).name, "Kvt 动画 (*.can)");
}

TEST_F(CinereelListTest, SaveThenLoadInAnotherDocumentAndTheCoreFormat) {
    CPelmarkDoc* first = OpenDoc(200, 100);
    TenFrames(first);
    const QString path = FilePath("ten.can");
    dialogs.Script(dialogs::FileDialogAnswer::Ok({path}));
    std::vector<std::string> rows;
    Run(34012, [&] {
        Click(14050);
        for (int i = 0; i < 128; ++i) rows.push_back(Row(i));
        Click(14013);
    });
    // The core reader takes the editor's file.
    MemHandle table = can_file::AllocAnimTable();
    ASSERT_EQ(LoadCan(table, path.toLocal8Bit().constData()), 1);
    {
        MemLockGuard lock(table);
        const auto* frames = reinterpret_cast<const AnimFrame*>(lock.get());
        EXPECT_EQ(frames[9].x, 90);
        EXPECT_EQ(frames[9].time, 109);
        EXPECT_EQ(frames[10].time, 0);
    }
    first->OnCloseDocument();
    CPelmarkDoc* second = OpenDoc(200, 100);
    (void)second;
    dialogs.Script(dialogs::FileDialogAnswer::Ok({path}));
    Run(34012, [&] {
        Click(14051);
        for (int i = 0; i < 128; ++i) EXPECT_EQ(Row(i), rows[size_t(i)]) << i;
        Click(14013);
    });
    // And the editor takes the core writer's.
    const QString core = FilePath("core.can");
    {
        MemLockGuard lock(table);
        reinterpret_cast<AnimFrame*>(lock.get())[0] = {3, 4, 5, 6, 77};
    }
    ASSERT_EQ(SaveCan(table, core.toLocal8Bit().constData()), 1);
    MemFree(table);
    dialogs.Script(dialogs::FileDialogAnswer::Ok({core}));
    Run(34012, [&] {
        Click(14051);
        EXPECT_EQ(Row(0), "000   0003,0004  0005,0006  0077");
        EXPECT_EQ(Row(1), "001   0010,0000  0010,0010  0101");
        Click(14013);
    });
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(CinereelListTest, AFileThatCannotBeWrittenOrOpenedIsReported) {
    CPelmarkDoc* doc = OpenDoc(200, 100);
    TenFrames(doc);
    const QByteArray old = "1 1 1 1 1\r\n";
    const QString kept = WriteFile("kept.can", old);
    dialogs.Script(dialogs::FileDialogAnswer::Ok({FilePath("no/such/dir/list.can")}));
    dialogs.Script(dialogs::FileDialogAnswer::Ok({FilePath("missing.can")}));
    Run(34012, [&] {
        Click(14050);
        Click(14051);
        EXPECT_EQ(Row(9), "009   0090,0000  0010,0010  0109");
        Click(14013);
    });
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"保存 CAN 动化文件失败。", "读取 CAN 动化文件失败。"}));
    EXPECT_EQ(ReadFile(kept), old);
    EXPECT_EQ(FilesHere(), QStringList{"kept.can"});
}

}  // namespace
}  // namespace hosttest
