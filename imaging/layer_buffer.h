// Creating and resizing layer buffers (LayerHeader + 8-bit rows, bottom-up,
// rows of (width + 3) & ~3 bytes).
#pragma once

#include "imaging/dib_layout.h"
#include "platform/memory.h"

// A new layer of newWidth x newHeight with the old header (right = new width,
// bottom = new height); the first min(old, new) rows counted from the bottom
// of memory are copied, min(old, new) width bytes each, the rest is 0.
// Null when a size is not positive, the old block does not hold
// oldWidth x oldHeight or the allocation fails. The old block stays with the
// caller.
MemHandle NewLayerBufferFromDib(MemHandle layer, int oldWidth, int oldHeight, int newWidth,
                                int newHeight);

// Replaces a layer by one of newWidth x newHeight with the old header
// (right = left + new width, bottom = top + new height) and the overlapping
// part copied, aligned at the top-left corner; the rest is 0.
// Ownership: on success the old block is freed and the new one returned; when
// the image or the layer is null, a size is not positive, the old block does
// not hold oldWidth x oldHeight or the allocation fails, the old block is
// returned unchanged.
MemHandle ResizeLayerBuffer(MemHandle image, MemHandle layer, int oldWidth, int oldHeight,
                            int newWidth, int newHeight);
