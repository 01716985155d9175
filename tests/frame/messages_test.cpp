#include <cstring>
#include <string>

#include <QStatusBar>
#include <QToolBar>

#include "document/doc_globals.h"
#include "document/pelmark_doc.h"
#include "frame/status_texts.h"
#include "frame_fixture.h"
#include "framework/cmd_ui.h"
#include "palettes/color_palette_bar.h"
#include "palettes/link_palette.h"
#include "palettes/layer_list_dlg.h"
#include "palettes/guide_palette.h"
#include "palettes/palette_dialog.h"
#include "palettes/pos_palette_dlg.h"
#include "palettes/tool_palette.h"
#include "platform/module.h"
#include "platform/window_qt.h"
#include "plugin_api/plugin_messages.h"

namespace frametest {
namespace {

TEST(StatusTexts, PluginCodes) {
    struct Case {
        int code;
        intptr_t value;
        const char* text;  // null: no text
    } cases[] = {
        {1, 0, "读取中"},        {2, 0, "读取结束"}, {3, 0, "写入中"},   {4, 0, "写入结束"},
        {5, 0, "压缩中"},        {6, 42, "压缩中 42 % "}, {7, 0, "压缩结束"}, {8, 0, "打开中"},
        {9, 7, "解压中 7 % "},   {10, 0, "打开结束"}, {11, 0, "                         "},
        {12, 0, nullptr},        {0, 0, nullptr},   {13, 0, nullptr},
    };
    for (const Case& c : cases) {
        std::optional<QString> text = PluginStatusText(c.code, c.value);
        if (!c.text) {
            EXPECT_FALSE(text) << c.code;
        } else {
            EXPECT_EQ(text.value_or("<none>"), QString::fromUtf8(c.text)) << c.code;
        }
    }
}

TEST(StatusTexts, ToolValues) {
    const int32_t v[] = {-3, 250};
    struct Case {
        int type;
        int pane;
        const char* text;
    } cases[] = {{0, 0, "  -3 , 250  "}, {1, 1, "  -3 x 250  "}, {2, 1, "  -3 度  "}, {3, 0, " "}};
    for (const Case& c : cases) {
        std::optional<ToolRectText> t = ToolRectStatusText(c.type, v);
        ASSERT_TRUE(t) << c.type;
        EXPECT_EQ(t->pane, c.pane);
        EXPECT_EQ(t->text, QString::fromUtf8(c.text));
    }
    EXPECT_FALSE(ToolRectStatusText(4, v));
    EXPECT_FALSE(ToolRectStatusText(0, nullptr));
}

class MessagesTest : public FrameTest {
protected:
    WinResult Send(uint32_t message, WinWParam w = 0, WinLParam l = 0) {
        return Frame()->SendWindowMessage(message, w, l);
    }
    // A plug-in window of the test that logs what it receives.
    WinHandle PluginWindow() {
        WinHandle window = platform::WinCreateFunction(
            [this](WinHandle, uint32_t message, WinWParam w, WinLParam l) -> WinResult {
                received.push_back({message, w, l});
                if (message == WM_TOOL_SETTINGS && w) setting = reinterpret_cast<const char*>(w);
                return 0;
            });
        windows.push_back(window);
        return window;
    }
    void TearDown() override {
        for (WinHandle w : windows) WinDestroy(w);
        FrameTest::TearDown();
    }
    struct Received {
        uint32_t message;
        WinWParam w;
        WinLParam l;
        bool operator==(const Received&) const = default;
    };
    std::vector<Received> received;
    std::string setting;
    std::vector<WinHandle> windows;
};

TEST_F(MessagesTest, PluginStatusWritesTheFirstPane) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(Send(WM_PLUGIN_STATUS, 6, 42), 1);
    EXPECT_EQ(Frame()->PaneText(1, 0), QStringLiteral("压缩中 42 % "));
    for (WinWParam code : {0u, 13u, 12u}) {  // 12 without a child: nothing to refresh
        EXPECT_EQ(Send(WM_PLUGIN_STATUS, code, 5), 1);
        EXPECT_EQ(Frame()->PaneText(1, 0), QStringLiteral("压缩中 42 % ")) << code;
    }
    Send(WM_PLUGIN_STATUS, 11, 0);
    EXPECT_EQ(Frame()->PaneText(1, 0), QString(25, u' '));
}

TEST_F(MessagesTest, ToolValuesWriteTheSecondBar) {
    ASSERT_TRUE(Start());
    const int32_t size[] = {32, 16};
    EXPECT_EQ(Send(WM_TOOLRECT_STATUS, 1, reinterpret_cast<WinLParam>(size)), 1);
    EXPECT_EQ(Frame()->PaneText(2, 1), QStringLiteral("  32 x 16  "));
    Send(WM_TOOLRECT_STATUS, 0, reinterpret_cast<WinLParam>(size));
    Send(WM_TOOLRECT_STATUS, 3, reinterpret_cast<WinLParam>(size));
    EXPECT_EQ(Frame()->PaneText(2, 0), QStringLiteral(" "));
    EXPECT_EQ(Frame()->PaneText(2, 1), QStringLiteral("  32 x 16  "));
    Send(WM_TOOLRECT_STATUS, 2, 0);  // no values: nothing changes
    EXPECT_EQ(Frame()->PaneText(2, 1), QStringLiteral("  32 x 16  "));
}

TEST_F(MessagesTest, SettingsNeedADocumentAndAreBounded) {
    ASSERT_TRUE(Start());
    WinHandle window = PluginWindow();
    Send(WM_PLUGIN_SETTINGS, reinterpret_cast<WinWParam>("x"), PLUGIN_SETTINGS_WRITE_MOJI);
    Send(WM_PLUGIN_SETTINGS, reinterpret_cast<WinWParam>(window), PLUGIN_SETTINGS_READ_MOJI);
    EXPECT_EQ(Ini("Settings", "Moji"), "<none>");
    EXPECT_TRUE(received.empty());

    ASSERT_TRUE(NewDocument());
    std::string longText(400, 'a');
    Send(WM_PLUGIN_SETTINGS, reinterpret_cast<WinWParam>(longText.c_str()), PLUGIN_SETTINGS_WRITE_ANIMPOS);
    EXPECT_EQ(Ini("Settings", "ANIMPOS"), QString(255, u'a'));
    Send(WM_PLUGIN_SETTINGS, reinterpret_cast<WinWParam>("宋体,12,0"), PLUGIN_SETTINGS_WRITE_MOJI);
    Send(WM_PLUGIN_SETTINGS, reinterpret_cast<WinWParam>(window), PLUGIN_SETTINGS_READ_MOJI);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, uint32_t(WM_TOOL_SETTINGS));
    EXPECT_EQ(setting, "宋体,12,0");
    Send(WM_PLUGIN_SETTINGS, reinterpret_cast<WinWParam>(window), 7);  // no such operation
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(MessagesTest, SettingsFromAPluginLibrary) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(NewDocument());
    platform::Module plugin(KV_FRAME_TEST_PLUGIN);
    ASSERT_TRUE(plugin);
    auto sendStatus = plugin.symbol<WinResult (*)(WinHandle, int, int)>("SendStatus");
    auto roundTrip = plugin.symbol<void (*)(WinHandle, const char*, char*)>("RoundTripSetting");
    ASSERT_TRUE(sendStatus && roundTrip);
    EXPECT_EQ(sendStatus(Frame()->WindowHandle(), 9, 63), 1);
    EXPECT_EQ(Frame()->PaneText(1, 0), QStringLiteral("解压中 63 % "));
    char answer[512] = {};
    roundTrip(Frame()->WindowHandle(), "Times,24,1", answer);
    EXPECT_STREQ(answer, "Times,24,1");
    EXPECT_EQ(Ini("Settings", "Moji"), "Times,24,1");
}

