// The negative: the current layer's colours inverted inside the selection,
// at once.
#pragma once

#include "plugin_api/plugin_api.h"

// Inverts blue, green and red of every selected pixel of the current layer
// (the nearest entry of the image's table), then asks the host window to
// rebuild the canvas. Leaves the record's image-changed flag alone.
void RunNegative(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info);
