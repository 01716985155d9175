// Helpers shared by the tests of every area.
#pragma once

#include <string>

namespace platform {
class MessageBoxRecorder;
}

namespace kvtest {

// A file of the shared test data (directory from KAVOLT_TESTDATA).
std::string TestDataPath(const std::string& name);

// The recorder that the Qt test main installs for the whole run; it answers
// every message box nobody else records (see message_box_recorder.h for the
// answers). Defined by the Qt test main only (kavolt_test with QT).
platform::MessageBoxRecorder& RunRecorder();

}  // namespace kvtest
