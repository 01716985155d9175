// The hosts of the lower layers: the main frame serves the views and dialogs
// while it exists and its palettes as their owner; palette windows without
// a main frame ask their owner's host, here a window that records the calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QFont>
#include <QTest>
#include <QWidget>

#include "dialogs/dialog_host.h"
#include "frame_fixture.h"
#include "palettes/color_palette_bar.h"
#include "palettes/palette_host.h"
#include "palettes/tool_buttons.h"
#include "palettes/tool_palette.h"
#include "view/view_host.h"

namespace {

class RecordingOwner : public QWidget, public PaletteHost {
public:
    std::vector<std::string> calls;
    std::vector<framework::CommandId> commands;
    std::vector<QString> messages;
    bool locked = false;
    ToolOptions options;
    QFont font;

    CPelmarkDoc* ActiveDocument() const override { return nullptr; }
    bool PaletteBarLocked() const override { return locked; }
    void SendFrameCommand(framework::CommandId id) override { commands.push_back(id); }
    int ProbeWorkMemory(int) override { return 1; }
    ToolOptions& ToolSettings() override { return options; }
    const QFont& PaletteFont() const override { return font; }
    void ShowStatusMessage(const QString& text) override { messages.push_back(text); }
    void EnableMainWindow(bool) override { calls.push_back("EnableMainWindow"); }
    CColorPaletteBar* ColorBar() const override { return nullptr; }
    QWidget* SelectModeWindow() const override { return nullptr; }
    void RepaintToolPalette() override { calls.push_back("RepaintToolPalette"); }
    void RefreshToolPalette() override { calls.push_back("RefreshToolPalette"); }
    void DeleteUnusedColors() override { calls.push_back("DeleteUnusedColors"); }
    void PaletteChanged() override { calls.push_back("PaletteChanged"); }
    void LayersChanged(CPelmarkDoc*) override { calls.push_back("LayersChanged"); }
    void ImageDrawn() override { calls.push_back("ImageChanged"); }
    bool LayerCommandsLocked() const override { return false; }
    void ReleaseCommandLocks() override { calls.push_back("ReleaseCommandLocks"); }
    framework::View* ActiveView() const override { return nullptr; }
    framework::CommandHooks FrameCommandHooks() override { return {}; }
};

class FrameHostTest : public frametest::FrameTest {};

TEST_F(FrameHostTest, TheMainFrameServesWhileItLives) {
    ASSERT_TRUE(Start());
    CMainFrame* frame = Frame();
    EXPECT_EQ(view::ViewHost::Installed(), frame);
    EXPECT_EQ(DialogHost::Installed(), frame);
    EXPECT_EQ(PaletteHost::Of(frame), frame);
    EXPECT_EQ(PaletteHost::Of(frame->ColorPalette()), nullptr);
    app.reset();
    EXPECT_EQ(view::ViewHost::Installed(), nullptr);
    EXPECT_EQ(DialogHost::Installed(), nullptr);
}

TEST(PaletteHostTest, ColourBarTellsItsOwnerAndFollowsItsLock) {
    RecordingOwner owner;
    CColorPaletteBar bar(&owner);
    bar.show();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.CellRect(5).center());
    EXPECT_EQ(owner.messages, std::vector<QString>{QStringLiteral("所选色的位置是5到了")});
    EXPECT_EQ(owner.calls, std::vector<std::string>{"RepaintToolPalette"});

    QTest::mouseClick(bar.Control(CColorPaletteBar::kDeleteUnusedId), Qt::LeftButton);
    EXPECT_EQ(owner.calls.back(), "DeleteUnusedColors");
    owner.locked = true;
    bar.OnPaletteBarUpdate(PALETTEBAR_REFRESH, 0);
    EXPECT_FALSE(bar.Control(CColorPaletteBar::kDeleteUnusedId)->isEnabled());
}

TEST(PaletteHostTest, ToolPaletteSendsItsButtonsCommandsThroughItsOwner) {
    RecordingOwner owner;
    CToolPalette palette(&owner);
    palette.show();
    QTest::mouseClick(palette.Client(), Qt::LeftButton, {}, toolpal::ButtonRect(2).center());
    EXPECT_EQ(owner.commands, std::vector<framework::CommandId>{framework::CommandId(toolpal::ButtonCommand(2))});
}

}  // namespace
