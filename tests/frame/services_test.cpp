#include <set>

#include <QToolBar>

#include "document/image_limits.h"
#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "frame/command_locks.h"
#include "frame/main_menu.h"
#include "frame/next_open_list.h"
#include "framework/program_recent_list.h"
#include "tools/tool_options.h"
#include "view/pelmark_view.h"
#include "frame_fixture.h"
#include "framework/cmd_ui.h"
#include "palettes/link_palette.h"
#include "imaging/dib_create.h"
#include "platform/memory.h"

namespace frametest {
namespace {

// The work-memory probe asks for exactly its size: one byte less under the
// limit fails once with the message, the size itself passes.
TEST_F(FrameTest, ProbeSizesFollowTheImageLimit) {
    ASSERT_TRUE(Start());
    struct Case {
        int mapTool;
        int mode;
        size_t bytes;
    } cases[] = {{0, 1, 33554432}, {1, 1, 134217728}, {0, 0, 33554432}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        SetMapToolSetting(c.mapTool);
        size_t held = MemBytesInUse();
        boxes.Clear();
        MemSetLimit(held + c.bytes - 1);
        EXPECT_EQ(Frame()->CheckWorkMemory(c.mode), 0);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"工作内存不足"});
        MemSetLimit(held + c.bytes);
        EXPECT_EQ(Frame()->CheckWorkMemory(c.mode), 1);
        EXPECT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(MemBytesInUse(), held);
        MemSetLimit(MEM_NO_LIMIT);
    }
}

TEST(CommandLocks, EachLockFunctionSetsItsLocks) {
    using L = CommandLockTable;
    struct Case {
        const char* name;
        void (*lock)(CommandLockTable&);
        std::set<int> locks;
    } cases[] = {
        {"tool", [](L& t) { t.LockToolCommands(); }, {0}},
        {"edit", [](L& t) { t.LockEditCommands(0); }, {1, 2, 3, 4, 5, 6, 7}},
        {"edit 1", [](L& t) { t.LockEditCommands(1); }, {6, 7}},
        {"select", [](L& t) { t.LockSelectCommands(0); },
         {8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}},
        {"select 1", [](L& t) { t.LockSelectCommands(1); }, {8, 9, 11, 13}},
        {"animation", [](L& t) { t.LockForAnimationPlugin(); }, {8, 14, 15}},
        {"view", [](L& t) { t.LockViewCommand(); }, {25}},
        {"palette", [](L& t) { t.LockPaletteCommand(); }, {26}},
        {"layer", [](L& t) { t.LockLayerCommands(); }, {27}},
    };
    for (const Case& c : cases) {
        CommandLockTable table;
        c.lock(table);
        std::set<int> set;
        for (int i = 0; i < CommandLockTable::kLocks; ++i)
            if (table.IsSet(i)) set.insert(i);
        EXPECT_EQ(set, c.locks) << c.name;
        table.ClearCommandLocks();
        EXPECT_FALSE(table.AnySet()) << c.name;
    }
    CommandLockTable all;
    all.LockAllCommands();
    for (int i = 0; i < CommandLockTable::kLocks; ++i) EXPECT_TRUE(all.IsSet(i)) << i;
}

TEST(CommandLocks, CommandsFindTheirLock) {
    struct Case {
        framework::CommandId id;
        int lock;
    } cases[] = {{551, 0}, {608, 0}, {634, 0}, {34007, 1}, {34035, 2}, {34037, 3}, {34027, 4},
                 {635, 5}, {34019, 6}, {32853, 7}, {57602, 8}, {57604, 9}, {32849, 10}, {32848, 11},
                 {34014, 13}, {34013, 14}, {34024, 15}, {32852, 16}, {34032, 17}, {32855, 18},
                 {32856, 19}, {34025, 20}, {34028, 21}, {34021, 22}, {34017, 23}, {32858, 24},
                 {2030, 25}, {954, 26}, {32942, 27}, {32882, -1}, {57600, -1}};
    for (const Case& c : cases) EXPECT_EQ(CommandLockTable::LockOf(c.id), c.lock) << c.id;
}

TEST_F(FrameTest, LockedCommandsShowDisabled) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(NewDocument());
    CMainFrame* f = Frame();
    EXPECT_TRUE(f->QueryCommandState(framework::ID_FILE_CLOSE).IsEnabled());
    f->LockForAnimationPlugin();
    EXPECT_FALSE(f->QueryCommandState(framework::ID_FILE_CLOSE).IsEnabled());
    EXPECT_FALSE(f->ExecuteCommand(framework::ID_FILE_CLOSE));
    EXPECT_EQ(f->ChildFrames().size(), 1u);
    f->ClearCommandLocks();
    EXPECT_TRUE(f->QueryCommandState(framework::ID_FILE_CLOSE).IsEnabled());
}

