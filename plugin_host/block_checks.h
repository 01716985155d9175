// Checks of the blocks a plug-in hands over, before the editor reads them.
#pragma once

#include "platform/memory.h"

namespace plugin_host {

// A packed DIB whose header, colour table and padded pixel rows all lie in
// its block (width and height positive). Width and height go out when asked.
bool DeliveredImageFits(MemHandle image, int* width, int* height);

// A layer block whose header rectangle starts at 0, 0, has the image's width
// and height, and whose rows all lie in the block.
bool LayerFitsImage(MemHandle layer, int width, int height);

}  // namespace plugin_host
