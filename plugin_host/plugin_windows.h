// Closing the windows of the tool plug-ins that work on documents, for a
// child frame that closes and for the program's close.
#pragma once

struct PluginWindowSlot;

namespace plugin_host {

// Set once any plug-in window was sent the close message by the functions
// below (the program never clears it).
bool& PluginWindowClosed();

// Sends the close message to the slot's window (the one its record reports
// when the slot has none) and then to the record's second window, each when
// present; the slot is cleared then. True when there was a window; a slot
// without windows is left as it is.
bool ClosePluginSlot(PluginWindowSlot& slot);

// While the animation maker runs: its windows, through the slot of the
// document it works on (or its record when that document is gone).
bool CloseAnimationWindows();

}  // namespace plugin_host
