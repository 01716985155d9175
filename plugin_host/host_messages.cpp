#include "plugin_host/host_messages.h"

#include "framework/application.h"
#include "framework/mdi_frame.h"
#include "platform/message_box.h"

namespace plugin_host {
namespace {

QByteArray Caption() {
    framework::Application* app = framework::Application::Instance();
    return app ? app->AppName().toUtf8() : QByteArray();
}

}  // namespace

void ShowPluginInfo(const QString& text) {
    ShowMessageBox(nullptr, text.toUtf8().constData(), Caption().constData(),
                   MB_BTN_OK | MB_ICON_INFORMATION);
}

bool AskPluginOkCancel(const QString& text) {
    return ShowMessageBox(nullptr, text.toUtf8().constData(), Caption().constData(),
                          MB_BTN_OKCANCEL | MB_ICON_INFORMATION) == MB_ANSWER_OK;
}

void ShowFrameworkMessage(const QString& text) {
    framework::Application* app = framework::Application::Instance();
    framework::MdiFrame* frame = app ? app->GetMainFrame() : nullptr;
    ShowMessageBox(frame ? frame->WindowHandle() : nullptr, text.toUtf8().constData(),
                   Caption().constData(), MB_BTN_OK | MB_ICON_WARNING);
}

}  // namespace plugin_host
