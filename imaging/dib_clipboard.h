// Packed DIBs on the system clipboard.
//
// A copy offers one set of data in several formats: "image/png" and
// "image/bmp" (the picture as an indexed image with its palette, encoded
// only when a program asks for it), Qt's own image format for the same
// picture, and "application/x-kavolt-dib": the packed DIB byte for byte
// with the extra bytes the copy adds (the floating mask and its rectangles).
// A paste takes the program's own format when the clipboard holds it, else
// whatever picture another program offered.
//
// Each function needs a QGuiApplication; without one they do nothing (false
// or null).
#pragma once

#include <QByteArray>

#include "platform/memory.h"

// The MIME type of the program's own clipboard data.
inline constexpr char kKavoltDibMime[] = "application/x-kavolt-dib";

// True when the clipboard holds a picture (the program's own or another's).
bool ClipboardHasDib();
// True when the clipboard holds the program's own format.
bool ClipboardHasOwnDib();

// Puts the DIB on the clipboard (replacing what was there), with `extra`
// bytes carried beside it in the program's own format. The block is freed by
// this call in every case. False when the block is null or refused or there
// is no application.
bool ClipboardPutDib(MemHandle image, const QByteArray& extra = {});

// A new packed DIB of the clipboard's picture, owned by the caller. From the
// program's own format: the DIB as it was put, and `extra` gets its extra
// bytes; from another program: 8-bit with its table when the picture is
// indexed with at most 256 colours, else 24-bit, and `extra` is emptied.
// `own` (when given) tells which. Null when there is no picture, the own
// data is damaged, or the allocation fails.
MemHandle ClipboardGetDib(QByteArray* extra = nullptr, bool* own = nullptr);

// Empties the clipboard.
void ClipboardEmpty();

// The own format's bytes of a DIB and its extra bytes, and back (false for
// bytes that do not hold both parts).
QByteArray PackOwnClipboardData(const QByteArray& dib, const QByteArray& extra);
bool UnpackOwnClipboardData(const QByteArray& data, QByteArray* dib, QByteArray* extra);
