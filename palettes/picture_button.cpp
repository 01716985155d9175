#include "palettes/picture_button.h"

#include <QPainter>

PictureButton::PictureButton(const std::array<QPixmap, 4>& pictures, QWidget* parent)
    : QAbstractButton(parent), pictures_(pictures) {
    setFocusPolicy(Qt::NoFocus);
}

void PictureButton::SetLatched(bool latched) {
    if (latched_ == latched) return;
    latched_ = latched;
    update();
}

PictureButton::Picture PictureButton::Shown() const {
    if (!isEnabled()) return kDisabled;
    if (isDown() || latched_) return kDown;
    if (hasFocus()) return kFocus;
    return kUp;
}

QSize PictureButton::sizeHint() const { return pictures_[0].size(); }

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, pictures_[size_t(Shown())]);
}

namespace {

// The glyph of a button drawn at (x, y) in a 15 x 13 area; grey draws it in
// shades of grey (the disabled picture).
void drawGlyph(QPainter& p, int id, int x, int y, bool grey) {
    auto c = [grey](QColor color) {
        if (!grey) return color;
        int v = 128 + qGray(color.rgb()) / 4;
        return QColor(v, v, v);
    };
    const QColor frame = c(Qt::black);
    auto swatch = [&](int sx, int sy, int w, int h, QColor fill) {
        p.fillRect(sx, sy, w, h, c(fill));
        p.setPen(frame);
        p.drawRect(sx, sy, w - 1, h - 1);
    };
    switch (id) {
    case 3000:  // unused colours: four swatches, one struck out
        swatch(x + 1, y + 1, 6, 5, QColor(220, 40, 40));
        swatch(x + 8, y + 1, 6, 5, QColor(40, 160, 40));
        swatch(x + 1, y + 7, 6, 5, QColor(40, 80, 220));
        swatch(x + 8, y + 7, 6, 5, Qt::white);
        p.setPen(c(QColor(200, 0, 0)));
        p.drawLine(x + 8, y + 7, x + 13, y + 11);
        p.drawLine(x + 8, y + 11, x + 13, y + 7);
        break;
    case 3001:  // exchange with the picture: two swatches, arrows both ways
        swatch(x, y + 1, 5, 5, QColor(220, 40, 40));
        swatch(x + 10, y + 7, 5, 5, QColor(40, 80, 220));
        p.setPen(frame);
        p.drawLine(x + 6, y + 3, x + 12, y + 3);
        p.drawLine(x + 11, y + 2, x + 11, y + 4);
        p.drawLine(x + 3, y + 9, x + 8, y + 9);
        p.drawLine(x + 4, y + 8, x + 4, y + 10);
        break;
    case 3004:  // colour move: one swatch and an arrow to an empty cell
        swatch(x, y + 4, 5, 5, QColor(40, 160, 40));
        p.setPen(frame);
        p.drawRect(x + 10, y + 4, 4, 4);
        p.drawLine(x + 5, y + 6, x + 9, y + 6);
        p.drawLine(x + 8, y + 5, x + 8, y + 7);
        break;
    case 3002:  // reduction: four colours become two
        swatch(x, y + 1, 3, 3, QColor(220, 40, 40));
        swatch(x + 3, y + 1, 3, 3, QColor(230, 140, 40));
        swatch(x, y + 4, 3, 3, QColor(40, 80, 220));
        swatch(x + 3, y + 4, 3, 3, QColor(40, 180, 220));
        p.setPen(frame);
        p.drawLine(x + 7, y + 4, x + 9, y + 4);
        swatch(x + 10, y + 1, 5, 3, QColor(220, 80, 40));
        swatch(x + 10, y + 5, 5, 3, QColor(40, 120, 220));
        break;
    default: {  // gradient: a bar from black to white
        for (int i = 0; i < 15; ++i) {
            int v = i * 255 / 14;
            p.fillRect(x + i, y + 3, 1, 7, c(QColor(v, v / 2, 255 - v)));
        }
        p.setPen(frame);
        p.drawRect(x, y + 2, 14, 8);
        break;
    }
    }
}

}  // namespace

std::array<QPixmap, 4> PaletteBarButtonPictures(int id, const QSize& size) {
    std::array<QPixmap, 4> pictures;
    const int w = size.width(), h = size.height();
    for (int state = 0; state < 4; ++state) {
        QPixmap pixmap(size);
        pixmap.fill(QColor(212, 208, 200));
        QPainter p(&pixmap);
        const bool down = state == PictureButton::kDown;
        const QColor light = down ? QColor(64, 64, 64) : Qt::white;
        const QColor dark = down ? Qt::white : QColor(64, 64, 64);
        p.setPen(light);
        p.drawLine(0, 0, w - 2, 0);
        p.drawLine(0, 0, 0, h - 2);
        p.setPen(dark);
        p.drawLine(w - 1, 0, w - 1, h - 1);
        p.drawLine(0, h - 1, w - 1, h - 1);
        const int shift = down ? 1 : 0;
        drawGlyph(p, id, (w - 15) / 2 + shift, (h - 13) / 2 + shift,
                  state == PictureButton::kDisabled);
        if (state == PictureButton::kFocus) {
            p.setPen(QPen(Qt::black, 1, Qt::DotLine));
            p.drawRect(2, 2, w - 5, h - 5);
        }
        p.end();
        pictures[size_t(state)] = pixmap;
    }
    return pictures;
}
