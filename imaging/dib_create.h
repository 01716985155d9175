// Creating and copying packed DIBs and memory blocks.
//
// Every function here returns a new block that the caller owns (or null when
// the input is refused or an allocation fails); none frees its input.
#pragma once

#include "imaging/dib_layout.h"
#include "platform/memory.h"

// bytesPerPixel 0 (or 1): an 8-bit image, block ((width + 3) & ~3) x height
// + 1064, header 40 / width / height / 1 plane / 8 bits, everything else
// zero (256 black entries with alpha 0, pixels 0).
// bytesPerPixel 2 to 4: block width x height x bytes + 40 (unpadded rows),
// bit count 8 x bytes, no colour table.
// Null when a size is not positive, bytesPerPixel is outside 0..4 or the
// allocation fails.
MemHandle CreateDib8(int width, int height, int bytesPerPixel);

// A new zero-filled block of the size of `sizeFrom` (of `source` when
// `sizeFrom` is null) holding a copy of the source's bytes (as many as both
// blocks hold). Null when a handle is invalid or the allocation fails.
MemHandle DuplicateGlobal(MemHandle source, MemHandle sizeFrom = nullptr);

// Copies the destination's size in bytes from the source, never more than the
// source holds. Nothing when either handle is invalid or both are the same.
void CopyGlobalContents(MemHandle destination, MemHandle source);

// A new block holding the colour table as four-byte entries: 64 bytes for a
// 4-bit image, 1024 otherwise (entries past the image's table are zero; core
// entries get alpha 0). Null for a null or refused image or when the
// allocation fails.
MemHandle CopyDibColorTable(MemHandle image);

// Writes 16 (4-bit image) or 256 entries from a table block into the image,
// as many as both hold. Nothing when either handle is invalid.
void StoreDibColorTable(MemHandle image, MemHandle table);

// Crops a rectangle (y from the top). The rectangle is first cut to the image
// and written back to `rect` (negative left and top become 0, right and
// bottom at most the width and height); an empty rectangle gives null.
// Without a layer: a new image with the source's header (40 bytes, width and
// height of the rectangle, image size 0) and colour table and the
// rectangle's pixels (16- and 24-bit rows unpadded).
// With a layer buffer (read with the image's width and height): a new layer
// buffer with the rectangle's pixels; its header is zero but for the
// rectangle 0, 0, width rounded up to a multiple of 4, height.
MemHandle CropDibRect(MemHandle image, DibRect* rect, MemHandle layer = nullptr);
