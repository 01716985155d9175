// The canvas view's cursor table: 0 the arrow, 1..4 the sizing arrows
// (diagonal \, diagonal /, vertical, horizontal), 5..31 the program's
// cursors by resource number.
#pragma once

#include <QCursor>

namespace view {

// The program's cursor of a resource number; until a source is set, a
// standard shape stands in.
using CursorSource = QCursor (*)(int resourceId);
void SetProgramCursorSource(CursorSource source);

// The cursor of table index `index` (the arrow outside 0..31).
QCursor ViewCursor(int index);

}  // namespace view
