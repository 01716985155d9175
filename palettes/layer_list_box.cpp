#include "palettes/layer_list_box.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionButton>

CLayerListBox::CLayerListBox(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setSingleStep(kRowHeight);
    viewport()->setAutoFillBackground(true);
}

void CLayerListBox::ResetContent() {
    rows_.clear();
    current_ = -1;
    updateScrollRange();
    viewport()->update();
}

int CLayerListBox::AddRow(const Row& row) {
    rows_.push_back(row);
    updateScrollRange();
    viewport()->update();
    return GetCount() - 1;
}

void CLayerListBox::SetRows(std::vector<Row> rows) {
    rows_ = std::move(rows);
    current_ = -1;
    updateScrollRange();
    viewport()->update();
}

void CLayerListBox::SetCurSel(int row) {
    current_ = row >= 0 && row < GetCount() ? row : -1;
    if (current_ >= 0) {
        QScrollBar* bar = verticalScrollBar();
        const int top = current_ * kRowHeight;
        if (top < bar->value()) bar->setValue(top);
        else if (top + kRowHeight > bar->value() + viewport()->height())
            bar->setValue(top + kRowHeight - viewport()->height());
    }
    viewport()->update();
}

bool CLayerListBox::GetCheck(int row) const {
    return row >= 0 && row < GetCount() && rows_[size_t(row)].checked;
}

void CLayerListBox::SetCheck(int row, bool checked) {
    if (row < 0 || row >= GetCount()) return;
    rows_[size_t(row)].checked = checked;
    viewport()->update(RowRect(row));
}

QRect CLayerListBox::RowRect(int row) const {
    return {0, row * kRowHeight - verticalScrollBar()->value(), viewport()->width(), kRowHeight};
}

QRect CLayerListBox::ItemRect(int row) const { return RowRect(row).adjusted(kCheckWidth, 0, 0, 0); }

QRect CLayerListBox::CheckRect(int row) const {
    const QRect r = RowRect(row);
    return {r.left() + 2, r.top() + (kRowHeight - 13) / 2, 13, 13};
}

int CLayerListBox::RowAt(QPoint point) const {
    if (point.y() < 0) return -1;
    const int row = (point.y() + verticalScrollBar()->value()) / kRowHeight;
    return row < GetCount() ? row : -1;
}

std::pair<int, int> CLayerListBox::VisibleRows() const {
    const int top = verticalScrollBar()->value();
    const int first = top / kRowHeight;
    const int last = std::min(GetCount() - 1, (top + viewport()->height() - 1) / kRowHeight);
    return {first, last};
}

void CLayerListBox::updateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(std::max(1, viewport()->height()));
    bar->setRange(0, std::max(0, GetCount() * kRowHeight - viewport()->height()));
}

void CLayerListBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void CLayerListBox::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const auto [first, last] = VisibleRows();
    for (int row = first; row <= last; ++row) {
        const QRect rowRect = RowRect(row);
        if (!rowRect.intersects(event->rect())) continue;
        QStyleOptionButton check;
        check.initFrom(this);
        check.rect = CheckRect(row);
        check.state |= rows_[size_t(row)].checked ? QStyle::State_On : QStyle::State_Off;
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &check, &painter, this);
        if (draw_) {
            painter.save();
            draw_(painter, row, ItemRect(row), row == current_);
            painter.restore();
        }
    }
}

void CLayerListBox::choose(int row, bool toggle, Qt::KeyboardModifiers modifiers) {
    if (row < 0 || row >= GetCount()) return;
    if (toggle) rows_[size_t(row)].checked = !rows_[size_t(row)].checked;
    SetCurSel(row);
    if (selChange_) selChange_(row, toggle, modifiers);
}

void CLayerListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    const int row = RowAt(p);
    if (row < 0) return;
    choose(row, p.x() < kCheckWidth, event->modifiers());
}

void CLayerListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int row = RowAt(event->position().toPoint());
    if (row >= 0 && doubleClick_) doubleClick_(row);
}

void CLayerListBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        if (current_ > 0) choose(current_ - 1, false, event->modifiers());
        break;
    case Qt::Key_Down:
        if (current_ + 1 < GetCount()) choose(current_ + 1, false, event->modifiers());
        break;
    case Qt::Key_Space:
        if (current_ >= 0) choose(current_, true, event->modifiers());
        break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
}
