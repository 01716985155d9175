#include "plugins/scribeon/text_color_button.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace {

// COLORREF values 0x00BBGGRR.
constexpr uint32_t kColorRefs[CTextColorButton::kColors] = {0xFFFFFF, 0xFF0000, 0xFFFF00, 0x00FF00,
                                                            0x00FFFF, 0x0000FF, 0xFF00FF, 0x000000};

// A menu item's picture: 40 x 20, a frame inset by 6 and 3 filled with the
// colour, white when the item is the chosen one.
QPixmap ItemPicture(const QColor& color, bool selected) {
    QPixmap picture(40, 20);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    const QRect frame(6, 3, 40 - 12, 20 - 6);
    p.fillRect(frame, selected ? Qt::white : Qt::black);
    p.fillRect(frame.adjusted(1, 1, -1, -1), color);
    return picture;
}

}  // namespace

CTextColorButton::CTextColorButton(QWidget* parent) : QPushButton(parent), menu_(new QMenu(this)) {
    for (int k = 0; k < kColors; ++k) {
        QAction* item = menu_->addAction(QIcon(ItemPicture(ColorOf(k), false)), QString());
        item->setData(kFirstItem + k);
        connect(item, &QAction::triggered, this, [this, k] { SetIndex(k); });
    }
    menu_->setStyleSheet(QStringLiteral("QMenu { icon-size: 40px; }"));
}

QColor CTextColorButton::ColorOf(int index) {
    const uint32_t c = kColorRefs[index >= 0 && index < kColors ? index : 0];
    return QColor(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff));
}

void CTextColorButton::SetIndex(int index) {
    if (index < 0 || index >= kColors) return;
    index_ = index;
    const QList<QAction*> items = menu_->actions();
    for (int k = 0; k < items.size(); ++k) items[k]->setIcon(QIcon(ItemPicture(ColorOf(k), k == index_)));
    update();
    if (onColor) onColor(ColorOf(index_));
}

void CTextColorButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        menu_->popup(event->globalPosition().toPoint());
        return;
    }
    QPushButton::mousePressEvent(event);
}

void CTextColorButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.fillRect(rect().adjusted(1, 1, -1, -1), ColorOf(index_));
}
