// Window handles and synchronous messages between the host and plug-ins.
//
// A window (the host's main frame, a palette, a plug-in's window) registers a
// receiver and gets a handle. Sending a message to a handle calls its receiver
// at once, on the calling thread, and returns the receiver's result; sending to
// a null, destroyed or unknown handle returns 0. Parameters and results are
// pointer-sized, so a message can carry a pointer.
//
// A receiver may send further messages, create windows or destroy any window,
// its own included, while it runs. Handles are opaque numbers checked against
// a table: a dead or unknown handle is never dereferenced.
#pragma once

#include <cstdint>

extern "C" {

typedef struct KvWindow* WinHandle;
typedef uintptr_t WinWParam;
typedef intptr_t WinLParam;
typedef intptr_t WinResult;

typedef WinResult (*WinReceiver)(void* context, WinHandle window, uint32_t message,
                                 WinWParam wparam, WinLParam lparam);

// Registers a receiver; never returns null.
WinHandle WinCreate(WinReceiver receiver, void* context);
// The handle stops receiving at once; later sends return 0.
void WinDestroy(WinHandle window);
bool WinIsWindow(WinHandle window);
WinResult WinSendMessage(WinHandle window, uint32_t message, WinWParam wparam, WinLParam lparam);

// Enables or disables the widget attached to the window (see window_qt.h).
// Returns false when the handle is dead or has no widget (nothing changes).
bool WinEnable(WinHandle window, bool enable);
// False for a dead handle or a disabled widget (a widget is disabled too when
// one of its parents is); a live window without a widget counts as enabled.
bool WinIsEnabled(WinHandle window);

}  // extern "C"
