// Menus, toolbars and accelerators built from command tables.
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include "framework/cmd_ui.h"
#include "framework/menu_builder.h"
#include "framework_fixture.h"

namespace {

using framework::CmdUI;
using framework::CommandAction;
using framework::CommandTable;
using framework::MenuCommand;
using framework::MenuPopup;
using framework::MenuSeparator;
using fwtest::Log;

TEST(MenuText, Mnemonics) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"视图(V)", "视图(&V)"},
        {"颜色色板(C)\tCtrl+3", "颜色色板(&C)\tCtrl+3"},
        {"更改尺寸(S)...", "更改尺寸(&S)..."},
        {"还原(&U)\tCtrl+Z", "还原(&U)\tCtrl+Z"},
        {"信息", "信息"},
        {"x\t(Y)", "x\t(Y)"},  // only before the accelerator text
        {"(长)", "(长)"},
    };
    for (const Case& c : cases) EXPECT_EQ(framework::MnemonicText(c.in), QString(c.out)) << c.in;
}

TEST(MenuText, Accelerators) {
    EXPECT_EQ(framework::AcceleratorOf("颜色色板(C)\tCtrl+3"), QKeySequence(Qt::CTRL | Qt::Key_3));
    EXPECT_EQ(framework::AcceleratorOf("open\tCtrl+Shift+N"),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    EXPECT_TRUE(framework::AcceleratorOf("信息").isEmpty());
    EXPECT_TRUE(framework::AcceleratorOf("x\t").isEmpty());
    auto accels = framework::AcceleratorsOf(
        {MenuPopup("视图(V)", {MenuCommand(502, "调色板工具(T)\tCtrl+2"), MenuSeparator(),
                              MenuCommand(32875, "信息")})});
    ASSERT_EQ(accels.size(), 1u);
    EXPECT_EQ(accels[0].id, 502u);
    EXPECT_EQ(accels[0].keys, QKeySequence(Qt::CTRL | Qt::Key_2));
}

// Main frame commands for the menu tests.
class MenuMain : public framework::MdiFrame {
public:
    bool paletteShown = false;
    bool locked = false;

protected:
    void DeclareCommands(CommandTable& t) override {
        t.On(502, [this] {
             paletteShown = !paletteShown;
             Log().push_back("502");
         })
            .OnUpdate(502, [this](CmdUI& ui) {
                ui.SetCheck(paletteShown);
                if (locked) ui.Enable(false);
            })
            .On(657, [] { Log().push_back("657"); })
            .OnUpdate(34000, [](CmdUI& ui) { ui.SetText("改名(R)\tCtrl+3"); })
            .OnRange(2001, 2030, [](framework::CommandId id) { Log().push_back(std::to_string(id)); });
        MdiFrame::DeclareCommands(t);
    }
};

class MenuTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        frame = new MenuMain;
        frame->resize(640, 480);
        app->SetMainFrame(frame);  // replaces the fixture's
        main = nullptr;
        frame->LoadMenuBar({
            MenuPopup("视图(V)", {MenuCommand(502, "调色板工具(T)\tCtrl+2"),
                                  MenuCommand(34000, "颜色色板(C)\tCtrl+3"), MenuSeparator(),
                                  MenuCommand(32875, "信息")}),
            MenuPopup("滤镜(L)", {}),
            MenuPopup("窗口(W)", {MenuCommand(framework::ID_WINDOW_CASCADE, "层叠(C)"),
                                  MenuCommand(framework::ID_WINDOW_TILE_HORZ, "平铺(T)")}),
        });
    }
    QMenu* TopMenu(int index) { return frame->menuBar()->actions().at(index)->menu(); }
    void Show() {
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    }

    MenuMain* frame = nullptr;
};

TEST_F(MenuTest, ActionsCarryIdsAndTextsAndPostTheirCommand) {
    QMenu* view = TopMenu(0);
    EXPECT_EQ(view->title(), "视图(&V)");
    CommandAction* palette = framework::FindCommandAction(frame->menuBar(), 502);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette->id(), 502u);
    EXPECT_EQ(palette->text(), "调色板工具(&T)\tCtrl+2");
    EXPECT_EQ(framework::CommandIdOf(palette), 502u);
    palette->trigger();
    EXPECT_TRUE(Log().empty());  // posted, like a menu command
    Flush();
    EXPECT_EQ(Log(), std::vector<std::string>{"502"});
}

