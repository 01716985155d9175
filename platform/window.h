// Window handles and synchronous messages between the host and plug-ins.
//
// A window (the host's main frame, a palette, a plug-in's window) registers a
// receiver and gets a handle. Sending a message to a handle calls its receiver
// at once, on the calling thread, and returns the receiver's result; sending to
// a null, destroyed or unknown handle returns 0. Parameters and results are
// pointer-sized, so a message can carry a pointer.
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

}  // extern "C"
