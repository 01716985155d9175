// The Qt side of window handles: attaching a widget to a handle and
// registering a C++ function as a receiver.
#pragma once

#include <functional>

#include "platform/window.h"

class QWidget;

namespace platform {

using WinFunction = std::function<WinResult(WinHandle window, uint32_t message,
                                            WinWParam wparam, WinLParam lparam)>;

// Registers a function as the receiver of a new window; never returns null.
// The function is released by WinDestroy (after any send that is still
// running it has returned).
WinHandle WinCreateFunction(WinFunction receiver);

// Attaches a widget to a live handle (null detaches). The handle does not own
// the widget; when the widget is deleted, WinWidget returns null again.
// Returns false for a dead or unknown handle.
bool WinSetWidget(WinHandle window, QWidget* widget);
// The attached widget, or null (no widget, widget deleted, dead handle).
QWidget* WinWidget(WinHandle window);
// The live handle a widget is attached to, or null.
WinHandle WinFromWidget(const QWidget* widget);

}  // namespace platform
