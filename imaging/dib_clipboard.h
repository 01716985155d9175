// Packed DIBs on the system clipboard.
//
// Pictures travel as Qt's standard image data, so that other programs can
// take them and give them. Each function needs a QGuiApplication; without
// one they do nothing (false or null).
#pragma once

#include "platform/memory.h"

// True when the clipboard holds a picture.
bool ClipboardHasDib();

// Puts the DIB on the clipboard (replacing what was there). The clipboard
// takes ownership: the block is freed by this call in every case. False when
// the block is null or refused or there is no application.
bool ClipboardPutDib(MemHandle image);

// A new packed DIB of the clipboard's picture, owned by the caller: 8-bit
// with its table when the picture is indexed with at most 256 colours, else
// 24-bit. Null when there is no picture or the allocation fails.
MemHandle ClipboardGetDib();

// Empties the clipboard.
void ClipboardEmpty();
