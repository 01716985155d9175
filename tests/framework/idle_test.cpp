// Idle work in the running event loop: after events, again while a handler
// asks for more, and not at all while nothing is pending.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include "framework/application.h"

namespace {

// Counts its idle calls; asks for more while `moreWanted` calls are left.
class IdleApp : public framework::Application {
public:
    bool OnIdle(int count) override {
        ++calls;
        Application::OnIdle(count);
        if (moreWanted <= 0) return false;
        --moreWanted;
        return true;
    }
    int calls = 0;
    int moreWanted = 0;
};

// Runs the event loop for `ms` milliseconds.
void RunLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class IdleTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.SetIdleInterval(20);
        RunLoop(150);  // the first idle moment, and the events of the start
        app.calls = 0;
    }
    IdleApp app;
};

TEST_F(IdleTest, NothingRunsWhileNothingIsPendingAndEventsMakeItDue) {
    RunLoop(400);
    EXPECT_EQ(app.calls, 0) << "idle work ran with nothing pending";
    // A handled event makes one idle moment due, before the loop waits again.
    QObject target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    RunLoop(200);
    EXPECT_EQ(app.calls, 1);
}

TEST_F(IdleTest, AHandlerAskingForMoreIsCalledAgainUntilItStops) {
    // Like the splash waiting for its time: more than a moment's rounds.
    app.moreWanted = 30;
    QObject target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    for (int i = 0; i < 100 && app.moreWanted > 0; ++i) RunLoop(20);
    EXPECT_EQ(app.moreWanted, 0) << "the handler was not called again";
    RunLoop(100);
    const int calls = app.calls;
    EXPECT_EQ(calls, 31);
    RunLoop(300);
    EXPECT_EQ(app.calls, calls) << "idle work went on after the handler stopped asking";
}

}  // namespace
