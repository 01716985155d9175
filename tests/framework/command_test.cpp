// Command tables, routing along view -> document -> child frame -> main
// frame -> application, and the update state of commands.
#include <gtest/gtest.h>

#include <string>

#include "framework/cmd_ui.h"
#include "framework/command.h"
#include "framework_fixture.h"

namespace {

using framework::CmdUI;
using framework::CommandId;
using framework::CommandTable;
using fwtest::Log;

class Base : public framework::CommandTarget {
protected:
    void DeclareCommands(CommandTable& t) override {
        t.On(10, [] { Log().push_back("first"); })
            .On(10, [] { Log().push_back("second"); })
            .OnRange(20, 30, [](CommandId id) { Log().push_back("range " + std::to_string(id)); })
            .On(25, [] { Log().push_back("single 25"); })
            .On(40, [] { Log().push_back("40"); })
            .OnUpdate(40, [](CmdUI& ui) { ui.Enable(false); })
            .OnUpdate(41, [](CmdUI& ui) { ui.SetCheck(1); })  // no handler
            .On(42, [] {})
            .OnUpdate(42, [](CmdUI& ui) { ui.SetCheck(1); })
            .On(43, [] {})
            .OnUpdateRange(43, 44, [](CmdUI& ui) {
                ui.SetText(QString("项目%1(X)").arg(ui.id()));
                ui.SetRadio(ui.id() == 43);
            })
            .On(45, [] {})
            .OnUpdate(45, [](CmdUI& ui) { ui.Enable(true); })
            .OnUpdate(45, [](CmdUI& ui) { ui.Enable(false); });
    }
};

class Derived : public Base {
protected:
    void DeclareCommands(CommandTable& t) override {
        t.On(10, [] { Log().push_back("derived"); });
        Base::DeclareCommands(t);
    }
};

TEST(CommandTable, FirstMatchingEntryWins) {
    struct Case {
        CommandId id;
        const char* ran;  // null: no handler
    };
    const Case cases[] = {
        {10, "first"}, {20, "range 20"}, {25, "range 25"}, {30, "range 30"}, {31, nullptr}, {19, nullptr},
    };
    Base target;
    for (const Case& c : cases) {
        Log().clear();
        EXPECT_EQ(target.ExecuteCommand(c.id), c.ran != nullptr) << c.id;
        if (c.ran) EXPECT_EQ(Log(), std::vector<std::string>{c.ran}) << c.id;
        else EXPECT_TRUE(Log().empty()) << c.id;
    }
}

TEST(CommandTable, DerivedEntriesComeBeforeTheBaseClass) {
    Derived target;
    Log().clear();
    target.ExecuteCommand(10);
    EXPECT_EQ(Log(), std::vector<std::string>{"derived"});
}

TEST(CommandTable, UpdateState) {
    struct Case {
        CommandId id;
        bool enabled;
        int checked;  // -1: not set
        const char* text;
    };
    const Case cases[] = {
        {40, false, -1, nullptr},     // update handler disables
        {41, false, 1, nullptr},      // checked, but nothing handles it
        {42, true, 1, nullptr},       // checked, handler exists
        {43, true, 1, "项目43(X)"},   // radio set, text
        {44, false, 0, "项目44(X)"},  // same range, no handler
        {45, true, -1, nullptr},      // first update entry wins
        {10, true, -1, nullptr},      // handler only
        {99, false, -1, nullptr},     // nothing at all
    };
    Base target;
    for (const Case& c : cases) {
        CmdUI ui = target.QueryCommandState(c.id);
        EXPECT_EQ(ui.IsEnabled(), c.enabled) << c.id;
        if (c.checked < 0) EXPECT_FALSE(ui.IsChecked().has_value()) << c.id;
        else EXPECT_EQ(ui.IsChecked(), std::optional<bool>(c.checked == 1)) << c.id;
        if (c.text) EXPECT_EQ(ui.Text(), std::optional<QString>(c.text)) << c.id;
        else EXPECT_FALSE(ui.Text().has_value()) << c.id;
    }
}

TEST(CommandTable, DisabledCommandIsNotRun) {
    Base target;
    Log().clear();
    EXPECT_FALSE(target.ExecuteCommand(40));
    EXPECT_TRUE(Log().empty());
}

TEST(CommandTable, HandlerMayDestroyItsTarget) {
    struct SelfDeleting : framework::CommandTarget {
        void DeclareCommands(CommandTable& t) override {
            t.On(1, [this] { delete this; });
        }
    };
    auto* target = new SelfDeleting;
    EXPECT_TRUE(target->ExecuteCommand(1));
}

class RoutingTest : public fwtest::FrameworkTest {};

TEST_F(RoutingTest, ActiveViewDocumentFrameMainFrameApplication) {
    // Which targets take each id, and the one that must get it.
    struct Case {
        CommandId id;
        std::vector<const char*> takers;
        const char* expected;  // null: nobody, and the command is disabled
    };
    const std::vector<Case> cases = {
        {1001, {"view", "doc", "frame", "main", "app"}, "view"},
        {1002, {"doc", "frame", "main", "app"}, "doc"},
        {1003, {"frame", "main", "app"}, "frame"},
        {1004, {"main", "app"}, "main"},
        {1005, {"app"}, "app"},
        {1006, {}, nullptr},
    };
    fwtest::Handled& h = fwtest::HandledIds();
    for (const Case& c : cases)
        for (std::string who : c.takers) {
            if (who == "view") h.view.push_back(c.id);
            if (who == "doc") h.doc.push_back(c.id);
            if (who == "frame") h.frame.push_back(c.id);
            if (who == "main") h.main.push_back(c.id);
            if (who == "app") h.app.push_back(c.id);
        }
    ASSERT_NE(app->OpenDocumentFile(MakeFile("a.kvt")), nullptr);
    for (const Case& c : cases) {
        Log().clear();
        EXPECT_EQ(main->SendCommand(c.id), c.expected != nullptr) << c.id;
        if (c.expected)
            EXPECT_EQ(Log(), std::vector<std::string>{std::string(c.expected) + ":" +
                                                      std::to_string(c.id)});
        else
            EXPECT_TRUE(Log().empty());
        EXPECT_EQ(main->QueryCommandState(c.id).IsEnabled(), c.expected != nullptr) << c.id;
    }
}

TEST_F(RoutingTest, WithoutAChildOnlyMainFrameAndApplication) {
    fwtest::HandledIds().view = {1001};
    fwtest::HandledIds().app = {1001};
    main->SendCommand(1001);
    EXPECT_EQ(Log(), std::vector<std::string>{"app:1001"});
}

TEST_F(RoutingTest, CommandsGoToTheActiveChild) {
    framework::Document* a = app->OpenDocumentFile(MakeFile("a.kvt"));
    framework::Document* b = app->OpenDocumentFile(MakeFile("b.kvt"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(main->GetActiveDocument(), b);
    a->SetModifiedFlag();
    a->GetFrames().front()->ActivateFrame();
    ASSERT_EQ(main->GetActiveDocument(), a);
    main->SendCommand(framework::ID_FILE_SAVE);
    EXPECT_TRUE(fwtest::Logged("doc:save a.kvt"));
    EXPECT_FALSE(a->IsModified());
}

}  // namespace
