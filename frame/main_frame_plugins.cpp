// The frame's services that run tool plug-ins on the active document and
// hand the animation maker a new image.
#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "platform/window.h"
#include "plugin_api/plugin_messages.h"
#include "plugin_host/tool_commands.h"
#include "plugin_host/tool_runs.h"

void CMainFrame::SendImageToPluginWnd() {
    CPelmarkDoc* doc = plugin_host::AnimDocument();
    if (!doc || !plugin_host::AnimRecordHeld()) return;
    PluginToolRecord& record = plugin_host::AnimRecord();
    WinHandle target = record.window ? record.window : record.window2;
    if (!target) return;
    PluginToolInfo info = plugin_host::AnimInfoCopy();
    info.image = doc->m_hImage;
    record.layers = doc->m_hLayers.data();
    record.editLayer = doc->m_nEditLayer;
    WinSendMessage(target, WM_TOOL_NEWIMAGE, reinterpret_cast<WinWParam>(&info),
                   reinterpret_cast<WinLParam>(&record));
}

int CMainFrame::RunTextTool() {
    CPelmarkDoc* doc = GetActiveDoc();
    if (!doc) return 0;
    // A run that did not happen leaves the locks as they were, so that the
    // filters do not stay disabled after it.
    const CommandLockTable before = locks_;
    LockViewCommand();
    int result = plugin_host::RunTextTool(doc);
    if (result == 1) ClearCommandLocks();
    else locks_ = before;
    return result;
}

int CMainFrame::RunToneChange() {
    CPelmarkDoc* doc = GetActiveDoc();
    return doc ? plugin_host::RunToneChange(doc) : 0;
}

int CMainFrame::RunToneInvert() {
    CPelmarkDoc* doc = GetActiveDoc();
    return doc ? plugin_host::RunToneInvert(doc) : 0;
}

int CMainFrame::RunFillPlugin() {
    CPelmarkDoc* doc = GetActiveDoc();
    return doc ? plugin_host::RunFillPlugin(doc) : 0;
}
