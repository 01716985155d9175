// What the Loopcast library keeps between the calls of one operation: the
// colour-reduction functions the host lent it, and the layer and channel
// tables. Everything starts empty at each load.
#pragma once

#include "platform/memory.h"
#include "plugin_api/plugin_api.h"

constexpr int kLoopcastSlots = 100;

struct LoopcastState {
    ColorReduceTable reduce{};
    MemHandle layers[kLoopcastSlots]{};
    MemHandle channels[kLoopcastSlots]{};
};

// Status texts to the host (WM_PLUGIN_STATUS).
void LoopcastStatus(WinHandle host, int code);

// Reads the GIF at path->path into a new 8-bit image (image->image, 256
// colours) and one layer per frame (state.layers); a PluginResultCode.
uint16_t GifReadLayers(WinHandle host, PluginPathBuffer* path, PluginImage* image, LoopcastState& state);
// Asks the transparency question, then writes the layers of state.layers
// (from 0 up to the first empty entry) as a looping GIF89a.
uint16_t GifWriteLayers(WinHandle host, PluginPathBuffer* path, PluginImage* image, LoopcastState& state);
// The writing itself, after the question.
uint16_t GifWriteLayersFile(WinHandle host, const char* path, MemHandle image, const MemHandle* layers,
                            bool transparent);
