#include "app/splash_control.h"

#include "dialogs/splash_dlg.h"
#include "platform/clock.h"

SplashControl::SplashControl(Clock clock) : clock_(std::move(clock)) {}

SplashControl::~SplashControl() { Close(); }

void SplashControl::SetClock(Clock clock) { clock_ = std::move(clock); }

uint32_t SplashControl::now() const { return clock_ ? clock_() : TickCount(); }

void SplashControl::Show(QWidget* owner) {
    Close();
    // The time first: showing the window runs the event loop, and an idle
    // moment in it must not find the splash's time already up.
    shownAt_ = now();
    auto* window = new CSplashDlg;
    window_ = window;
    window->Create(owner);
}

void SplashControl::Close() {
    CSplashDlg* window = window_.data();
    window_ = nullptr;
    if (!window) return;
    window->DestroyWindow();
    // Not deleted here: the close may come from inside one of its own events.
    window->deleteLater();
}

bool SplashControl::Expired() const { return IsOpen() && now() - shownAt_ >= kSplashMs; }