TEST_F(MenuTest, ItemsAreUpdatedBeforeTheMenuShows) {
    frame->paletteShown = true;
    QMenu* view = TopMenu(0);
    emit view->aboutToShow();
    CommandAction* palette = framework::FindCommandAction(view, 502);
    CommandAction* colors = framework::FindCommandAction(view, 34000);
    CommandAction* info = framework::FindCommandAction(view, 32875);
    EXPECT_TRUE(palette->isEnabled());
    EXPECT_TRUE(palette->isChecked());
    EXPECT_FALSE(colors->isEnabled());  // update handler but no command handler
    EXPECT_EQ(colors->text(), "改名(&R)\tCtrl+3");
    EXPECT_FALSE(info->isEnabled());  // nobody handles it
    frame->paletteShown = false;
    frame->locked = true;
    emit view->aboutToShow();
    EXPECT_FALSE(palette->isChecked());
    EXPECT_FALSE(palette->isEnabled());
}

TEST_F(MenuTest, ItemsAddedAtRunTime) {
    QMenu* filters = TopMenu(1);
    for (int i = 0; i < 3; ++i)
        framework::AddMenuCommand(filters, 2001 + i, QString("滤镜%1").arg(i), frame->Hooks());
    ASSERT_EQ(filters->actions().size(), 3);
    framework::FindCommandAction(filters, 2002)->trigger();
    Flush();
    EXPECT_EQ(Log(), std::vector<std::string>{"2002"});
    EXPECT_EQ(framework::RemoveMenuCommands(filters, 2001, 2030), 3);
    EXPECT_TRUE(filters->actions().isEmpty());
}

TEST_F(MenuTest, AcceleratorsRunEnabledCommands) {
    frame->AddAccelerators({{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W), 657}});
    Show();
    QTest::keyClick(frame, Qt::Key_2, Qt::ControlModifier);
    QTest::keyClick(frame, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Log(), (std::vector<std::string>{"502", "657"}));
    frame->locked = true;  // the update handler disables 502 now
    QTest::keyClick(frame, Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(Log().size(), 2u);
}

TEST_F(MenuTest, ToolbarButtonsAreUpdatedWhenIdle) {
    auto* bar = new QToolBar(frame);
    frame->addToolBar(bar);
    framework::BuildToolBar(bar, {{502, 0, "调色板\n调色板工具"}, {}, {32875, 1, "信息"}}, {},
                            frame->Hooks());
    Show();
    ASSERT_EQ(bar->actions().size(), 3);
    auto* palette = qobject_cast<CommandAction*>(bar->actions()[0]);
    auto* info = qobject_cast<CommandAction*>(bar->actions()[2]);
    ASSERT_TRUE(palette && info);
    EXPECT_EQ(palette->toolTip(), "调色板工具");
    EXPECT_TRUE(bar->actions()[1]->isSeparator());
    frame->paletteShown = true;
    app->RunIdle();
    EXPECT_TRUE(palette->isChecked());
    EXPECT_TRUE(palette->isEnabled());
    EXPECT_FALSE(info->isEnabled());
    frame->locked = true;
    app->RunIdle();
    EXPECT_FALSE(palette->isEnabled());
}

TEST_F(MenuTest, WindowMenuListsTheChildren) {
    ASSERT_EQ(frame->WindowMenu(), TopMenu(2));
    framework::Document* a = app->OpenDocumentFile(MakeFile("a.kvt"));
    framework::Document* b = app->OpenDocumentFile(MakeFile("b.kvt"));
    ASSERT_TRUE(a && b);
    QMenu* window = TopMenu(2);
    for (int round = 0; round < 2; ++round) {  // rebuilt, not appended twice
        emit window->aboutToShow();
        QList<QAction*> items = window->actions();
        ASSERT_EQ(items.size(), 5);  // cascade, tile, separator, two windows
        EXPECT_EQ(items[3]->text(), "&1 a.kvt");
        EXPECT_EQ(items[4]->text(), "&2 b.kvt");
        EXPECT_FALSE(items[3]->isChecked());
        EXPECT_TRUE(items[4]->isChecked());
    }
    window->actions()[3]->trigger();
    EXPECT_EQ(frame->GetActiveDocument(), a);
}

}  // namespace
