// Tool and filter plug-ins for the tests, built from this one source in
// several variants (see CMakeLists.txt):
//   KVT_INVERT    inverts the current layer and reports a change
//   KVT_DLG_STOP  its ImportDlgIn stops the run
//   KVT_MODELESS  keeps a window open, running its own loop until the
//                 window gets the close message; meanwhile the test drives
//                 the host from timers
//   (none)        changes nothing
// Every run writes what the record held into "<record path>.rec" (nothing
// when the path is empty), one "name value" line per field; the modeless
// variant adds lines when its loop ends.
#include <cstdio>
#include <cstring>
#include <string>

#include <QEventLoop>

#include "platform/memory.h"
#include "platform/window.h"
#include "plugin_api/plugin_api.h"

namespace {

#ifndef KVT_INFO
#define KVT_INFO "测试滤镜/*.BMP;*.DIB"
#endif

std::string g_dumpPath;

void Line(const char* name, long long value) {
    if (g_dumpPath.empty()) return;
    if (FILE* f = std::fopen(g_dumpPath.c_str(), "a")) {
        std::fprintf(f, "%s %lld\n", name, value);
        std::fclose(f);
    }
}

void DumpRecord(const PluginToolRecord* r, const PluginToolInfo* info, int second) {
    g_dumpPath = r->path && r->path[0] ? std::string(r->path) + ".rec" : std::string();
    Line("call", second ? 2 : 1);
    Line("selection", r->selectionWidth * 10000LL + r->selectionHeight);
    Line("color", r->currentColor ? *r->currentColor : -1);
    Line("click", r->clickX && r->clickY ? *r->clickX * 10000LL + *r->clickY : -1);
    Line("anti", r->antiAlias);
    Line("editLayer", r->editLayer);
    Line("layerBytes", r->layers ? (long long)MemSize(r->layers[r->editLayer]) : -1);
    Line("maskBytes", (long long)MemSize(r->selectionMask));
    long long used = 0, high = 0;
    for (int i = 0; i < 256 && r->usedColors; ++i) {
        if (r->usedColors[i] == 1) used += 1;
        if (r->usedColors[i] == 255) high += 1;
    }
    Line("usedOnes", used);
    Line("used255", high);
    Line("tone", r->toneIndex);
    Line("toolOption", r->toolOption);
    Line("pattern", r->patternLeft * 1000000LL + r->patternTop * 10000LL + r->patternWidth * 100LL +
                        r->patternHeight);
    Line("patternBytes", (long long)MemSize(r->pattern));
    Line("animByte0", r->animTable.a[0][0]);
    Line("startMode", r->animStartMode);
    Line("imageBytes", (long long)MemSize(info->image));
    Line("rect", r->rect.left | r->rect.top | r->rect.right | r->rect.bottom);
}

#ifdef KVT_INVERT
void InvertLayer(PluginToolRecord* r) {
    MemHandle layer = r->layers[r->editLayer];
    MemLockGuard lock(layer);
    if (!lock || lock.size() < LAYER_HEADER_SIZE) return;
    for (size_t i = LAYER_HEADER_SIZE; i < lock.size(); ++i) lock.get()[i] = uint8_t(255 - lock.get()[i]);
    r->imageChanged = 1;
}
#endif

#ifdef KVT_MODELESS
struct WindowState {
    QEventLoop* loop = nullptr;
    bool closed = false;
    int docClosed = 0;
};

WinResult Receive(void* context, WinHandle, uint32_t message, WinWParam, WinLParam) {
    auto* state = static_cast<WindowState*>(context);
    if (message == 0x0010) {
        state->closed = true;
        if (state->loop) state->loop->quit();
    } else if (message == WM_TOOL_DOCCLOSED) {
        ++state->docClosed;
    }
    return 0;
}

void RunWindow(WinHandle mainWindow, PluginToolRecord* r, PluginToolInfo* info) {
    WindowState state;
    QEventLoop loop;
    state.loop = &loop;
    WinHandle window = WinCreate(Receive, &state);
    r->window = window;
    r->modeless = 1;
    WinSendMessage(mainWindow, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 0);
    if (!state.closed) loop.exec();
    // What the record leads to once the window is done: the image must still
    // be there (or be gone with a closed document, then refused safely).
    Line("closedBy", state.closed ? 1 : 0);
    Line("docClosed", state.docClosed);
    Line("imageValidAfter", MemIsValid(info->image) ? 1 : 0);
    Line("colorAfter", r->currentColor ? *r->currentColor : -1);
    MemHandle layer = r->layers ? r->layers[r->editLayer] : nullptr;
    Line("layerLockAfter", MemLock(layer) ? 1 : 0);
    if (layer) MemUnlock(layer);
    r->window = nullptr;
    r->modeless = 0;
    r->imageChanged = 1;
    WinDestroy(window);
}
#endif

int32_t Run(WinHandle mainWindow, PluginToolRecord* r, PluginToolInfo* info, int second) {
    DumpRecord(r, info, second);
#if defined(KVT_INVERT)
    InvertLayer(r);
#elif defined(KVT_MODELESS)
    RunWindow(mainWindow, r, info);
#endif
    (void)mainWindow;
    return 0;
}

}  // namespace

extern "C" {

KV_PLUGIN_EXPORT const char* GetInfo(void) { return KVT_INFO; }

#ifdef KVT_DLG_STOP
KV_PLUGIN_EXPORT uint16_t ImportDlgIn(WinHandle, PluginPathBuffer*, void*, const char*) { return 1; }
#endif

KV_PLUGIN_EXPORT int32_t ImportFL(WinHandle mainWindow, PluginToolRecord* record, PluginToolInfo* info,
                                  const char*) {
    return Run(mainWindow, record, info, 0);
}

KV_PLUGIN_EXPORT int32_t ImportFL2(WinHandle mainWindow, PluginToolRecord* record, PluginToolInfo* info,
                                   const char*) {
    return Run(mainWindow, record, info, 1);
}

}  // extern "C"
