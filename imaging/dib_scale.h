// Resampling a packed DIB into a new 24-bit image by area averaging.
#pragma once

#include "platform/memory.h"

// Resamples an 8-bit image (through its colour table) or a 24-bit image to
// exactly newWidth x newHeight pixels. Each destination pixel covers an area
// of old / new source pixels in each direction; every source pixel that
// overlaps it contributes its blue, green and red weighted by the overlap in
// x times the overlap in y; each channel is the weighted sum divided by the
// sum of the weights, truncated (computed exactly in integers).
// The result: 40-byte header, 24 bits, rows padded to 4 bytes.
//
// Ownership: on success the source block is freed and the new image belongs
// to the caller. On a null result the source still belongs to the caller,
// unchanged: a null or refused source, any bit count other than 8 and 24, a
// size that is not positive, or an allocation failure.
MemHandle ScaleDibToRgb24(MemHandle image, int newWidth, int newHeight);
