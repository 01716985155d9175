// The tool and filter host through the real loading path: the filter menu,
// filter and tool runs with their undo steps, the record as the plug-in
// sees it, the window locks around a run, modeless plug-ins with the
// document closed under them, the animation maker and the hex tiling view.
#include <cstring>
#include <functional>
#include <map>

#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

#include "app/pelmark_app.h"
#include "document/floating_selection.h"
#include "palettes/color_palette_bar.h"
#include "palettes/link_palette.h"
#include "palettes/layer_list_dlg.h"
#include "palettes/guide_palette.h"
#include "palettes/palette_dialog.h"
#include "palettes/pos_palette_dlg.h"
#include "palettes/tool_palette.h"
#include "framework/cmd_ui.h"
#include "framework/menu_builder.h"
#include "host_fixture.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "plugin_api/plugin_api.h"
#include "plugin_host/filter_plugins.h"
#include "plugin_host/tool_commands.h"
#include "plugin_host/tool_host_services.h"
#include "plugin_host/tool_images.h"
#include "plugin_host/tool_runs.h"
#include "recording_plugin_frame.h"

namespace hosttest {
namespace {

using namespace plugin_host;

class ToolHostTest : public HostTest {
protected:
    std::unique_ptr<framework::Application> MakeApplication() override {
        return std::make_unique<CPelmarkApp>();
    }
    void SetUp() override {
        HostTest::SetUp();
        ResetFilterMenuForTests();
        Services() = ToolHostServices{};
    }
    void TearDown() override {
        Services() = ToolHostServices{};
        ResetFilterMenuForTests();
        HostTest::TearDown();
    }

    // Tool and filter plug-ins under their own names or "Built=Name".
    void UseTools(const QStringList& names) {
        for (const QString& entry : names) {
            QString built = entry.section('=', 0, 0);
            QString name = entry.contains('=') ? entry.section('=', 1, 1) : built;
            ASSERT_TRUE(QFile::link(QStringLiteral(KVT_TOOL_PLUGIN_DIR "/") + built,
                                    ProgramDir() + name))
                << name.toStdString();
        }
    }

    // A document whose path leads the plug-ins' record dump into the files
    // folder, its layer filled with `pixel`.
    std::unique_ptr<CPelmarkDoc> Doc(int pixel = 5, int width = 10, int height = 6) {
        auto doc = DocumentWithImage(width, height, pixel);
        doc->SetPathName(FilePath("doc.kvt"), false);
        MemLockGuard layer(doc->m_hLayers[0]);
        std::memset(layer.get() + LAYER_HEADER_SIZE, pixel, layer.size() - LAYER_HEADER_SIZE);
        return doc;
    }

    // The record dump: each name with its values in call order.
    std::map<std::string, std::vector<long long>> Dump(const QString& name = "doc.kvt.rec") {
        std::map<std::string, std::vector<long long>> lines;
        for (const QByteArray& line : ReadFile(FilePath(name)).split('\n')) {
            QList<QByteArray> parts = line.split(' ');
            if (parts.size() == 2) lines[parts[0].toStdString()].push_back(parts[1].toLongLong());
        }
        return lines;
    }

    static int LayerPixel(CPelmarkDoc& doc) {
        MemLockGuard layer(doc.m_hLayers[0]);
        return layer.get()[LAYER_HEADER_SIZE];
    }

    // Runs `check` from the event loop of the plug-in that runs next.
    static void WhileRunning(std::function<void()> check) { QTimer::singleShot(0, check); }
    static void CloseWindow(WinHandle window) { WinSendMessage(window, kCloseMessage, 0, 0); }
};

std::vector<framework::CommandId> Ids(QMenu* menu) {
    std::vector<framework::CommandId> ids;
    for (QAction* action : menu->actions()) ids.push_back(framework::CommandIdOf(action));
    return ids;
}

TEST_F(ToolHostTest, FilterMenuListsEveryFilterAndRunsOnlyThirty) {
    QStringList names;
    for (int i = 0; i < 35; ++i) names << QString("Same.GLT=F%1.GLT").arg(i, 2, 10, QChar('0'));
    names << "NoInfo.GLT" << "Invert.GLT=notafilter.FLT";
    UseTools(names);
    std::vector<framework::MenuItem> menu;
    for (int i = 0; i < 6; ++i)
        menu.push_back(framework::MenuPopup(QString("m%1").arg(i),
                                            {framework::MenuCommand(40000 + i, "item")}));
    frame->LoadMenuBar(menu);

    BuildFilterMenu();
    BuildFilterMenu();  // once per run
    ASSERT_EQ(FilterNames().size(), 35u);
    EXPECT_EQ(FilterNames()[0], QString("测试滤镜"));
    EXPECT_EQ(FilterPaths()[34], ProgramDir() + "F34.GLT");
    EXPECT_EQ(FilterTable()[0], "测试滤镜/*.BMP;*.DIB/<" + (ProgramDir() + "F00.GLT").toStdString() + ">/");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{(ProgramDir() + "NoInfo.GLT\n 是旧格式").toStdString()});
    QMenu* filters = frame->menuBar()->actions().at(4)->menu();
    std::vector<framework::CommandId> ids = Ids(filters);
    ASSERT_EQ(ids.size(), 35u);  // the placeholder went
    EXPECT_EQ(ids.front(), 2001u);
    EXPECT_EQ(ids.back(), 2035u);

