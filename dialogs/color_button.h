// A push button that shows a colour instead of a text (the colour buttons
// of the dialogs). It only paints; what a click does is the dialog's.
#pragma once

#include <QPushButton>

#include "dialogs/color_choice.h"

class ColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorButton(QWidget* parent = nullptr);

    // Repaints with the new colour.
    void SetColor(const ChosenColor& color);
    const ChosenColor& Color() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChosenColor color_;
};
