#include "dialogs/color_choice.h"

#include <algorithm>

#include <QColorDialog>
#include <QGuiApplication>

namespace {

ColorChooser& Chooser() {
    static ColorChooser chooser;
    return chooser;
}

int Clamp(int value) { return std::clamp(value, 0, 255); }

bool ChooseWithQt(QWidget* parent, ChosenColor& color) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return false;
    QColor start(Clamp(color.red), Clamp(color.green), Clamp(color.blue), Clamp(color.alpha));
    QColor chosen = QColorDialog::getColor(start, parent, QStringLiteral("改变调板"),
                                           QColorDialog::ShowAlphaChannel);
    if (!chosen.isValid()) return false;
    color = {chosen.red(), chosen.green(), chosen.blue(), chosen.alpha()};
    return true;
}

}  // namespace

bool ChooseColor(QWidget* parent, ChosenColor& color) {
    if (Chooser()) return Chooser()(parent, color);
    return ChooseWithQt(parent, color);
}

ColorChooser SetColorChooser(ColorChooser chooser) {
    ColorChooser previous = std::move(Chooser());
    Chooser() = std::move(chooser);
    return previous;
}
