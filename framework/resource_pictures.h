// The program's own pictures: button strips of the bars and palettes, the
// canvas cursors and the program icon, drawn as pixel art at start.
//
// Strips are images of 16 x 15 pixels laid side by side, image i at x = 16 i,
// on a transparent background.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace pictures {

inline constexpr QSize kButtonImage{16, 15};

// Main toolbar (29 images: new, open, save, cut, copy, paste, 3 spare, undo,
// redo, zoom 1 2 4 6 8 16, alpha view, guides shown, paste modes 0-2, main
// and sub snap, guide settings, main and sub grid, animation, preview).
QPixmap ToolbarStrip();
inline constexpr int kToolbarImages = 29;
// Tool palette (36 images: the 21 tools, 2 spare, the selection modes at 23
// to 26, the pen sizes 600-608 at 27 to 35).
QPixmap ToolPaletteStrip();
inline constexpr int kToolPaletteImages = 36;
// Link palette (9 image-map tools in button order).
QPixmap LinkPaletteStrip();
inline constexpr int kLinkPaletteImages = 9;
// Tone bar (16 tone levels, lightest first).
QPixmap ToneBarStrip();
inline constexpr int kToneImages = 16;
// Selection-mode palette (rectangle, ellipse, freehand, polygon).
QPixmap SelectModeStrip();
inline constexpr int kSelectModeImages = 4;

// The program's cursors by resource number (110-116, 118, 119, 144,
// 179-184, 207, 249-254, 271-274); the arrow for any other number.
QCursor ProgramCursor(int resourceId);
// The resource numbers of the program's 27 cursors, in order.
const int* ProgramCursorIds();
inline constexpr int kProgramCursorCount = 27;
// The pixels of a program cursor (32 x 32), for tests and previews.
QImage ProgramCursorImage(int resourceId);

QIcon ProgramIcon();

}  // namespace pictures
