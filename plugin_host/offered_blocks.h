// The blocks a file-format plug-in still offers after a read the editor
// refuses.
//
// Once ImportGR has returned, every layer, channel and underlay the plug-in
// made is the editor's to free: the plug-in is unloaded right after and never
// frees them itself. When an open fails, the document first releases what it
// took; FreeOfferedBlocks then frees the rest.
#pragma once

#include "platform/module.h"

namespace plugin_host {

// Asks the loaded library for what GetLayer (indices 0 to 99), GetChannel
// (0 to 99) and GetSitae offer and frees each block that is still live. A
// handle already freed (by the document, or offered twice) is refused by the
// memory layer and left alone, so every block is freed exactly once.
void FreeOfferedBlocks(const platform::Module& library);

}  // namespace plugin_host
