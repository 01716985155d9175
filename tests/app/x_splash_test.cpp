// The start-up splash with the real clock under a real X server with a
// window manager: it is seen, and it goes by itself about 2.5 s later, on a
// slow start too.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include "app/splash_control.h"
#include "x_app_fixture.h"

namespace apptest {
namespace {

using XSplashTest = XAppTest;

TEST_F(XSplashTest, ShowsAndGoesByItself) {
    for (bool slow : {false, true}) {
        SCOPED_TRACE(slow ? "slow start" : "quick start");
        app = std::make_unique<TestPelmarkApp>();
        app->SetProgramDirectoryOverride(programDir.path());
        app->SetCommandLine({});
        // A busy machine: the start-up's own event handling is held up long
        // enough for the idle handling to come round in it.
        if (slow)
            QTimer::singleShot(0, [] { std::this_thread::sleep_for(std::chrono::milliseconds(300)); });
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(app->InitInstance());
        QPointer<CSplashDlg> splash = app->Splash().Window();
        bool seen = false;
        kvtest::WaitUntil([&] { return !app->Splash().IsOpen() || (seen = kvtest::IsViewable(splash)); }, 2000);
        EXPECT_TRUE(seen);
        ASSERT_TRUE(kvtest::WaitUntil([&] { return !app->Splash().IsOpen(); }, 6000));
        EXPECT_GE(clock.elapsed(), 2400);
        EXPECT_LE(clock.elapsed(), 4500);
        app.reset();
        Flush();
    }
}

}  // namespace
}  // namespace apptest
