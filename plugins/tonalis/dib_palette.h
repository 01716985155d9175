// The image's colour table as a palette copy: taken, written back and
// exchanged. Failures show their message box (empty caption, OK) owned by
// `owner`.
#pragma once

#include "platform/memory.h"
#include "platform/window.h"
#include "plugins/tonalis/tone_adjust.h"

// The image's colour table (its colour count, at most 256) into `copy`.
// False with "えらーGetPalette" when the image cannot be read.
bool GetDibPalette(WinHandle owner, MemHandle image, DibPaletteCopy* copy);
// Writes the copy's entries into the image's table when the image has at
// least as many colours ("DIB_NumColor is not enough" otherwise);
// "えらーSetPalette" when the image cannot be read.
bool SetDibPalette(WinHandle owner, MemHandle image, const DibPaletteCopy& copy);
// Swaps the copy's entries with the image's table; the counts must be equal
// ("えらーExchangePalette" otherwise); "えらーSetPalette" when the image
// cannot be read.
bool ExchangeDibPalette(WinHandle owner, MemHandle image, DibPaletteCopy* copy);