// Controls of a test settings panel: edit fields and combo boxes by id.
class FakeControls : public ToolOptionControls {
public:
    std::map<int, std::optional<int>> values;
    std::map<int, int> shown;
    std::optional<int> ReadControl(int id) override {
        auto it = values.find(id);
        return it == values.end() ? std::nullopt : it->second;
    }
    void WriteControl(int id, int value) override {
        shown[id] = value;
        values[id] = value;
    }
};

TEST(ToolOptions, ValuesAreClampedAndShown) {
    struct Case {
        int index;
        int control;
        int typed;
        int expected;
        bool rewritten;
    } cases[] = {
        {4, 414, 0, 1, true},     {4, 414, 101, 100, true}, {4, 414, 37, 37, false},
        {2, 445, 60, 50, true},   {2, 445, -1, 0, true},    {1, 443, 1, 1, false},
        {5, 430, 500, 100, true}, {7, 432, -5, 1, true},    {15, 405, -2, 0, true},
        {21, 425, 0, 0, false},   {20, 423, 0, 1, true},    {3, 412, 2, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        ToolOptions options;
        FakeControls controls;
        options.SetControls(&controls);
        controls.values[c.control] = c.typed;
        EXPECT_EQ(options.GetToolOption(c.index), c.expected);
        EXPECT_EQ(controls.shown.count(c.control) == 1, c.rewritten);
        if (c.rewritten) {
            EXPECT_EQ(controls.shown[c.control], c.expected);
        }
    }
}

TEST(ToolOptions, CachedValuesWithoutControls) {
    ToolOptions options;
    EXPECT_EQ(options.GetToolOption(4), 1);  // start values
    EXPECT_EQ(options.GetToolOption(22), 0);
    EXPECT_EQ(options.GetToolOption(-1), 0);
    FakeControls controls;
    options.SetControls(&controls);
    controls.values[412] = 3;
    EXPECT_EQ(options.GetToolOption(3), 3);
    controls.values[412] = std::nullopt;  // nothing selected: the last value
    EXPECT_EQ(options.GetToolOption(3), 3);
    controls.values[442] = 5;  // the fill source is kept by the palette, not read
    options.SetFillSource(2);
    EXPECT_EQ(options.GetToolOption(0), 2);
}

TEST_F(FrameTest, RecentFileList) {
    ASSERT_TRUE(Start());
    auto list = [] {
        std::vector<QString> files;
        for (int n = 1; n <= kProgramRecentFiles; ++n) files.push_back(ProgramRecentFile(n));
        while (!files.empty() && files.back().isEmpty()) files.pop_back();
        return files;
    };
    AddProgramRecentFile("/a.gif");
    EXPECT_EQ(list(), (std::vector<QString>{"/a.gif"}));
    AddProgramRecentFile("/b.gif");
    AddProgramRecentFile("/c.gif");
    EXPECT_EQ(list(), (std::vector<QString>{"/a.gif", "/b.gif", "/c.gif"}));
    AddProgramRecentFile("/c.gif");  // File3 moves to File1
    EXPECT_EQ(list(), (std::vector<QString>{"/c.gif", "/a.gif", "/b.gif"}));
    AddProgramRecentFile("/c.gif");  // already File1
    EXPECT_EQ(list(), (std::vector<QString>{"/c.gif", "/a.gif", "/b.gif"}));
    for (int i = 0; i < 7; ++i) AddProgramRecentFile(QStringLiteral("/%1.gif").arg(i));
    ASSERT_EQ(list().size(), 10u);
    AddProgramRecentFile("/new.gif");  // full: the oldest is dropped
    std::vector<QString> full = list();
    ASSERT_EQ(full.size(), 10u);
    EXPECT_EQ(full.front(), "/new.gif");
    EXPECT_EQ(std::count(full.begin(), full.end(), QStringLiteral("/c.gif")), 1);
    EXPECT_EQ(Ini("cRecent File List", "File10"), "/5.gif");  // "/6.gif" was the oldest
}

TEST_F(FrameTest, RecentFileCommands) {
    WriteIni("[cRecent File List]\nFile1=/pictures/a&b.gif\n");
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    framework::CmdUI first = f->QueryCommandState(4000);
    EXPECT_TRUE(first.IsEnabled());
    EXPECT_EQ(first.Text().value_or(""), "1. /pictures/a&&b.gif");
    framework::CmdUI empty = f->QueryCommandState(4009);
    EXPECT_FALSE(empty.IsEnabled());
    EXPECT_EQ(empty.Text().value_or(""), "10.");
    for (framework::CommandId id = 4001; id <= 4009; ++id) f->SendCommand(id);
    EXPECT_TRUE(app->opened.empty());
    f->SendCommand(4000);
    EXPECT_EQ(app->opened, std::vector<QString>{"/pictures/a&b.gif"});
    f->SetToolWindowsDisabled(true);
    EXPECT_FALSE(f->QueryCommandState(4000).IsEnabled());
}

TEST(Shortcuts, OneCommandPerKeyAsTheAcceleratorTableGives) {
    using M = Qt::KeyboardModifiers;
    const M none, ctrl(Qt::ControlModifier), shift(Qt::ShiftModifier), alt(Qt::AltModifier);
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        framework::CommandId id;
    } cases[] = {
        {Qt::Key_1, ctrl, 59392},           {Qt::Key_2, ctrl, 502},
        {Qt::Key_3, ctrl, 34000},           {Qt::Key_4, ctrl, 34009},
        {Qt::Key_5, ctrl, 59393},           {Qt::Key_6, ctrl, 32776},
        {Qt::Key_7, ctrl, 34016},           {Qt::Key_8, ctrl, 34033},
        {Qt::Key_1, ctrl | shift, 32884},   {Qt::Key_Exclam, ctrl | shift, 32884},
        {Qt::Key_4, ctrl | shift, 32887},   {Qt::Key_A, ctrl, 34014},
        {Qt::Key_C, ctrl, 57634},           {Qt::Key_D, ctrl, 34015},
        {Qt::Key_E, ctrl, 32852},           {Qt::Key_K, ctrl, 32850},
        {Qt::Key_N, ctrl, 57600},           {Qt::Key_N, ctrl | shift, 34010},
        {Qt::Key_O, ctrl, 57601},           {Qt::Key_P, ctrl, 57607},
        {Qt::Key_R, ctrl, 57644},           {Qt::Key_S, ctrl, 57603},
        {Qt::Key_V, ctrl, 57637},           {Qt::Key_W, ctrl, 57602},
        {Qt::Key_W, ctrl | shift, 657},     {Qt::Key_X, ctrl, 57635},
        {Qt::Key_X, alt, 57665},            {Qt::Key_Z, ctrl, 57643},
        {Qt::Key_Insert, ctrl, 57634},      {Qt::Key_Insert, shift, 57637},
        {Qt::Key_Insert, ctrl | shift, 0},  {Qt::Key_Delete, shift, 57635},
        {Qt::Key_Delete, none, 32853},      {Qt::Key_Backspace, alt, 57643},
        {Qt::Key_F1, none, 57670},          {Qt::Key_F1, shift, 57669},
        {Qt::Key_F6, none, 57680},          {Qt::Key_F6, shift, 57681},
        {Qt::Key_Plus, ctrl | Qt::KeypadModifier, 32830},
        {Qt::Key_Minus, ctrl | Qt::KeypadModifier, 32831},
        {Qt::Key_Plus, ctrl, 0},            {Qt::Key_A, none, 0},
        {Qt::Key_Z, ctrl | alt, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortcutCommand(c.key, c.mods), c.id)
            << QKeySequence(QKeyCombination(c.mods, Qt::Key(c.key))).toString().toStdString();
}

TEST_F(FrameTest, ShortcutKeysOnlyWhileAPluginLoopRuns) {
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    ASSERT_TRUE(f->LinkPalette()->isVisible());
    EXPECT_FALSE(f->TranslateShortcutKey(Qt::Key_6, Qt::ControlModifier));
    EXPECT_TRUE(f->LinkPalette()->isVisible());
    f->SetPluginLoopRunning(true);
    EXPECT_TRUE(f->TranslateShortcutKey(Qt::Key_6, Qt::ControlModifier));
    EXPECT_FALSE(f->LinkPalette()->isVisible());
    EXPECT_FALSE(f->TranslateShortcutKey(Qt::Key_Q, Qt::ControlModifier));
}

TEST_F(FrameTest, NextOpenList) {
    WriteIni("[Next Open File List]\nFile1=/a.gif\nFile2=/b.gif\nFile4=/stray.gif\n");
    ASSERT_TRUE(Start());
    EXPECT_EQ(GetNextOpenFile(0), "/a.gif");
    EXPECT_EQ(GetNextOpenFile(2), "");
    ClearNextOpenFiles();  // up to the first missing key
    EXPECT_EQ(Ini("Next Open File List", "File1"), "<none>");
    EXPECT_EQ(Ini("Next Open File List", "File2"), "<none>");
    EXPECT_EQ(Ini("Next Open File List", "File4"), "/stray.gif");
    SetNextOpenFile(QStringLiteral("/") + QString(300, u'x'), 0);
    EXPECT_EQ(GetNextOpenFile(0).size(), kNextOpenPathMax);
    WriteNextOpenFiles({"/c.gif", "/d.gif"});
    EXPECT_EQ(GetNextOpenFile(0), "/c.gif");
    EXPECT_EQ(GetNextOpenFile(1), "/d.gif");
}

}  // namespace
}  // namespace frametest

