#include "palettes/palette_window.h"

#include <QCloseEvent>
#include <QWindow>

#include "palettes/palette_position.h"

PaletteWindow::PaletteWindow(QWidget* owner, const QString& title, const QString& positionKey,
                             Ownership ownership)
    : QWidget(ownership == Ownership::Child ? owner : nullptr,
              Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      transientOwner_(ownership == Ownership::Transient ? owner : nullptr),
      positionKey_(positionKey) {
    setWindowTitle(title);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
}

PaletteWindow::~PaletteWindow() { SavePosition(); }

void PaletteWindow::PlaceAt(const QPoint& fallback) {
    move(fallback);
    if (positionKey_.isEmpty()) return;
    if (std::optional<std::vector<int>> numbers = ReadPositionKey(positionKey_, PositionCount()))
        ApplyPosition(*numbers);
}

void PaletteWindow::ApplyPosition(const std::vector<int>& numbers) { move(numbers[0], numbers[1]); }

std::vector<int> PaletteWindow::PositionNumbers(const QRect& rect) const {
    return {rect.left(), rect.top()};
}

void PaletteWindow::SavePosition() {
    if (positionKey_.isEmpty() || saved_) return;
    saved_ = true;
    WritePositionKey(positionKey_, PositionNumbers(ClampedWindowRect(this)));
}

void PaletteWindow::showEvent(QShowEvent* event) {
    if (transientOwner_ && windowHandle() && transientOwner_->windowHandle())
        windowHandle()->setTransientParent(transientOwner_->windowHandle());
    QWidget::showEvent(event);
}

void PaletteWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}
