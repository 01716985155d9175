// When the start-up splash window is shown and closed.
//
// It is shown at start-up and closed at the first of: an idle moment once
// kSplashMs or more have passed since it was shown, a mouse button or key
// press anywhere in the program, or the reopening of the previous run's
// documents.
#pragma once

#include <cstdint>
#include <functional>

#include <QPointer>

#include "dialogs/splash_dlg.h"

class SplashControl {
public:
    using Clock = std::function<uint32_t()>;
    static constexpr uint32_t kSplashMs = 2501;

    // Without a clock the system's tick count is used.
    explicit SplashControl(Clock clock = {});
    ~SplashControl();
    SplashControl(const SplashControl&) = delete;
    SplashControl& operator=(const SplashControl&) = delete;

    void SetClock(Clock clock);

    // Creates the window owned by `owner`, shows it and notes the tick count.
    void Show(QWidget* owner);
    bool IsOpen() const { return window_ != nullptr; }
    CSplashDlg* Window() const { return window_.data(); }
    // Hides and destroys the window; nothing when none is open.
    void Close();
    // Open, and kSplashMs or more have passed since it was shown.
    bool Expired() const;
    uint32_t ShownAt() const { return shownAt_; }

private:
    uint32_t now() const;

    Clock clock_;
    QPointer<CSplashDlg> window_;
    uint32_t shownAt_ = 0;
};