namespace frametest {
namespace {

TEST_F(FrameTest, ButtonsFollowARunningPlugin) {
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    auto pressed = [&](QToolBar* bar, framework::CommandId id) {
        QAction* a = framework::FindCommandAction(bar, id);
        return a && a->isChecked();
    };
    auto enabled = [&](framework::CommandId id) {
        return framework::FindCommandAction(f->MainToolBar(), id)->isEnabled();
    };
    CPelmarkDoc* doc = NewDocument();
    ASSERT_TRUE(doc);
    f->SetZoomButtons(34004);  // no plug-in runs: the idle update decides
    EXPECT_FALSE(pressed(f->MainToolBar(), 34004));

    f->SetPluginLoopRunning(true);
    f->SetZoomButtons(34004);
    for (framework::CommandId id = 34002; id <= 34007; ++id)
        EXPECT_EQ(pressed(f->MainToolBar(), id), id == 34004) << id;
    f->SetGridButtons(2, 1);
    EXPECT_FALSE(pressed(f->MainToolBar(), 34034));
    EXPECT_TRUE(pressed(f->MainToolBar(), 34035));
    EXPECT_TRUE(pressed(f->MainToolBar(), 34016));
    EXPECT_FALSE(pressed(f->MainToolBar(), 34033));
    f->SetToneButton(640);
    EXPECT_TRUE(pressed(f->ToneBar(), 640));
    EXPECT_FALSE(pressed(f->ToneBar(), 636));
    f->SetPasteModeButton(34020);
    EXPECT_TRUE(pressed(f->MainToolBar(), 34020));
    f->LockEditCommands(0);
    f->SetGuideButtons(true, true);
    EXPECT_FALSE(pressed(f->MainToolBar(), 34036));  // lock 3
    f->ClearCommandLocks();
    f->SetGuideButtons(true, false);
    EXPECT_TRUE(pressed(f->MainToolBar(), 34036));
    doc->m_nUndoIndex = 0;
    doc->m_nRedoLimit = 1;
    doc->SetModifiedFlag(false);
    f->SetEditButtons();
    EXPECT_TRUE(enabled(framework::ID_EDIT_UNDO));
    EXPECT_FALSE(enabled(framework::ID_EDIT_REDO));
    EXPECT_FALSE(enabled(framework::ID_EDIT_COPY));
    EXPECT_FALSE(enabled(framework::ID_FILE_SAVE));
    // The idle update leaves them alone meanwhile.
    f->OnIdleUpdateCmdUI();
    EXPECT_TRUE(pressed(f->MainToolBar(), 34004));
    EXPECT_TRUE(enabled(framework::ID_EDIT_UNDO));
    doc->m_nUndoIndex = -1;
    doc->m_nRedoLimit = -1;
}

}  // namespace
}  // namespace frametest

