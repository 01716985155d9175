// Cinereel.so: the animation maker. ImportFL runs the editor and the
// preview in a loop of its own and returns when both are done.
#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>

#include "plugin_api/plugin_api.h"
#include "plugins/cinereel/ca_wnd.h"
#include "plugins/cinereel/cinereel_run.h"
#include "plugins/cinereel/cp_wnd.h"

namespace {

struct Run {
    QEventLoop loop;
    CaWnd* editor = nullptr;
    CpWnd* preview = nullptr;
    bool Done() const { return editor && preview && editor->Finished() && preview->Closed(); }
};
Run* g_run = nullptr;

}  // namespace

void NotifyRunLoop() {
    if (g_run && g_run->Done()) g_run->loop.quit();
}

extern "C" {

KV_PLUGIN_EXPORT const char* GetInfo(void) { return "生成动画2          /*.BMP;*.DIB"; }

KV_PLUGIN_EXPORT int32_t ImportFL(WinHandle mainWindow, PluginToolRecord* record, PluginToolInfo* info,
                                  const char*) {
    if (!record || !info || g_run) return 0;
    Run run;
    g_run = &run;
    auto* editor = new CaWnd(mainWindow, record, info);
    run.editor = editor;
    if (!editor->Create()) {
        g_run = nullptr;
        delete editor;
        return 0;
    }
    auto* preview = new CpWnd(mainWindow, record, info);
    run.preview = preview;
    record->modeless = 1;
    record->window = editor->WindowHandle();
    record->window2 = preview->WindowHandle();
    editor->SetPreviewWindow(preview->WindowHandle());
    preview->SetEditorWindow(editor->WindowHandle());

    WinSendMessage(mainWindow, WM_PLUGIN_ENABLEHOST, 0, record->animStartMode);
    if (record->animStartMode == 0) {
        editor->OpenEditor();
    } else if (record->animStartMode == 1) {
        editor->OnPreview();
        editor->OnFinish();
    }
    QMetaObject::Connection quit =
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &run.loop, &QEventLoop::quit);
    if (!run.Done()) run.loop.exec();
    QObject::disconnect(quit);

    g_run = nullptr;
    delete preview;
    delete editor;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    record->window = nullptr;
    record->window2 = nullptr;
    record->modeless = 0;
    return 0;
}

}  // extern "C"
