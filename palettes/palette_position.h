// Screen positions the floating tool windows keep in the settings file: a
// key of comma-separated numbers ("120,340" or "10,20,200,300"), read back
// only when exactly the expected count of numbers parses, and written from
// the window's rectangle clamped to the screen.
#pragma once

#include <optional>
#include <vector>

#include <QRect>
#include <QString>

class QWidget;

// The first `count` numbers of "n,n,n..." (blanks before a number allowed,
// as the C library reads "%d,%d"). Empty unless all `count` parse; anything
// after the last one is ignored.
std::optional<std::vector<int>> ParseNumberList(const QString& text, int count);
QString FormatNumberList(const std::vector<int>& numbers);

// The rectangle moved so that it lies on the screen: left between 0 and
// screen width - width, top between 0 and screen height - height.
QRect ClampToScreen(const QRect& rect, const QRect& screen);

// The settings value of `key` (section Settings) parsed for `count` numbers.
std::optional<std::vector<int>> ReadPositionKey(const QString& key, int count);
// Writes the numbers to `key` (section Settings).
void WritePositionKey(const QString& key, const std::vector<int>& numbers);
// The window's frame rectangle clamped to its screen.
QRect ClampedWindowRect(const QWidget* window);
