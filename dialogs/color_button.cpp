#include "dialogs/color_button.h"

#include <algorithm>

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
int Clamp(int value) { return std::clamp(value, 0, 255); }
}  // namespace

ColorButton::ColorButton(QWidget* parent) : QPushButton(parent) {}

void ColorButton::SetColor(const ChosenColor& color) {
    color_ = color;
    update();
}

void ColorButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    // The swatch inside the frame, a black line around it.
    QRect swatch = rect().adjusted(4, 4, -5, -5);
    p.fillRect(swatch, QColor(Clamp(color_.red), Clamp(color_.green), Clamp(color_.blue)));
    p.setPen(isEnabled() ? Qt::black : Qt::gray);
    p.drawRect(swatch);
}
