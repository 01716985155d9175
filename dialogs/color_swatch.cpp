#include "dialogs/color_swatch.h"

#include <QPainter>

ColorSwatch::ColorSwatch(QWidget* parent, bool framed) : QPushButton(parent), framed_(framed) {
    setFocusPolicy(Qt::NoFocus);
}

void ColorSwatch::SetColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!framed_) {
        p.fillRect(rect(), color_);
        return;
    }
    p.fillRect(rect(), Qt::black);
    p.fillRect(rect().adjusted(1, 1, -1, -1), color_);
}
