// The main window's placement as the settings key WindowPos keeps it:
// "flags,show,minX,minY,maxX,maxY,left,top,right,bottom".
#pragma once

#include <optional>

#include <QRect>
#include <QString>

struct WindowPlacement {
    unsigned flags = 0;     // 2: the window was maximised
    unsigned showCmd = 1;   // 1 normal, 2 minimised, 3 maximised
    int minX = -1, minY = -1;
    int maxX = -1, maxY = -1;
    QRect normal;           // left, top, right, bottom (right and bottom exclusive)

    static constexpr unsigned kRestoreToMaximized = 2;
    static constexpr unsigned kShowNormal = 1;
    static constexpr unsigned kShowMinimized = 2;
    static constexpr unsigned kShowMaximized = 3;
};

// Empty unless all ten numbers parse.
std::optional<WindowPlacement> ParseWindowPlacement(const QString& text);
QString FormatWindowPlacement(const WindowPlacement& placement);
