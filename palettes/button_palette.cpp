#include "palettes/button_palette.h"

#include <QHelpEvent>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QToolTip>

#include "framework/command_action.h"
#include "framework/resource_pictures.h"
#include "palettes/palette_geometry.h"
#include "palettes/palette_host.h"

ButtonPalette::ButtonPalette(QWidget* owner, const QString& title, const QString& positionKey,
                             const QPixmap& strip, int stripImages)
    : PaletteWindow(owner, title, positionKey) {
    // Buttons only: a press never takes the activation from the main window.
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    setMouseTracking(true);
    const QSize s = pictures::kButtonImage;
    for (int i = 0; i < stripImages; ++i) {
        QPixmap image = strip.copy(i * s.width(), 0, s.width(), s.height());
        images_.push_back(image);
        disabledImages_.push_back(QIcon(image).pixmap(s, QIcon::Disabled));
    }
}

ButtonPalette::~ButtonPalette() { delete outline_; }

PaletteHost* ButtonPalette::host() const { return PaletteHost::Of(parentWidget()); }

void ButtonPalette::SetButtonsAndColumns(const std::vector<Button>& buttons, int columns) {
    for (QAction* a : actions_) {
        removeAction(a);
        delete a;
    }
    actions_.clear();
    buttons_ = buttons;
    columns_ = std::max(columns, 1);
    for (const Button& b : buttons_) {
        auto* action = new framework::CommandAction(b.command, ToolTip(int(actions_.size())), this);
        action->setCheckable(true);
        // The frame's idle update refreshes the actions of visible widgets.
        addAction(action);
        connect(action, &QAction::changed, this, qOverload<>(&QWidget::update));
        actions_.push_back(action);
    }
    setFixedSize(ButtonPaletteSize(int(buttons_.size()), columns_));
}

QRect ButtonPalette::GetItemRect(int index) const {
    return QRect(index % columns_ * kButtonWidth, index / columns_ * kRowPitch, kButtonWidth, kButtonHeight);
}

int ButtonPalette::HitTest(const QPoint& p) const {
    if (p.x() < 0 || p.y() < 0 || p.x() >= columns_ * kButtonWidth) return -1;
    const int rows = (ButtonCount() + columns_ - 1) / columns_;
    if (p.y() >= (rows - 1) * kRowPitch + kButtonHeight) return -1;
    // Where rows overlap, the lower row's button takes the pixel.
    const int index = std::min(p.y() / kRowPitch, rows - 1) * columns_ + p.x() / kButtonWidth;
    return index < ButtonCount() ? index : -1;
}

QAction* ButtonPalette::ButtonAction(int index) const {
    return index >= 0 && index < int(actions_.size()) ? actions_[size_t(index)] : nullptr;
}

int ButtonPalette::IndexOf(framework::CommandId command) const {
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i].command == command) return int(i);
    return -1;
}

void ButtonPalette::PressOnly(framework::CommandId command) {
    for (size_t i = 0; i < buttons_.size(); ++i) actions_[i]->setChecked(buttons_[i].command == command);
    update();
}

bool ButtonPalette::ButtonPressed(int index) const {
    QAction* a = ButtonAction(index);
    return a && a->isChecked();
}

QString ButtonPalette::Prompt(int index) const {
    if (index < 0 || index >= ButtonCount()) return {};
    return QString::fromUtf8(buttons_[size_t(index)].texts).section(QLatin1Char('\n'), 0, 0);
}

QString ButtonPalette::ToolTip(int index) const {
    if (index < 0 || index >= ButtonCount()) return {};
    return QString::fromUtf8(buttons_[size_t(index)].texts).section(QLatin1Char('\n'), 1);
}

void ButtonPalette::ButtonReleased(int index) {
    if (PaletteHost* h = host()) h->SendFrameCommand(buttons_[size_t(index)].command);
}

// ---- Painting --------------------------------------------------------------------

void ButtonPalette::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), palette().window());
    for (int i = 0; i < ButtonCount(); ++i) {
        const QRect r = GetItemRect(i);
        if (!event->rect().intersects(r)) continue;
        const bool enabled = actions_[size_t(i)]->isEnabled();
        const bool checked = actions_[size_t(i)]->isChecked();
        const bool down = checked || held_ == i;
        if (checked && held_ != i) p.fillRect(r.adjusted(1, 1, -1, -1), QBrush(Qt::white, Qt::Dense4Pattern));
        p.setPen(down ? QColor(64, 64, 64) : QColor(Qt::white));
        p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
        p.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
        p.setPen(down ? QColor(Qt::white) : QColor(64, 64, 64));
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        const auto& images = enabled ? images_ : disabledImages_;
        if (size_t(i) >= images.size()) continue;
        const QSize s = pictures::kButtonImage;
        const int shift = down ? 1 : 0;
        p.drawPixmap(r.left() + (r.width() - s.width()) / 2 + shift, r.top() + (r.height() - s.height()) / 2 + shift,
                     images[size_t(i)]);
    }
}

// ---- Mouse -----------------------------------------------------------------------

void ButtonPalette::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint pos = event->position().toPoint();
    if (pos.y() <= 0) {
        dragging_ = true;
        pressOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
        if (!outline_) outline_ = new QRubberBand(QRubberBand::Rectangle, nullptr);
        outline_->setGeometry(frameGeometry());
        outline_->show();
        return;
    }
    const int index = HitTest(pos);
    if (index < 0 || !actions_[size_t(index)]->isEnabled()) return;
    held_ = index;
    update(GetItemRect(index));
}

void ButtonPalette::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        outline_->move(event->globalPosition().toPoint() - pressOffset_);
        return;
    }
    const int index = HitTest(event->position().toPoint());
    if (index == hovered_ || event->buttons()) return;
    hovered_ = index;
    if (index >= 0)
        if (PaletteHost* h = host()) h->ShowStatusMessage(Prompt(index));
}

void ButtonPalette::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (dragging_) {
        dragging_ = false;
        outline_->hide();
        move(event->globalPosition().toPoint() - pressOffset_);
        show();
        return;
    }
    const int index = held_;
    held_ = -1;
    update();
    if (index >= 0 && HitTest(event->position().toPoint()) == index) ButtonReleased(index);
}

bool ButtonPalette::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = HitTest(help->pos());
        if (index >= 0) QToolTip::showText(help->globalPos(), ToolTip(index), this);
        else QToolTip::hideText();
        return true;
    }
    if (event->type() == QEvent::Leave) hovered_ = -1;
    return PaletteWindow::event(event);
}
