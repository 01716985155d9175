// A platform window handle for a framework window (main frame, child frame,
// view, dialog), so that plug-ins and tool windows can send it messages.
// Messages sent to the handle reach OnWindowMessage; the handle is made on
// first use, carries the widget (WinEnable works on it) and dies with the
// window.
#pragma once

#include <cstdint>

#include "platform/window.h"

class QWidget;

namespace framework {

class MessageWindow {
public:
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    // The window's handle, made on first use; null once the window is
    // being destroyed.
    WinHandle WindowHandle();
    // The handle when one was made, else null (makes none).
    WinHandle ExistingHandle() const { return handle_; }
    // Sends a message to this window through its handle.
    WinResult SendWindowMessage(uint32_t message, WinWParam wparam = 0, WinLParam lparam = 0);

    // The framework window behind a handle, or null.
    static MessageWindow* FromHandle(WinHandle handle);

protected:
    explicit MessageWindow(QWidget* widget);
    virtual ~MessageWindow();

    // A message sent to the handle; the result goes back to the sender.
    virtual WinResult OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam);

    // Ends the handle now (later sends return 0) and makes no new one.
    void ReleaseHandle();

private:
    QWidget* widget_;
    WinHandle handle_ = nullptr;
    bool released_ = false;
};

}  // namespace framework
