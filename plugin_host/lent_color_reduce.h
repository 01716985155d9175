// The colour reduction the host lends to file-format plug-ins during a
// document open, and the reduction of an opened image to 256 colours: the
// program's reduction engine (imaging/color_reduce.h).
#pragma once

#include "platform/memory.h"
#include "plugin_api/plugin_api.h"

namespace plugin_host {

// The ten functions passed to SetGenshoku, by slot.
const ColorReduceTable& LentColorReduceTable();

enum class ReduceOutcome { Done, NoMemory, Failed };

// Reduces an image of any bit count to an 8-bit image of 256 colours.
// Done: `*result` is a new block the caller owns. The input always stays
// with the caller.
ReduceOutcome ReduceOpenedImageTo256(MemHandle image, MemHandle* result);

}  // namespace plugin_host
