// The preview of a custom pen: the pen in black on white, centred 50 pixels
// right of and below the corner, so that the largest pen (100) fits in
// 101 x 101 pixels.
#pragma once

#include <QWidget>

class QPainter;

inline constexpr int kBrushPreviewCentre = 50;
inline constexpr int kBrushPreviewSide = 2 * kBrushPreviewCentre + 1;

// Paints the pen with its centre at `centre`: shape 1 (and any other than 0)
// a size x size square whose left and top are centre - size / 2; shape 0 a
// filled midpoint circle of radius (size + 1) / 2, as one-pixel spans
// mirrored into the eight octants. Pixels are set without smoothing.
void PaintBrushPen(QPainter& painter, QPoint centre, int size, int shape, const QColor& color);

// Owner-drawn preview control.
class CBrushPreview : public QWidget {
    Q_OBJECT
public:
    explicit CBrushPreview(QWidget* parent = nullptr);

    void SetPen(int size, int shape);
    int PenSize() const { return size_; }
    int PenShape() const { return shape_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int size_ = 1;
    int shape_ = 0;
};
