#include "frame/window_placement.h"

#include "palettes/palette_position.h"

std::optional<WindowPlacement> ParseWindowPlacement(const QString& text) {
    std::optional<std::vector<int>> n = ParseNumberList(text, 10);
    if (!n) return std::nullopt;
    const std::vector<int>& v = *n;
    WindowPlacement p;
    p.flags = unsigned(v[0]);
    p.showCmd = unsigned(v[1]);
    p.minX = v[2];
    p.minY = v[3];
    p.maxX = v[4];
    p.maxY = v[5];
    p.normal = QRect(QPoint(v[6], v[7]), QPoint(v[8] - 1, v[9] - 1));
    return p;
}

QString FormatWindowPlacement(const WindowPlacement& p) {
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,%9,%10")
        .arg(p.flags)
        .arg(p.showCmd)
        .arg(p.minX)
        .arg(p.minY)
        .arg(p.maxX)
        .arg(p.maxY)
        .arg(p.normal.left())
        .arg(p.normal.top())
        .arg(p.normal.right() + 1)
        .arg(p.normal.bottom() + 1);
}
