// GoogleTest main for tests that need a QApplication (offscreen platform).
// A message-box recorder answers every box for the whole run, so no test can
// wait on a dialog; tests that look at their boxes install their own on top.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/message_box_recorder.h"
#include "test_support.h"

namespace {
platform::MessageBoxRecorder* runRecorder = nullptr;
}

namespace kvtest {

platform::MessageBoxRecorder& RunRecorder() {
    if (!runRecorder) std::abort();  // only the Qt test main makes one
    return *runRecorder;
}

}  // namespace kvtest

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::MessageBoxRecorder recorder;
    recorder.SetEcho(true);
    runRecorder = &recorder;
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    runRecorder = nullptr;
    return result;
}
