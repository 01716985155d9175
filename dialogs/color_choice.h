// Letting the user choose one colour with alpha: every dialog that offers a
// colour button asks through here, so one colour editor serves them all.
#pragma once

#include <functional>

class QWidget;

struct ChosenColor {
    int red = 0;
    int green = 0;
    int blue = 0;
    int alpha = 0;
};

// Opens the colour editor (the colour edit dialog) on `color`; true and the
// new colour on OK, false (colour unchanged) on Cancel. Under the offscreen
// platform with neither a chooser nor a modal driver set nobody could
// answer, so it answers Cancel.
bool ChooseColor(QWidget* parent, ChosenColor& color);

// Replaces the colour editor (tests answer in the user's place); an empty
// function restores the program's own. Returns the previous one.
using ColorChooser = std::function<bool(QWidget* parent, ChosenColor& color)>;
ColorChooser SetColorChooser(ColorChooser chooser);
