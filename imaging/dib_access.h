// Measuring packed DIBs and reading or writing their colour tables.
//
// The functions taking a header pointer work on a block the caller has
// locked; they read the header only and trust it (use dib::ReadDibGeometry
// when the block size matters). The functions taking a handle lock the block
// for their own duration, check the header against the block's size and give
// a null or zero result for a null handle or a header they refuse.
#pragma once

#include <cstdint>

#include "imaging/dib_layout.h"
#include "platform/memory.h"

// First pixel byte: header size + colour-table bytes.
uint8_t* GetDibBitsPtr(void* header);
const uint8_t* GetDibBitsPtr(const void* header);
// Width and height of an information or core header.
int GetDibWidth(const void* header);
int GetDibHeight(const void* header);
// Colour-table entries x 4 (x 3 for a core header).
int GetDibColorTableBytes(const void* header);
// flag 0: colours used when nonzero, else 2, 16 or 256 for 1, 4 or 8 bits,
// else 0. flag 1: the bit count.
int GetDibColorCount(const void* header, int flag);

// True for 4 or 8 bits per pixel.
bool IsDibIndexed(MemHandle image);
// 5 for 1 bit, 2 for 16 bits, 3 for 24, 4 for 32, 0 otherwise: the
// bytes-per-pixel argument of CreateDib8 for a picture of this kind.
int GetDibFormatCode(MemHandle image);

// Entry `index` as red, green, blue, alpha (alpha 0 for a core header).
// 0 when the handle is null or the entry lies outside the table, else 1.
// Any out pointer may be null.
int GetDibPaletteEntry(MemHandle image, int index, uint8_t* red, uint8_t* green, uint8_t* blue,
                       uint8_t* alpha);
// Writes entry `index` (a core header drops the alpha); same bounds; 1 when written.
int SetDibPaletteEntry(MemHandle image, int index, uint8_t red, uint8_t green, uint8_t blue,
                       uint8_t alpha);

// Indexed, entries 16 to 255 all zero in all four bytes, and no pixel index
// above 15.
bool UsesOnly16Colors(MemHandle image);
// Indexed and entries 16 to 255 all zero (pixels not examined).
bool IsSixteenColorDib(MemHandle image);
