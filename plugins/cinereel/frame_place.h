// Placing a top-level window by its frame (caption and borders included)
// before the window manager has framed it: until then the window's own
// frame is unknown, and the host's main window, framed the same way, lends
// its margins.
#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

// Puts `window`'s frame top-left at `frameTopLeft` with a client area of
// `clientSize`.
void PlaceFrame(QWidget* window, const QPoint& frameTopLeft, const QSize& clientSize, QWidget* host);
