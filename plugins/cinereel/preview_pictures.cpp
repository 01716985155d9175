#include "plugins/cinereel/preview_pictures.h"

#include <QPainter>
#include <QPolygon>

namespace {

enum class Shape { Reset, Back, Forward, Run, Pause };

struct Picture {
    int id;
    Shape shape;
    bool down;
    QColor ink;
};

constexpr int kSide = 20;

const Picture kPictures[] = {
    {16021, Shape::Reset, false, Qt::black},   {16022, Shape::Reset, true, Qt::black},
    {16029, Shape::Back, false, Qt::black},    {16031, Shape::Back, true, Qt::black},
    {16028, Shape::Forward, false, Qt::black}, {16030, Shape::Forward, true, Qt::black},
    {16025, Shape::Run, false, Qt::black},     {16024, Shape::Run, true, Qt::black},
    {16032, Shape::Run, false, QColor(0, 150, 0)}, {16034, Shape::Run, true, QColor(0, 150, 0)},
    {16027, Shape::Pause, false, Qt::black},   {16026, Shape::Pause, true, Qt::black},
    {16035, Shape::Pause, false, QColor(200, 0, 0)}, {16036, Shape::Pause, true, QColor(200, 0, 0)},
};

void Triangle(QPainter& p, int x, bool right) {
    QPolygon t;
    if (right) t << QPoint(x, 5) << QPoint(x + 6, 10) << QPoint(x, 15);
    else t << QPoint(x + 6, 5) << QPoint(x, 10) << QPoint(x + 6, 15);
    p.drawPolygon(t);
}

}  // namespace

QPixmap PreviewPicture(int id) {
    for (const Picture& pic : kPictures) {
        if (pic.id != id) continue;
        QPixmap pixmap(kSide, kSide);
        pixmap.fill(pic.down ? QColor(170, 170, 170) : QColor(230, 230, 230));
        QPainter p(&pixmap);
        p.setPen(pic.ink);
        p.setBrush(pic.ink);
        switch (pic.shape) {
        case Shape::Reset: p.drawRect(5, 5, 1, 10); Triangle(p, 8, false); break;
        case Shape::Back: Triangle(p, 3, false); Triangle(p, 10, false); break;
        case Shape::Forward: Triangle(p, 4, true); Triangle(p, 11, true); break;
        case Shape::Run: Triangle(p, 7, true); break;
        case Shape::Pause: p.drawRect(6, 5, 2, 10); p.drawRect(12, 5, 2, 10); break;
        }
        return pixmap;
    }
    return {};
}
