// The canvas view's cursor table: 0 the arrow, 1..4 the sizing arrows
// (diagonal \, diagonal /, vertical, horizontal), 5..31 the program's
// cursors by resource number.
#pragma once

#include <QCursor>

namespace view {

// The cursor of table index `index` (the arrow outside 0..31).
QCursor ViewCursor(int index);

}  // namespace view
