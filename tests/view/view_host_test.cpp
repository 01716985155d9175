// The canvas view without a main frame: what it asks of the program goes to
// whatever host is installed, here one that records the calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QMenu>

#include "view/pelmark_view.h"
#include "view/text_tool_handler.h"
#include "view/view_geometry.h"
#include "view/view_host.h"

namespace {

class RecordingHost : public view::ViewHost {
public:
    std::vector<std::string> calls;
    std::vector<framework::CommandId> commands;
    bool zoomLocked = false;
    framework::View* active = nullptr;

    bool CommandsLocked() const override { return false; }
    bool ZoomLocked() const override { return zoomLocked; }
    framework::View* ActiveView() const override { return active; }
    void SendFrameCommand(framework::CommandId id) override { commands.push_back(id); }
    QWidget* MenuOwner() override { return nullptr; }
    WinHandle FrameWindow() override { return nullptr; }
    int ProbeWorkMemory(int) override { return 1; }
    int ToolOption(int) override { return 0; }
    void EditStateChanged() override { calls.push_back("EditStateChanged"); }
    void ShowCurrentTool(int) override { calls.push_back("ShowCurrentTool"); }
    void FollowZoomOf(CPelmarkView*) override { calls.push_back("FollowZoomOf"); }
    void ResetTool() override { calls.push_back("ResetTool"); }
    void HideDocumentWindows() override { calls.push_back("HideDocumentWindows"); }
    void ShowDocumentWindows() override { calls.push_back("ShowDocumentWindows"); }
    void ShowGuideState(bool, bool) override { calls.push_back("ShowGuideState"); }
    void ShowAnimationState(bool, bool) override { calls.push_back("ShowAnimationState"); }
    void ShowTone(framework::CommandId) override { calls.push_back("ShowTone"); }
    void FollowPosition(CPelmarkDoc*) override { calls.push_back("FollowPosition"); }
    void LayersChanged(CPelmarkDoc*) override { calls.push_back("LayersChanged"); }
    void PaletteChanged() override { calls.push_back("PaletteChanged"); }
    void ImageDrawn() override { calls.push_back("ImageChanged"); }
    void RefreshToolPalette() override { calls.push_back("RefreshToolPalette"); }
    int RunFillPlugin() override {
        calls.push_back("RunFillPlugin");
        return 1;
    }
    void PassShortcutKey(int, Qt::KeyboardModifiers) override { calls.push_back("PassShortcutKey"); }
    void StartTextTool() override { calls.push_back("StartTextTool"); }
    bool RulersWanted() const override { return false; }
    QFont InterfaceFont() const override { return {}; }
};

class ViewHostTest : public ::testing::Test {
protected:
    void SetUp() override { view::ViewHost::Install(&host); }
    void TearDown() override { view::ViewHost::Uninstall(&host); }
    RecordingHost host;
};

TEST_F(ViewHostTest, TextToolAndSelectionMenuGoThroughTheHost) {
    view::TextToolHandler().OnDown({3, 4});
    EXPECT_EQ(host.calls, std::vector<std::string>{"StartTextTool"});

    QMenu* menu = CPelmarkView::CreateSelectionMenu(nullptr);
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) action->trigger();
    delete menu;
    EXPECT_EQ(host.commands, (std::vector<framework::CommandId>{57635, 57634, 57637, 32853, 34015, 32888}));
}

TEST_F(ViewHostTest, ZoomInIsSentByTheHostForTheActiveViewUnlessLocked) {
    CPelmarkView canvas;
    const framework::CommandId zoomIn = view::ZoomInCommand(1);
    ASSERT_NE(zoomIn, 0u);
    canvas.OnZoomIn();  // another view is active: the view zooms itself
    EXPECT_TRUE(host.commands.empty());
    host.active = &canvas;
    host.zoomLocked = true;
    canvas.OnZoomIn();
    EXPECT_TRUE(host.commands.empty());
    host.zoomLocked = false;
    canvas.OnZoomIn();
    EXPECT_EQ(host.commands, std::vector<framework::CommandId>{zoomIn});
}

}  // namespace
