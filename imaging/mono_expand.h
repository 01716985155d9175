// Turning 1-bit pictures into 8-bit ones.
#pragma once

#include <cstdint>

#include "platform/memory.h"

// Each row of a 1-bit image (rows of ((width + 31) / 32) x 4 bytes, most
// significant bit first) becomes a row of bytes 0 or 1 (rows of
// (width + 3) & ~3 bytes). Padding bytes of the destination are left alone.
void ExpandMonoRows(uint8_t* destination, const uint8_t* source, int width, int height);

// A 1-bit DIB becomes a new 8-bit DIB: its header (as a 40-byte header) with
// bit count 8 (colours used and image size 0), a 256-entry table whose entries
// 0 and 1 are the two colours of the 1-bit table and the rest zero, pixels 0
// and 1. Ownership: the 1-bit block is freed when the new one is made; a DIB
// of another bit count, a block too small for its header, or an allocation
// failure gives back the input itself.
MemHandle ExpandMonoDib(MemHandle image);
