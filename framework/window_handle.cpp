#include "framework/window_handle.h"

#include <QWidget>

#include "platform/window_qt.h"

namespace framework {

MessageWindow::MessageWindow(QWidget* widget) : widget_(widget) {}

MessageWindow::~MessageWindow() { ReleaseHandle(); }

WinHandle MessageWindow::WindowHandle() {
    if (!handle_ && !released_) {
        handle_ = platform::WinCreateFunction(
            [this](WinHandle, uint32_t message, WinWParam wparam, WinLParam lparam) {
                return OnWindowMessage(message, wparam, lparam);
            });
        platform::WinSetWidget(handle_, widget_);
    }
    return handle_;
}

WinResult MessageWindow::SendWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) {
    return WinSendMessage(WindowHandle(), message, wparam, lparam);
}

MessageWindow* MessageWindow::FromHandle(WinHandle handle) {
    return dynamic_cast<MessageWindow*>(platform::WinWidget(handle));
}

WinResult MessageWindow::OnWindowMessage(uint32_t, WinWParam, WinLParam) { return 0; }

void MessageWindow::ReleaseHandle() {
    released_ = true;
    if (handle_) {
        WinHandle handle = handle_;
        handle_ = nullptr;
        WinDestroy(handle);
    }
}

}  // namespace framework