TEST_F(MessagesTest, CommandLineBytesOpenOnePath) {
    ASSERT_TRUE(Start());
    const std::string path = "/pictures/一.gif";
    for (size_t i = 0; i < path.size(); ++i)
        EXPECT_EQ(Send(WM_COMMANDLINE_BYTE, WinWParam(uint8_t(path[i])), WinLParam(i)), 0);
    Send(WM_COMMANDLINE_BYTE, 'x', 600);  // outside the buffer: ignored
    EXPECT_TRUE(app->opened.empty());
    EXPECT_EQ(Send(WM_COMMANDLINE_BYTE, 0, 512), 0);
    EXPECT_EQ(app->opened, std::vector<QString>{QString::fromStdString(path)});
}

TEST_F(MessagesTest, EnableHostSwitchesTheToolWindows) {
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    Send(WM_PLUGIN_ENABLEHOST, HOST_WINDOWS_TOOL_WINDOWS, 0);  // no child: nothing
    EXPECT_FALSE(f->ToolWindowsDisabled());
    ASSERT_TRUE(NewDocument());
    QWidget* seven[] = {f->ToolPalette(), f->MainToolBar(), f->LinkPalette(), f->ToneBar(),
                        f->LayerPalette(), f->PosPalette(), f->GuidePalette()};
    Send(WM_PLUGIN_ENABLEHOST, HOST_WINDOWS_TOOL_WINDOWS, 0);
    for (QWidget* w : seven) EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(f->ToolWindowsDisabled());
    EXPECT_FALSE(f->QueryCommandState(CMainFrame::kLayerPaletteId).IsEnabled());
    Send(WM_PLUGIN_ENABLEHOST, HOST_WINDOWS_TOOL_WINDOWS, 1);
    for (QWidget* w : seven) EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(f->ToolWindowsDisabled());
    // The main frame alone: the colour palette bar stays usable.
    Send(WM_PLUGIN_ENABLEHOST, HOST_WINDOWS_MAIN_FRAME, 0);
    EXPECT_FALSE(f->isEnabled());
    EXPECT_TRUE(f->ColorPalette()->isEnabled());
    Send(WM_PLUGIN_ENABLEHOST, HOST_WINDOWS_MAIN_FRAME, 1);
    EXPECT_TRUE(f->isEnabled());
}

