// Opening the picture on the clipboard as a new document (Edit > open as
// new file): the new image takes its size from the exchange header and its
// colours from the exchange palette that the program's last copy stored.
#pragma once

#include "imaging/dib_exchange.h"
#include "platform/memory.h"

// A new 8-bit image of the exchange header's size (right - left by
// bottom - top) whose first 16 entries (sixteenColors) or all 256 come from
// the exchange palette. Null when that size is not positive or the block
// cannot be had.
MemHandle CreateImageFromExchange(bool sixteenColors);

// Copies the clipboard picture's pixels into the layer laid out for `image`
// when the picture is 8 bit with 256 colour-table entries: the part that
// the picture, the image and the layer block all hold, from the top-left
// corner. True when pixels were copied.
bool CopyClipboardPixelsToLayer(MemHandle picture, MemHandle image, MemHandle layer);
