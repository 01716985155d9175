#include "plugin_host/plugin_windows.h"

#include "document/pelmark_doc.h"
#include "platform/window.h"
#include "plugin_host/tool_commands.h"
#include "plugin_host/tool_runs.h"

namespace plugin_host {

bool& PluginWindowClosed() {
    static bool closed = false;
    return closed;
}

bool ClosePluginSlot(PluginWindowSlot& slot) {
    WinHandle first = SlotWindow(slot);
    WinHandle second = slot.record ? slot.record->window2 : nullptr;
    if (!first && !second) return false;
    slot = PluginWindowSlot{};
    for (WinHandle window : {first, second})
        if (window && WinIsWindow(window)) WinSendMessage(window, kCloseMessage, 0, 0);
    PluginWindowClosed() = true;
    return true;
}

bool CloseAnimationWindows() {
    if (!AnimMakerRunning()) return false;
    if (CPelmarkDoc* doc = AnimDocument()) return ClosePluginSlot(doc->m_AnimPlugin);
    PluginWindowSlot record{nullptr, &AnimRecord()};
    return ClosePluginSlot(record);
}

}  // namespace plugin_host
