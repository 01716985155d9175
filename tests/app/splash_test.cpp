// The splash window: its picture, its time, its closing in the running
// editor and the presses that close it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include "app/splash_control.h"
#include "app_fixture.h"
#include "dialogs/splash_dlg.h"

namespace apptest {
namespace {

TEST(SplashPicture, NameAndPixelArt) {
    const QImage& picture = CSplashDlg::Picture();
    ASSERT_EQ(picture.size(), QSize(400, 220));
    // Background, sprite outline and the red and green of the motif.
    EXPECT_EQ(picture.pixel(200, 10), qRgb(0x2D, 0x85, 0x85));
    EXPECT_EQ(picture.pixel(24 + 1 * 8 + 4, 32 + 8 * 8 + 4), qRgb(0xD3, 0x00, 0x28));
    EXPECT_EQ(picture.pixel(24 + 10 * 8 + 4, 32 + 12 * 8 + 4), qRgb(0x10, 0xAF, 0x10));
    // The title leaves light pixels in its box.
    int light = 0;
    for (int y = 50; y < 120; ++y)
        for (int x = 168; x < 390; ++x)
            if (picture.pixel(x, y) == qRgb(0xFF, 0xF7, 0xDB)) ++light;
    EXPECT_GT(light, 200);
}

TEST(SplashControlTime, ClosesAfter2501Ms) {
    uint32_t now = 0xFFFFF000u;  // the count wraps while the splash is shown
    QWidget owner;
    SplashControl splash([&now] { return now; });
    splash.Show(&owner);
    ASSERT_TRUE(splash.IsOpen());
    CSplashDlg* window = splash.Window();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->parentWidget(), &owner);
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window->isWindow());
    now += 2500;
    EXPECT_FALSE(splash.Expired());
    now += 1;
    EXPECT_TRUE(splash.Expired());
    splash.Close();
    EXPECT_FALSE(splash.IsOpen());
    EXPECT_FALSE(splash.Expired());
    EXPECT_FALSE(window->isVisible());
    splash.Close();  // twice is harmless
}

class SplashTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        app = std::make_unique<TestPelmarkApp>();
        app->SetProgramDirectoryOverride(programDir.path());
        app->SetCommandLine({});
        app->SetClock([this] { return now; });
        ASSERT_TRUE(app->InitInstance());
        ASSERT_TRUE(app->Splash().IsOpen());
    }
    uint32_t now = 1000;
};

TEST_F(SplashTest, IdleClosesItOnceItsTimeIsUp) {
    now += 2500;
    EXPECT_TRUE(app->OnIdle(0));  // more idle calls wanted while it is open
    EXPECT_TRUE(app->OnIdle(1));
    EXPECT_TRUE(app->Splash().IsOpen());
    now += 1;
    EXPECT_FALSE(app->OnIdle(0));
    EXPECT_FALSE(app->Splash().IsOpen());
    EXPECT_FALSE(app->OnIdle(0));
}

TEST_F(SplashTest, TheRunningEditorClosesItOnItsOwn) {
    // Nothing else happens: the idle work the splash asks for comes back by
    // itself until the splash's time is up.
    app->SetIdleInterval(10);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!app->Splash().IsOpen()) loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(100, [this] { now += 2501; });
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_FALSE(app->Splash().IsOpen());
    EXPECT_EQ(now, 1000u + 2501u) << "the splash closed before its time";
}

TEST_F(SplashTest, PressesCloseIt) {
    struct Case {
        const char* name;
        std::function<void(QWidget*)> send;
        bool closes;
    };
    auto mouse = [](QEvent::Type type) {
        return [type](QWidget* w) {
            QMouseEvent e(type, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(w, &e);
        };
    };
    auto key = [](QEvent::Type type) {
        return [type](QWidget* w) {
            QKeyEvent e(type, Qt::Key_A, Qt::NoModifier, "a");
            QApplication::sendEvent(w, &e);
        };
    };
    const Case cases[] = {
        {"mouse move", mouse(QEvent::MouseMove), false},
        {"button release", mouse(QEvent::MouseButtonRelease), false},
        {"key release", key(QEvent::KeyRelease), false},
        {"button press", mouse(QEvent::MouseButtonPress), true},
        {"press on a frame", mouse(QEvent::NonClientAreaMouseButtonPress), true},
        {"key press", key(QEvent::KeyPress), true},
    };
    for (const Case& c : cases) {
        if (!app->Splash().IsOpen()) app->Splash().Show(app->GetMainFrame());
        c.send(app->GetMainFrame());
        EXPECT_EQ(!app->Splash().IsOpen(), c.closes) << c.name;
    }
    // A press on the splash itself closes it too, and the event still arrives.
    app->Splash().Show(app->GetMainFrame());
    CSplashDlg* window = app->Splash().Window();
    mouse(QEvent::MouseButtonPress)(window);
    EXPECT_FALSE(app->Splash().IsOpen());
    Flush();
}

}  // namespace
}  // namespace apptest

namespace apptest {
namespace {

TEST_F(AppTest, IdleGivesTheActivationBackFromToolWindows) {
    ASSERT_TRUE(Start({"-e"}));
    QWidget* frame = app->GetMainFrame();
    QWidget tool(frame, Qt::Tool);
    tool.show();
    tool.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &tool);
    EXPECT_FALSE(app->OnIdle(0));
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), frame);

    // A window of its own (not a tool window of the frame) keeps it.
    QWidget other;
    other.show();
    other.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &other);
    app->OnIdle(0);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &other);
}

}  // namespace
}  // namespace apptest
