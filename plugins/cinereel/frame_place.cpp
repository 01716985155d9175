#include "plugins/cinereel/frame_place.h"

#include <QMargins>
#include <QWidget>
#include <QWindow>

namespace {

QMargins marginsOf(const QWidget* widget) {
    const QWindow* window = widget ? widget->windowHandle() : nullptr;
    return window ? window->frameMargins() : QMargins();
}

}  // namespace

void PlaceFrame(QWidget* window, const QPoint& frameTopLeft, const QSize& clientSize, QWidget* host) {
    if (!window) return;
    QMargins frame = marginsOf(window);
    if (frame.isNull() && host) frame = marginsOf(host->window());
    window->setGeometry(QRect(frameTopLeft + QPoint(frame.left(), frame.top()), clientSize));
}
