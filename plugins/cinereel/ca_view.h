// The sheet view: layer 0 of the document at a zoom, with the cell grid and
// numbers (frame setting) or the move range (move range) drawn over it by
// inverting, and the mouse that picks cells or drags the range.
#pragma once

#include <optional>

#include <QAbstractScrollArea>
#include <QRect>

#include "framework/window_handle.h"
#include "plugins/cinereel/sheet_frame.h"

class CaSheet;
class CaWnd;

class CaView : public QAbstractScrollArea, public framework::MessageWindow {
    Q_OBJECT
public:
    CaView(CaWnd* owner, QWidget* parent);

    void SetSheet(CaSheet* sheet);
    // Image size changed: scroll size follows.
    void UpdateScrollSize();

    void SetMode(int mode);
    int Mode() const { return m_nMode; }
    void SetCellRect(int width, int height);
    void SetRange(const cinereel::RangeFields& range);
    cinereel::RangeFields Range() const { return m_Range.Normalised(); }
    int Zoom() const { return m_nZoom; }
    // The selected cell's rectangle in image pixels, or nothing.
    std::optional<SheetFrame> SelectedCellFrame() const;

    // Pointer (viewport position) to image pixels.
    QPoint ToImage(const QPoint& client) const;

protected:
    WinResult OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Painted from state: a scroll repaints.
    void scrollContentsBy(int dx, int dy) override;

private:
    void paintLayer(class QPainter& p, const QRect& exposed);
    void paintCells(class QPainter& p);
    void paintRange(class QPainter& p);
    void invertRect(class QPainter& p, const QRect& r);
    void outlineRect(class QPainter& p, const QRect& r);
    std::optional<cinereel::Cell> cellAt(const QPoint& client) const;
    void cellChanged(const cinereel::Cell& cell);
    void rangeChanged();

    CaWnd* owner_;
    CaSheet* sheet_ = nullptr;
    int m_nZoom = 1;
    int m_nMode = 0;
    int m_nSelRow = -1;
    int m_nSelCol = -1;
    QRect m_rcCell;
    cinereel::MoveRange m_Range;
    cinereel::RangeDrag m_Drag;
    bool m_bCellDrag = false;
    bool m_bCellRegistered = false;
};
