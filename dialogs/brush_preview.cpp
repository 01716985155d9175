#include "dialogs/brush_preview.h"

#include <QPainter>

namespace {

void HorizontalSpan(QPainter& p, int left, int right, int y, const QColor& c) {
    p.fillRect(QRect(left, y, right - left + 1, 1), c);
}

void VerticalSpan(QPainter& p, int x, int top, int bottom, const QColor& c) {
    p.fillRect(QRect(x, top, 1, bottom - top + 1), c);
}

}  // namespace

void PaintBrushPen(QPainter& painter, QPoint centre, int size, int shape, const QColor& color) {
    const int cx = centre.x();
    const int cy = centre.y();
    if (shape != 0) {
        painter.fillRect(QRect(cx - size / 2, cy - size / 2, size, size), color);
        return;
    }
    const int radius = (size + 1) / 2;
    int x = 0;
    int y = radius;
    int d = 1 - radius;
    while (x <= y) {
        HorizontalSpan(painter, cx - x, cx + x, cy - y, color);
        HorizontalSpan(painter, cx - x, cx + x, cy + y, color);
        HorizontalSpan(painter, cx - y, cx + y, cy - x, color);
        HorizontalSpan(painter, cx - y, cx + y, cy + x, color);
        VerticalSpan(painter, cx - x, cy - y, cy + y, color);
        VerticalSpan(painter, cx + x, cy - y, cy + y, color);
        VerticalSpan(painter, cx - y, cy - x, cy + x, color);
        VerticalSpan(painter, cx + y, cy - x, cy + x, color);
        if (d < 0) {
            d += 2 * x + 3;
        } else {
            d += 2 * (x - y) + 5;
            --y;
        }
        ++x;
    }
}

CBrushPreview::CBrushPreview(QWidget* parent) : QWidget(parent) {
    setMinimumSize(kBrushPreviewSide, kBrushPreviewSide);
}

void CBrushPreview::SetPen(int size, int shape) {
    size_ = size;
    shape_ = shape;
    update();
}

void CBrushPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    PaintBrushPen(p, QPoint(kBrushPreviewCentre, kBrushPreviewCentre), size_, shape_, Qt::black);
}
