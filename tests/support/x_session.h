// A real X server (Xvfb) with a window manager (openbox) for the tests of
// what only shows under one: focus and activation, stacking of modal
// windows, frame geometry and captions, shortcuts that clash, real timers.
//
// The X test main (x11_main.cpp) starts one session for the whole test
// binary before the QApplication, on a display Xvfb picks itself, with the
// run's own HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR, and runs Qt on the
// xcb platform there. Without Xvfb or openbox the run goes on offscreen and
// every test that needs the session skips (KVT_REQUIRE_X).
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

class QWidget;

namespace kvtest {

class XSession {
public:
    XSession() = default;
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // Starts Xvfb and openbox and sets DISPLAY; false (with Why()) when a
    // program is missing or does not start in time.
    bool Start();
    // Waits (with the Qt event loop running) until the window manager has
    // taken the screen; call once the QApplication exists.
    bool WaitForWindowManager();
    void Stop();
    bool Ready() const { return ready_; }
    const std::string& Why() const { return why_; }

private:
    pid_t xvfb_ = -1;
    pid_t openbox_ = -1;
    bool ready_ = false;
    std::string why_;
};

// The session of the run; only the X test main makes one.
XSession& RunXSession();

// Keeps the event loop turning until `done` holds or `ms` pass.
bool WaitUntil(const std::function<bool()>& done, int ms = 5000);
// Turns the event loop for `ms`: the events an X tool caused reach us after
// it has ended.
void Settle(int ms = 150);
// Runs a program of the session (xdotool, xprop) with the event loop
// turning, so that this process answers the X requests it causes; its
// standard output, or a null string when it failed or took too long.
QString RunXTool(const QString& program, const QStringList& arguments, int ms = 10000);
// Sends keys through the X server to the window that has the focus, as a
// user's keyboard would ("ctrl+w", "4 5", "Tab").
bool XKeys(const QString& keys);
// The window manager's stacking order (bottom first) of the managed
// windows.
std::vector<unsigned long> StackingOrder();
// The window manager's active window.
unsigned long ActiveXWindow();
// Whether the X window of `widget` is mapped and viewable.
bool IsViewable(QWidget* widget);

}  // namespace kvtest

#define KVT_REQUIRE_X()                                                                   \
    do {                                                                                  \
        if (!::kvtest::RunXSession().Ready())                                             \
            GTEST_SKIP() << "no X server with a window manager: "                         \
                         << ::kvtest::RunXSession().Why();                                \
    } while (0)