TEST_F(MessagesTest, ModifiedMarksTheActiveDocument) {
    ASSERT_TRUE(Start());
    CPelmarkDoc* doc = NewDocument();
    ASSERT_TRUE(doc);
    doc->SetModifiedFlag(false);
    EXPECT_EQ(Send(WM_PLUGIN_MODIFIED), 1);
    EXPECT_TRUE(doc->IsModified());
    doc->SetModifiedFlag(false);
    document::SetNoReduceQuestion(false);
    Send(WM_PLUGIN_MODIFIED_NOASK);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(document::IsNoReduceQuestion());
    document::SetNoReduceQuestion(false);
    doc->SetModifiedFlag(false);
}

TEST_F(MessagesTest, AnimationStateSetsTheDocumentsBytes) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(Send(WM_PLUGIN_ANIMSTATE, 1, 1), 1);  // no document: nothing
    CPelmarkDoc* doc = NewDocument();
    ASSERT_TRUE(doc);
    // Only the low byte of each parameter counts.
    EXPECT_EQ(Send(WM_PLUGIN_ANIMSTATE, 0x101, 0x201), 1);
    EXPECT_EQ(doc->m_bAnimState, 1);
    EXPECT_EQ(doc->m_bAnimPreview, 1);
    EXPECT_EQ(doc->m_bAnimPluginRunning, 1);
    Send(WM_PLUGIN_ANIMSTATE, 1, 0);
    EXPECT_EQ(doc->m_bAnimState, 1);
    EXPECT_EQ(doc->m_bAnimPreview, 0);
    EXPECT_EQ(doc->m_bAnimPluginRunning, 0);
}

TEST_F(MessagesTest, GridRequestIsAnsweredToThePluginWindows) {
    ASSERT_TRUE(Start());
    CPelmarkDoc* doc = NewDocument();
    ASSERT_TRUE(doc);
    WinHandle asking = PluginWindow();
    Send(WM_PLUGIN_GETGRID, reinterpret_cast<WinWParam>(asking));
    EXPECT_TRUE(received.empty());  // the document has no plug-in records
    doc->m_AnimPlugin.window = asking;
    Send(WM_PLUGIN_GETGRID, reinterpret_cast<WinWParam>(asking));
    QSize grid = Frame()->ActiveGridSize();
    EXPECT_EQ(received, (std::vector<Received>{{WM_TOOL_GRIDSIZE, WinWParam(grid.width()),
                                                 WinLParam(grid.height())}}));
    doc->m_AnimPlugin.window = nullptr;
}

TEST_F(MessagesTest, ForwardedMessagesAnswerZero) {
    ASSERT_TRUE(Start());
    for (uint32_t message : {WM_PALETTEBAR_UPDATE, WM_KEEP_LAYER_CAPTION, WM_SELMODE_FORWARD,
                             WM_KEEP_POS_CAPTION, WM_GUIDE_REFRESH})
        EXPECT_EQ(Send(message, 1, 0), 0) << message;
    EXPECT_EQ(Send(WM_PLUGIN_CLOSED), 1);
}

}  // namespace
}  // namespace frametest
