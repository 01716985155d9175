// Window timers and window handles of framework windows.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include "framework/window_handle.h"
#include "framework/window_timer.h"
#include "framework_fixture.h"
#include "platform/window.h"

namespace {

class TimedView : public framework::View {
public:
    std::vector<int> fired;
    WinResult OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) override {
        messages.push_back({message, wparam, lparam});
        return 99;
    }
    struct Message {
        uint32_t message;
        WinWParam wparam;
        WinLParam lparam;
    };
    std::vector<Message> messages;
    bool killInside = false;

protected:
    void OnTimer(int id) override {
        fired.push_back(id);
        if (killInside) KillTimer(id);
    }
};

template <class F>
bool waitFor(F condition, int ms = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) return false;
        QTest::qWait(2);
    }
    return true;
}

size_t countOf(const std::vector<int>& v, int id) { return size_t(std::count(v.begin(), v.end(), id)); }

TEST(WindowTimer, FiresByIdUntilKilled) {
    TimedView view;
    view.SetTimer(1, 5);
    view.SetTimer(2, 5);
    ASSERT_TRUE(waitFor([&] { return countOf(view.fired, 1) >= 2 && countOf(view.fired, 2) >= 2; }));
    EXPECT_TRUE(view.KillTimer(2));
    EXPECT_FALSE(view.KillTimer(2));
    EXPECT_FALSE(view.HasTimer(2));
    size_t twos = countOf(view.fired, 2);
    size_t ones = countOf(view.fired, 1);
    ASSERT_TRUE(waitFor([&] { return countOf(view.fired, 1) >= ones + 3; }));
    EXPECT_EQ(countOf(view.fired, 2), twos);
    // Setting an id again replaces its interval.
    view.SetTimer(1, 60000);
    size_t before = countOf(view.fired, 1);
    QTest::qWait(30);
    EXPECT_EQ(countOf(view.fired, 1), before);
    EXPECT_TRUE(view.HasTimer(1));
}

TEST(WindowTimer, OneShotByKillingInsideOnTimer) {
    TimedView view;
    view.killInside = true;
    view.SetTimer(50, 1);
    ASSERT_TRUE(waitFor([&] { return !view.fired.empty(); }));
    QTest::qWait(20);
    EXPECT_EQ(view.fired, std::vector<int>{50});
}

TEST(WindowTimer, EndsWithTheWindow) {
    auto view = std::make_unique<TimedView>();
    view->SetTimer(1, 1);
    view.reset();
    QTest::qWait(10);  // nothing fires into a dead window (ASan would see it)
}

TEST(WindowHandle, MessagesReachTheWindowUntilItGoes) {
    auto view = std::make_unique<TimedView>();
    WinHandle handle = view->WindowHandle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(view->WindowHandle(), handle);
    EXPECT_EQ(WinSendMessage(handle, 0x405, 12, -3), 99);
    ASSERT_EQ(view->messages.size(), 1u);
    EXPECT_EQ(view->messages[0].message, 0x405u);
    EXPECT_EQ(view->messages[0].wparam, 12u);
    EXPECT_EQ(view->messages[0].lparam, -3);
    EXPECT_EQ(framework::MessageWindow::FromHandle(handle), view.get());
    view->setEnabled(true);
    EXPECT_TRUE(WinEnable(handle, false));
    EXPECT_FALSE(view->isEnabled());
    view.reset();
    EXPECT_FALSE(WinIsWindow(handle));
    EXPECT_EQ(WinSendMessage(handle, 0x405, 0, 0), 0);
}

class FrameHandleTest : public fwtest::FrameworkTest {};

TEST_F(FrameHandleTest, ClosedFrameLosesItsHandleAtOnce) {
    framework::Document* doc = app->OpenDocumentFile(MakeFile("a.kvt"));
    ASSERT_NE(doc, nullptr);
    framework::ChildFrame* frame = main->ChildFrames().front();
    WinHandle frameHandle = frame->WindowHandle();
    WinHandle viewHandle = frame->GetActiveView()->WindowHandle();
    WinHandle mainHandle = main->WindowHandle();
    EXPECT_EQ(framework::MessageWindow::FromHandle(mainHandle), main);
    frame->close();
    EXPECT_FALSE(WinIsWindow(frameHandle));
    EXPECT_FALSE(WinIsWindow(viewHandle));
    EXPECT_TRUE(WinIsWindow(mainHandle));
}

}  // namespace
