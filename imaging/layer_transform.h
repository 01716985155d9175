// Turning, mirroring and flipping the pixels of a layer buffer in place.
//
// Each function takes the layer's rectangle (left, top, right, bottom): the
// layer has right - left columns and bottom - top rows of (width + 3) & ~3
// bytes after its 88-byte header. Nothing happens (false) when the layer is
// null, a size is not positive or the block does not hold those rows.
#pragma once

#include "platform/memory.h"

// Every row turns one pixel left (right); the pixel that leaves at one end
// enters at the other.
bool ShiftLayerLeftWrap(MemHandle layer, int left, int top, int right, int bottom);
bool ShiftLayerRightWrap(MemHandle layer, int left, int top, int right, int bottom);
// Every column turns one pixel: A moves the content one row up in the image
// (the top row enters at the bottom), B one row down (the bottom row enters
// at the top).
bool ShiftLayerVerticalWrapA(MemHandle layer, int left, int top, int right, int bottom);
bool ShiftLayerVerticalWrapB(MemHandle layer, int left, int top, int right, int bottom);
// Each row reversed (left-right mirror).
bool MirrorLayerRect(MemHandle layer, int left, int top, int right, int bottom);
// Rows exchanged top for bottom over (bottom - top) / 2 pairs, whole padded rows.
bool FlipLayerRect(MemHandle layer, int left, int top, int right, int bottom);

// Rows of a packed DIB exchanged top for bottom over height / 2 pairs; any bit
// count, 16- and 24-bit rows unpadded. False for a null or refused image.
bool FlipDibVertical(MemHandle image);
