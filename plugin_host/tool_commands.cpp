#include "plugin_host/tool_commands.h"

#include "framework/program_globals.h"
#include "document/pelmark_doc.h"
#include "framework/cmd_ui.h"
#include "framework/command.h"
#include "platform/memory.h"
#include "plugin_host/filter_plugins.h"
#include "plugin_host/plugin_frame.h"
#include "plugin_host/tool_host_services.h"
#include "plugin_host/tool_images.h"
#include "plugin_host/tool_runs.h"

namespace plugin_host {
namespace {

bool g_textToolRunning = false;
bool g_animRunning = false;
bool g_hexRunning = false;

// The command's own lock.
bool CommandLocked(framework::CommandId id) { return PluginFrame::Get().CommandLocked(id); }

bool ProbeWorkMemory() { return PluginFrame::Get().ProbeWorkMemory(1) != 0; }

void UpdateLayerPalette(CPelmarkDoc* doc) { PluginFrame::Get().RebuildLayerPalette(doc); }

// While the animation maker or the hex tool runs its own loop, the canvas
// view passes its keys to the frame's shortcut translation.
void FollowPluginLoops() { PluginFrame::Get().SetPluginLoopRunning(g_animRunning || g_hexRunning); }

// The common start of a tool run on the filter record: the record must be
// free and the undo step opened.
bool OpenStep(CPelmarkDoc* doc, int32_t action, const QString& text) {
    return doc && !ToolRecordHeld() && doc->PushUndo(action, text, true);
}

void StartAnimationMaker(CPelmarkDoc* doc) {
    if (g_animRunning || AnimRecordHeld()) return;
    SelectToolLibrary(kAnimPluginName);
    DocumentWatch watch(doc);
    doc->m_bAnimPluginRunning = 1;
    g_animRunning = true;
    FollowPluginLoops();
    UpdateLayerPalette(doc);
    RunAnimPlugin(doc, false);
    g_animRunning = false;
    FollowPluginLoops();
    if (watch.gone()) return;
    doc->m_bAnimPluginRunning = 0;
    UpdateLayerPalette(doc);
}

}  // namespace

void DeclareToolHostCommands(framework::CommandTable& table, CPelmarkDoc* doc) {
    table.OnRange(kFirstFilterCommand, kLastFilterCommand,
                  [doc](framework::CommandId id) { OnFilterCommand(doc, id); })
        .OnUpdateRange(kFirstFilterCommand, kLastFilterCommand, OnUpdateFilterCommand)
        .On(kToneChangeId, [doc] { RunToneChange(doc); })
        .On(kToneInvertId, [doc] { RunToneInvert(doc); })
        .OnUpdate(kToneChangeId, OnUpdateFilterCommand)
        .OnUpdate(kToneInvertId, OnUpdateFilterCommand)
        .On(kMakeAnimationId, [doc] { OnMakeAnimation(doc); })
        .OnUpdate(kMakeAnimationId,
                  [doc](framework::CmdUI& ui) {
                      ui.Enable(!g_animRunning || doc->m_bAnimPluginRunning);
                      ui.SetCheck(doc->m_bAnimState ? 1 : 0);
                  })
        .On(kAnimPreviewId, [doc] { OnAnimPreview(doc); })
        .OnUpdate(kAnimPreviewId,
                  [doc](framework::CmdUI& ui) {
                      ui.Enable(!CommandLocked(ui.id()) && (!g_animRunning || doc->m_bAnimPluginRunning));
                      ui.SetCheck(doc->m_bAnimPreview ? 1 : 0);
                  })
        .On(kHexTilingId, [doc] { OnHexTiling(doc); })
        .OnUpdate(kHexTilingId, [](framework::CmdUI& ui) {
            ui.Enable(true);
            ui.SetCheck(g_hexRunning ? 1 : 0);
        });
}

void OnFilterCommand(CPelmarkDoc* doc, framework::CommandId id) {
    if (!doc || ToolRecordHeld()) return;
    if (!ProbeWorkMemory()) return;
    int index = int(id) - kFirstFilterCommand;
    if (index < 0 || index >= int(FilterPaths().size())) return;
    SelectPlugin(index, FilterPaths()[size_t(index)]);
    if (!OpenStep(doc, document::kPluginAction, FilterNames()[size_t(index)])) return;
    LockHostForFilter(false);
    RunToolPlugin(doc, false, false, false);
    LockHostForFilter(true);
}

void OnUpdateFilterCommand(framework::CmdUI& ui) { ui.Enable(!CommandLocked(ui.id())); }

int RunTextTool(CPelmarkDoc* doc) {
    if (!doc || !ProbeWorkMemory()) return 0;
    if (g_textToolRunning || ToolRecordHeld()) return 0;
    g_textToolRunning = true;
    EnablePluginWindows(false);
    SelectToolLibrary(kTextPluginName);
    int result = 0;
    if (doc->PushUndo(document::kTextToolAction, QStringLiteral("输入文字"), true)) result = RunToolPlugin(doc, false, false, false);
    EnablePluginWindows(true);
    g_textToolRunning = false;
    return result;
}

bool TextToolRunning() { return g_textToolRunning; }

int RunToneChange(CPelmarkDoc* doc) {
    if (!ProbeWorkMemory()) return 0;
    if (!OpenStep(doc, document::kPluginAction, QStringLiteral("改变色调"))) return 0;
    SelectToolLibrary(kTonePluginName);
    return RunToolPlugin(doc, false, false, false);
}

int RunToneInvert(CPelmarkDoc* doc) {
    if (!ProbeWorkMemory()) return 0;
    if (!OpenStep(doc, document::kPluginAction, QStringLiteral("反相"))) return 0;
    doc->SetModified(true);
    SelectToolLibrary(kTonePluginName);
    return RunToolPlugin(doc, true, true, false);
}

int RunFillPlugin(CPelmarkDoc* doc) {
    if (!OpenStep(doc, document::kPluginAction, QStringLiteral("着色"))) return 0;
    SelectToolLibrary(kFillPluginName);
    return RunToolPlugin(doc, false, false, false);
}

void OnMakeAnimation(CPelmarkDoc* doc) {
    if (!doc) return;
    if (WinHandle window = SlotWindow(doc->m_AnimPlugin)) {
        WinSendMessage(window, WM_TOOL_SHOWANIM, 0, 1);
        return;
    }
    SetAnimStartMode(0);
    StartAnimationMaker(doc);
}

bool AnimMakerRunning() { return g_animRunning; }

void OnAnimPreview(CPelmarkDoc* doc) {
    if (!doc) return;
    SetAnimStartMode(1);
    if (WinHandle window = SlotWindow(doc->m_AnimPlugin)) {
        doc->m_bAnimPreview = doc->m_bAnimPreview ? 0 : 1;
        WinSendMessage(window, WM_TOOL_SHOWANIM, 1, doc->m_bAnimPreview);
        return;
    }
    StartAnimationMaker(doc);
}

void OnHexTiling(CPelmarkDoc* doc) {
    if (!doc || !ProbeWorkMemory()) return;
    if (g_hexRunning) {
        // The picture and layer stay until the running call has returned;
        // the command that started the tool frees them then.
        EnablePluginWindows(true);
        WinHandle window = HexRecord().window;
        if (doc->m_HexPlugin.record == &HexRecord()) doc->m_HexPlugin = PluginWindowSlot{};
        if (window) WinSendMessage(window, kCloseMessage, 0, 0);
        return;
    }
    HexTiles tiles = MakeHexTiles(doc->m_hImage);
    if (!tiles.image) return;
    g_hexRunning = true;
    FollowPluginLoops();
    SetHexTiles(tiles.image, tiles.layer);
    SelectToolLibrary(kHexPluginName);
    RunHexPlugin(doc, false, true);
    SetHexTiles(nullptr, nullptr);
    MemFree(tiles.image);
    MemFree(tiles.layer);
    g_hexRunning = false;
    FollowPluginLoops();
}

bool HexToolRunning() { return g_hexRunning; }

}  // namespace plugin_host