    auto doc = Doc();
    for (framework::CommandId id : {2001u, 2030u, 2031u, 2035u})
        EXPECT_EQ(doc->QueryCommandState(id).IsEnabled(), id <= 2030) << id;
}

struct RunCase {
    const char* name;
    QStringList plugins;
    std::function<int(CPelmarkDoc*)> run;
    bool layerChanged;
    bool stepKept;
    bool modified;
    bool pluginCalled;
};

TEST_F(ToolHostTest, UndoStepAndModifiedFlagFollowTheRun) {
    auto filter = [](CPelmarkDoc* doc) {
        FindFilterPlugins();
        OnFilterCommand(doc, 2001);
        return 1;
    };
    const std::vector<RunCase> cases = {
        {"inverting filter", {"Invert.GLT"}, filter, true, true, true, true},
        {"filter changing nothing", {"Same.GLT"}, filter, false, false, false, true},
        {"filter whose dialog stops", {"Stop.GLT"}, filter, false, false, false, false},
        {"colour tone changing nothing", {"Same.GLT=Tonalis.so"}, RunToneChange, false, false, false, true},
        {"negative changing nothing", {"Same.GLT=Tonalis.so"}, RunToneInvert, false, true, true, true},
        {"negative", {"Invert.GLT=Tonalis.so"}, RunToneInvert, true, true, true, true},
        {"colouring fill", {"Invert.GLT=Floodkit.so"}, RunFillPlugin, true, true, true, true},
        {"missing library", {}, RunToneChange, false, true, false, false},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& f : QDir(ProgramDir()).entryList(QDir::Files | QDir::System))
            if (!f.endsWith(".ini")) QFile::remove(ProgramDir() + f);
        QFile::remove(FilePath("doc.kvt.rec"));
        UseTools(c.plugins);
        auto doc = Doc(5);
        ASSERT_TRUE(doc->PushUndo(999, "earlier edit", true));  // history before the run
        doc->SetModified(false);
        c.run(doc.get());
        EXPECT_EQ(LayerPixel(*doc), c.layerChanged ? 250 : 5);
        EXPECT_EQ(doc->m_nUndoIndex, c.stepKept ? 1 : 0);
        EXPECT_EQ(doc->IsModified(), c.modified);
        EXPECT_EQ(Dump().count("call"), c.pluginCalled ? 1u : 0u);
        EXPECT_EQ(doc->m_ToolPlugin.record, nullptr);
        EXPECT_FALSE(ToolRecordHeld());
    }
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(ToolHostTest, RecordAsThePluginSeesIt) {
    UseTools({"Same.GLT=Tonalis.so"});
    auto doc = Doc(5, 10, 6);
    doc->m_rcSelection = {1, 2, 5, 9};
    doc->m_nColor = 7;
    doc->m_nColorMode = 1;
    doc->m_nMaskMode = 1;
    MemFree(doc->m_hMask3);
    doc->m_hMask3 = MemAlloc(123);
    doc->m_AnimTable[0] = 44;
    ToolClickX() = 3;
    ToolClickY() = 4;
    app->WriteProfileInt("Settings", "AntiCheckBox", 0);
    Services().toneIndex = [] { return 5; };
    Services().toolOption = [](int index) { return index <= 1 ? 1 : index == 2 ? 33 : 0; };
    document::SelectionPattern& pattern = document::GetSelectionPattern();
    pattern.rect = {1, 2, 4, 6};
    pattern.image = MemAlloc(77);
    doc->m_hFloatImage = MemAlloc(1);  // a floating selection, renewed after the negative
    RunToneInvert(doc.get());
    document::ReleaseSelectionPattern();

    auto dump = Dump();
    const std::vector<std::pair<std::string, long long>> expected = {
        {"call", 2},  // ImportFL2
        {"selection", 4 * 10000 + 7},
        {"color", 7},
        {"click", 3 * 10000 + 4},
        {"anti", 0},
        {"editLayer", 0},
        {"layerBytes", LAYER_HEADER_SIZE + 12 * 6},
        {"maskBytes", 123},
        {"usedOnes", 1},
        {"used255", 240},
        {"tone", 5},
        {"toolOption", 33},
        {"pattern", 1020304},
        {"patternBytes", 77},
        {"animByte0", 44},
        {"startMode", 0},
        {"imageBytes", (long long)MemSize(doc->m_hImage)},
        {"rect", 0},
    };
    for (const auto& [name, value] : expected) {
        ASSERT_EQ(dump[name].size(), 1u) << name;
        EXPECT_EQ(dump[name][0], value) << name;
    }
    // The floating selection was lifted again from the layer, cut to the image.
    EXPECT_EQ(MemSize(doc->m_hFloatImage), LAYER_HEADER_SIZE + 4u * 4u);
    EXPECT_EQ(doc->m_rcSelection.bottom, 6);
}

TEST_F(ToolHostTest, ARunWithoutAMainFrameAsksThePluginFrame) {
    app->SetMainFrame(nullptr);
    frame = nullptr;
    RecordingPluginFrame recorder;
    recorder.tone = 7;
    recorder.toolSettings = {{1, 1}, {2, 12}};
    UseTools({"Same.GLT=Tonalis.so"});
    auto doc = Doc();
    EXPECT_EQ(RunToneInvert(doc.get()), 1);
    auto dump = Dump();
    EXPECT_EQ(dump["tone"], std::vector<long long>{7});
    EXPECT_EQ(dump["toolOption"], std::vector<long long>{12});
    EXPECT_EQ(recorder.told, (std::vector<std::string>{"probe 1", "clear locks", "palette colours",
                                                       "rebuild layers", "show layers"}));
    EXPECT_EQ(recorder.docs, std::vector<CPelmarkDoc*>(2, doc.get()));
}

TEST_F(ToolHostTest, FilterLocksTheHostAndRefusesASecondRun) {
    UseTools({"Modeless.GLT", "Same.GLT=Scribeon.so"});
    FindFilterPlugins();
    frame->menuBar();  // made on first use
    auto* palette = new QWidget(frame);
    std::vector<QWidget*> tools;
    for (int i = 0; i < 7; ++i) tools.push_back(new QWidget(frame, Qt::Tool));
    Services().colorPaletteBar = [palette] { return palette; };
    Services().toolWindows = [tools] { return tools; };
    auto doc = Doc();
    bool checked = false;
    WhileRunning([&] {
        checked = true;
        EXPECT_TRUE(ToolRecordHeld());
        EXPECT_TRUE(IsHostFrameLocked());
        EXPECT_FALSE(frame->menuBar()->isEnabled());
        EXPECT_FALSE(frame->MdiArea()->isEnabled());
        for (QWidget* w : tools) EXPECT_FALSE(w->isEnabled());
        EXPECT_TRUE(palette->isEnabled());
        // A second filter or tool while the record is held is refused.
        int steps = doc->m_nUndoIndex;
        OnFilterCommand(doc.get(), 2001);
        EXPECT_EQ(RunTextTool(doc.get()), 0);
        EXPECT_EQ(doc->m_nUndoIndex, steps);
        CloseWindow(SlotWindow(doc->m_ToolPlugin));
    });
    OnFilterCommand(doc.get(), 2001);
    EXPECT_TRUE(checked);
    EXPECT_FALSE(IsHostFrameLocked());
    EXPECT_TRUE(frame->menuBar()->isEnabled());
    EXPECT_TRUE(frame->MdiArea()->isEnabled());
    for (QWidget* w : tools) EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(palette->isEnabled());
    auto dump = Dump();
    EXPECT_EQ(dump["call"].size(), 1u);
    EXPECT_EQ(dump["closedBy"], std::vector<long long>{1});
    EXPECT_EQ(dump["imageValidAfter"], std::vector<long long>{1});
    EXPECT_EQ(doc->m_nUndoIndex, 0);  // the plug-in reported a change
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(ToolHostTest, TextToolDisablesToolWindowsAndCannotStartTwice) {
    UseTools({"Modeless.GLT=Scribeon.so"});
    auto* palette = new QWidget(frame, Qt::Tool);
    std::vector<QWidget*> tools;
    for (int i = 0; i < 7; ++i) tools.push_back(new QWidget(frame, Qt::Tool));
    std::vector<bool> lockFlag;
    Services().colorPaletteBar = [palette] { return palette; };
    Services().toolWindows = [tools] { return tools; };
    Services().setToolWindowsDisabled = [&](bool on) { lockFlag.push_back(on); };
    auto doc = Doc();
    WhileRunning([&] {
        EXPECT_TRUE(TextToolRunning());
        for (QWidget* w : tools) EXPECT_FALSE(w->isEnabled());
        EXPECT_TRUE(palette->isEnabled());
        EXPECT_TRUE(frame->menuBar()->isEnabled());
        int steps = doc->m_nUndoIndex;
        EXPECT_EQ(RunTextTool(doc.get()), 0);
        EXPECT_EQ(doc->m_nUndoIndex, steps);
        CloseWindow(SlotWindow(doc->m_ToolPlugin));
    });
    EXPECT_EQ(RunTextTool(doc.get()), 1);
    EXPECT_FALSE(TextToolRunning());
    for (QWidget* w : tools) EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(lockFlag, (std::vector<bool>{true, false}));
    EXPECT_EQ(Dump()["call"].size(), 1u);
}

TEST_F(ToolHostTest, MainFrameWindowsDuringFilterAndTextTool) {
    UseTools({"Modeless.GLT", "Modeless.GLT=Scribeon.so"});
    FindFilterPlugins();
    QFile dictionary(ProgramDir() + "COLOR.DIC");
    ASSERT_TRUE(dictionary.open(QIODevice::WriteOnly));
    dictionary.write("\x1a");
    dictionary.close();
    ASSERT_TRUE(frame->LoadFrame());
    const std::vector<QWidget*> tools = {frame->ToolPalette(), frame->MainToolBar(),
                                         frame->LinkPalette(), frame->ToneBar(),
                                         frame->LayerPalette(), frame->PosPalette(),
                                         frame->GuidePalette()};
    auto doc = Doc();
    int runs = 0;
    auto during = [&](bool toolsLocked, bool frameLocked) {
        ++runs;
        for (QWidget* w : tools) EXPECT_FALSE(w->isEnabled()) << w->metaObject()->className();
        EXPECT_TRUE(frame->ColorPalette()->isEnabled());
        EXPECT_EQ(frame->ToolWindowsDisabled(), toolsLocked);
        EXPECT_EQ(frame->MdiArea()->isEnabled(), !frameLocked);
        CloseWindow(SlotWindow(doc->m_ToolPlugin));
    };
    WhileRunning([&] { during(false, true); });
    OnFilterCommand(doc.get(), 2001);
    WhileRunning([&] { during(true, false); });
    RunTextTool(doc.get());
    EXPECT_EQ(runs, 2);
    for (QWidget* w : tools) EXPECT_TRUE(w->isEnabled()) << w->metaObject()->className();
    EXPECT_TRUE(frame->ColorPalette()->isEnabled());
    EXPECT_TRUE(frame->MdiArea()->isEnabled());
    EXPECT_FALSE(frame->ToolWindowsDisabled());
}

TEST_F(ToolHostTest, DocumentClosedWhileAPluginWindowRuns) {
    UseTools({"Modeless.GLT"});
    FindFilterPlugins();
    auto doc = Doc();
    doc->m_nColor = 9;
    WhileRunning([&] {
        WinHandle window = SlotWindow(doc->m_ToolPlugin);
        ASSERT_NE(window, nullptr);
        doc.reset();
        CloseWindow(window);
    });
    OnFilterCommand(doc.get(), 2001);
    EXPECT_EQ(doc, nullptr);
    EXPECT_FALSE(ToolRecordHeld());
    EXPECT_FALSE(IsHostFrameLocked());
    auto dump = Dump();
    EXPECT_EQ(dump["docClosed"], std::vector<long long>{1});
    EXPECT_EQ(dump["colorAfter"], std::vector<long long>{9});
    EXPECT_EQ(dump["layerLockAfter"], std::vector<long long>{0});
    EXPECT_EQ(dump["imageValidAfter"], std::vector<long long>{0});
    // The next run works as usual.
    auto next = Doc();
    QFile::remove(FilePath("doc.kvt.rec"));
    WhileRunning([&] { CloseWindow(SlotWindow(next->m_ToolPlugin)); });
    OnFilterCommand(next.get(), 2001);
    EXPECT_EQ(Dump()["call"].size(), 1u);
}

TEST_F(ToolHostTest, AnimationMakerPreviewAndFrameTable) {
    UseTools({"Modeless.GLT=Cinereel.so"});
    auto doc = Doc();
    doc->SetTitle(FilePath("anim"));
    WhileRunning([&] {
        EXPECT_TRUE(AnimMakerRunning());
        EXPECT_EQ(doc->m_bAnimPluginRunning, 1);
        EXPECT_EQ(AnimDocument(), doc.get());
        // A second preview toggles the open maker's preview.
        OnAnimPreview(doc.get());
        EXPECT_EQ(doc->m_bAnimPreview, 1);
        EXPECT_TRUE(doc->QueryCommandState(kAnimPreviewId).IsChecked().value_or(false));
        AnimRecord().animTable.a[7][0] = PACKED_ANIM_VALID_BIT;
        RestoreAnimTable();
        CloseWindow(SlotWindow(doc->m_AnimPlugin));
    });
    OnAnimPreview(doc.get());
    EXPECT_FALSE(AnimMakerRunning());
    EXPECT_EQ(doc->m_bAnimPluginRunning, 0);
    EXPECT_EQ(doc->m_AnimTable[7 * 128], PACKED_ANIM_VALID_BIT);
    EXPECT_EQ(doc->m_AnimPlugin.record, nullptr);
    auto dump = Dump("anim.rec");
    EXPECT_EQ(dump["startMode"], std::vector<long long>{1});
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->m_nUndoIndex, -1);
}

TEST_F(ToolHostTest, HexTilingHoldsItsPictureUntilThePluginReturns) {
    UseTools({"Modeless.GLT=hex.so"});
    // 100 x 50: copies 80 apart overlap by 20 columns; column 0 is index 0.
    auto doc = Doc(0, 100, 50);
    {
        dib::LockedDib image(doc->m_hImage);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 100; ++x) image.Row(y, 100)[x] = uint8_t(x == 0 ? 0 : 1 + x % 7);
    }
    size_t blocks = MemBlockCount();
    WhileRunning([&] {
        EXPECT_TRUE(HexToolRunning());
        EXPECT_TRUE(doc->QueryCommandState(kHexTilingId).IsChecked().value_or(false));
        dib::LockedDib hex(HexImage());
        ASSERT_TRUE(hex);
        EXPECT_EQ(hex.geo().width, kHexWidth);
        EXPECT_EQ(hex.geo().height, kHexHeight);
        auto at = [&](int x, int yTop) { return int(hex.Row(kHexHeight - 1 - yTop, 840)[x]); };
        EXPECT_EQ(at(1, 0), 2);             // first copy
        EXPECT_EQ(at(80, 0), 1 + 80 % 7);   // index 0 of the second copy lets it show
        EXPECT_EQ(at(81, 0), 1 + 1 % 7);    // the second copy on top
        EXPECT_EQ(at(41, 47), 2);           // odd rows shifted by 40
        EXPECT_EQ(at(839, 599), 0);         // never covered
        MemLockGuard layer(HexLayer());
        EXPECT_EQ(layer.size(), 504088u);
        EXPECT_EQ(std::memcmp(layer.get() + LAYER_HEADER_SIZE, hex.bits(), 840 * 600), 0);
        // The second command closes the window; the picture stays for now.
        OnHexTiling(doc.get());
    });
    OnHexTiling(doc.get());
    EXPECT_FALSE(HexToolRunning());
    EXPECT_EQ(HexImage(), nullptr);
    EXPECT_EQ(MemBlockCount(), blocks);
    auto dump = Dump();
    EXPECT_EQ(dump["closedBy"], std::vector<long long>{1});
    EXPECT_EQ(dump["imageValidAfter"], std::vector<long long>{1});
    EXPECT_EQ(dump["layerBytes"], std::vector<long long>{504088});
    EXPECT_EQ(dump["editLayer"], std::vector<long long>{0});
    EXPECT_EQ(doc->m_nUndoIndex, -1);
    EXPECT_FALSE(doc->IsModified());

    // Without the library the command ends silently.
    QFile::remove(ProgramDir() + "hex.so");
    OnHexTiling(doc.get());
    EXPECT_FALSE(HexToolRunning());
    EXPECT_EQ(MemBlockCount(), blocks);
    EXPECT_TRUE(BoxTexts().empty());
}

}  // namespace
}  // namespace hosttest
