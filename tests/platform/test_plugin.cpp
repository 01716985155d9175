// A plug-in for the module tests: a static counter that must start afresh
// at every load, a call back into the platform, and a deferred delete.
#include "platform/plugin_export.h"
#include "platform/window.h"
#include "tests/support/tracked_object.h"

namespace {

int counter = 0;

}  // namespace

KV_EXPORT int Bump() { return ++counter; }

// Sends the counter to the host's window and returns the window's answer.
KV_EXPORT WinResult Report(WinHandle host, uint32_t message) {
    return WinSendMessage(host, message, WinWParam(counter), 0);
}

// Leaves an object of the plug-in's own class waiting for deletion.
KV_EXPORT void DeleteLater(int* deleted) { (new kvtest::TrackedObject(deleted))->deleteLater(); }
