// Copying a picture's rows into another picture of the same bit count.
#pragma once

#include "platform/memory.h"

// Copies the source's pixels into the destination with the source's top-left
// corner at the destination's top-left, clipped to the smaller width and
// height. Each block's rows are read with that block's own row length (padded
// rows, or unpadded 16- and 24-bit rows for a block sized for them), so a
// padded picture goes into an unpadded one and back without shearing.
// False when a block is refused or the bit counts differ.
bool CopyDibRowsTopLeft(MemHandle destination, MemHandle source);