namespace frametest {
namespace {

// While the animation maker runs the idle update leaves the bars alone: an
// edit and the grid commands set the toolbar themselves.
TEST_F(FrameTest, EditsAndGridCommandsSetTheToolbarWhileAPluginRuns) {
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    auto action = [&](framework::CommandId id) { return framework::FindCommandAction(f->MainToolBar(), id); };
    CPelmarkDoc* doc = NewDocument();
    ASSERT_TRUE(doc);
    doc->m_hImage = CreateDib8(8, 4, 0);
    ASSERT_TRUE(doc->InitDib());
    ASSERT_TRUE(document::CreateLayer(*doc, 0, 1));
    f->OnIdleUpdateCmdUI();
    ASSERT_FALSE(action(framework::ID_EDIT_UNDO)->isEnabled());
    ASSERT_FALSE(action(framework::ID_EDIT_COPY)->isEnabled());
    doc->m_bAnimPluginRunning = 1;
    ASSERT_TRUE(f->SendCommand(CPelmarkView::kSelectAllId));
    EXPECT_TRUE(action(framework::ID_EDIT_UNDO)->isEnabled());
    EXPECT_TRUE(action(framework::ID_EDIT_CUT)->isEnabled());
    EXPECT_TRUE(action(framework::ID_EDIT_COPY)->isEnabled());
    EXPECT_EQ(action(framework::ID_FILE_SAVE)->isEnabled(), doc->IsModified());
    for (framework::CommandId id : {CPelmarkView::kMainGridId, CPelmarkView::kSubGridId,
                                    CPelmarkView::kMainSnapId, CPelmarkView::kSubSnapId}) {
        SCOPED_TRACE(id);
        const bool before = action(id)->isChecked();
        ASSERT_TRUE(f->SendCommand(id));
        EXPECT_NE(action(id)->isChecked(), before);
    }
    doc->m_bAnimPluginRunning = 0;
}

}  // namespace
}  // namespace frametest
