// Converting indexed packed DIBs between 4 and 8 bits per pixel.
//
// Nibble order: the pixel at an even x is the high nibble. A 4-bit row is
// read as whole bytes rounded up to a multiple of 4 bytes; an 8-bit row is
// padded to 4 bytes.
#pragma once

#include "platform/memory.h"

// Brings an image to the 8-bit form with a 256-entry table.
//   4 bit: a new 8-bit image (CreateDib8) whose first 16 entries are the old
//          ones (alpha kept; core entries get alpha 0), pixels unpacked.
//   8 bit with 256 entries, 16, 24 and 32 bit: the image itself.
//   8 bit with another number of entries: a new CreateDib8 image with the
//          pixels and the entries (at most 256) copied.
//   1 bit, or a block too small for its header and pixels: null.
// Ownership, the one rule: the input is consumed unless an allocation fails.
// A non-null result replaces the input (it may be the input itself; a
// converted input has been freed). A null result means the input was freed
// (1 bit or refused block) or, when a new block could not be allocated, that
// the input still belongs to the caller, unchanged. `inputKept`, when given,
// tells the two null cases apart (true only after an allocation failure).
MemHandle ExpandDib4To8(MemHandle image, bool* inputKept = nullptr);

// When UsesOnly16Colors holds for an 8-bit image: a new 4-bit image, block
// ((width + 7) & ~7) / 2 x height + 104, header 40 / width / height / 1 / 4
// bits, everything else zero, the first 16 entries with their alpha, two
// pixels per byte, rows padded to 4 bytes. The 8-bit block is left unchanged
// and still belongs to the caller (who then holds both). Otherwise (also for
// any other bit count, or when the allocation fails) the same handle.
MemHandle PackDibTo4Bit(MemHandle image);

// A picture taken from outside (a scanner, an underlay file) made into a
// new picture of width x height with the picture's pixel format (1 bit
// becomes 8) and colour table, the picture copied in at 0, 0 and clipped,
// the rest zero. On success the picture is freed. Null, the picture still
// the caller's, when it is null or the new block cannot be had.
MemHandle ConvertAcquiredImage(MemHandle picture, int width, int height);
