// GoogleTest main for the tests that need a real X server with a window
// manager: starts the run's own Xvfb and openbox (x_session.h) with its own
// HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR, then a QApplication on the xcb
// platform there. Without them the QApplication is offscreen and the tests
// that need the session skip. As in the Qt test main, a message-box
// recorder answers every box of the run.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/message_box_recorder.h"
#include "test_support.h"
#include "x_session.h"

namespace {
platform::MessageBoxRecorder* runRecorder = nullptr;
}

namespace kvtest {

platform::MessageBoxRecorder& RunRecorder() {
    if (!runRecorder) std::abort();
    return *runRecorder;
}

}  // namespace kvtest

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!home.isValid()) return 1;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
        const QString dir = home.filePath(QString::fromLatin1(name));
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(name, QFile::encodeName(dir));
    }
    kvtest::XSession session;
    qputenv("QT_QPA_PLATFORM", session.Start() ? "xcb" : "offscreen");
    platform::MessageBoxRecorder recorder;
    recorder.SetEcho(true);
    runRecorder = &recorder;
    int result = 0;
    {
        QApplication app(argc, argv);
        session.WaitForWindowManager();
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    runRecorder = nullptr;
    session.Stop();
    return result;
}
