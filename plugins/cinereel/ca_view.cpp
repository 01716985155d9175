#include "plugins/cinereel/ca_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "plugins/cinereel/ca_sheet.h"
#include "plugins/cinereel/ca_wnd.h"
#include "plugins/cinereel/cinereel_messages.h"
#include "plugins/cinereel/digit_pictures.h"

namespace {

constexpr int kTileSource = 512;
// Cells this small on the screen get no grid and no numbers.
constexpr int kSmallestGridCell = 15;

}  // namespace

CaView::CaView(CaWnd* owner, QWidget* parent)
    : QAbstractScrollArea(parent), MessageWindow(this), owner_(owner) {
    setObjectName(QStringLiteral("CaView"));
    viewport()->setAutoFillBackground(false);
    horizontalScrollBar()->setSingleStep(16);
    verticalScrollBar()->setSingleStep(16);
}

void CaView::SetSheet(CaSheet* sheet) {
    sheet_ = sheet;
    UpdateScrollSize();
}

void CaView::UpdateScrollSize() {
    int w = sheet_ ? sheet_->m_nWidth * m_nZoom : 0;
    int h = sheet_ ? sheet_->m_nHeight * m_nZoom : 0;
    QSize page = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, w - page.width()));
    horizontalScrollBar()->setPageStep(page.width());
    verticalScrollBar()->setRange(0, std::max(0, h - page.height()));
    verticalScrollBar()->setPageStep(page.height());
    viewport()->update();
}

void CaView::SetMode(int mode) {
    m_nMode = mode;
    viewport()->update();
}

void CaView::SetCellRect(int width, int height) {
    m_rcCell = QRect(0, 0, width, height);
    viewport()->update();
}

void CaView::SetRange(const cinereel::RangeFields& range) {
    m_Range = cinereel::MoveRange::From(range);
    viewport()->update();
}

std::optional<SheetFrame> CaView::SelectedCellFrame() const {
    if (m_nSelRow < 0 || m_nSelCol < 0) return std::nullopt;
    int cw = m_rcCell.width(), ch = m_rcCell.height();
    return SheetFrame{m_nSelCol * cw, m_nSelRow * ch, (m_nSelCol + 1) * cw, (m_nSelRow + 1) * ch, 0, 0};
}

QPoint CaView::ToImage(const QPoint& client) const {
    return {(client.x() + horizontalScrollBar()->value()) / m_nZoom,
            (client.y() + verticalScrollBar()->value()) / m_nZoom};
}

void CaView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollSize();
}

void CaView::scrollContentsBy(int, int) { viewport()->update(); }

WinResult CaView::OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) {
    if (message == WM_ANIM_ZOOM) {
        int zoom = int(wparam);
        if (!IsSheetZoom(zoom)) return 0;
        m_nZoom = zoom;
        UpdateScrollSize();
        return 1;
    }
    return MessageWindow::OnWindowMessage(message, wparam, lparam);
}

void CaView::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    p.fillRect(event->rect(), Qt::white);
    if (!sheet_) return;
    paintLayer(p, event->rect());
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    if (m_nMode == 0) paintCells(p);
    else paintRange(p);
}

void CaView::paintLayer(QPainter& p, const QRect& exposed) {
    const int w = sheet_->m_nWidth, h = sheet_->m_nHeight, z = m_nZoom;
    const int sx = horizontalScrollBar()->value(), sy = verticalScrollBar()->value();
    const int tile = std::max(1, kTileSource / z);
    QVector<QRgb> colors(256, qRgb(0, 0, 0));
    for (int i = 0; i < 256; ++i) colors[i] = sheet_->m_Palette.Shown(i);
    sheet_->WithLayer0([&](const uint8_t* bits) {
        // The rows lie bottom-up: the wrapped image is the picture upside down.
        QImage rows(bits, w, h, sheet_->m_nStride, QImage::Format_Indexed8);
        rows.setColorTable(colors);
        for (int ty = 0; ty < h; ty += tile) {
            for (int tx = 0; tx < w; tx += tile) {
                int tw = std::min(tile, w - tx), th = std::min(tile, h - ty);
                QRect target(tx * z - sx, ty * z - sy, tw * z, th * z);
                if (!target.intersects(exposed)) continue;
                QImage piece = rows.copy(tx, h - ty - th, tw, th).mirrored(false, true);
                p.drawImage(target, piece);
            }
        }
    });
}

void CaView::invertRect(QPainter& p, const QRect& r) { p.fillRect(r, Qt::white); }

void CaView::outlineRect(QPainter& p, const QRect& r) {
    if (r.width() <= 0 || r.height() <= 0) return;
    invertRect(p, QRect(r.left(), r.top(), r.width(), 1));
    if (r.height() > 1) invertRect(p, QRect(r.left(), r.bottom(), r.width(), 1));
    if (r.height() > 2) {
        invertRect(p, QRect(r.left(), r.top() + 1, 1, r.height() - 2));
        if (r.width() > 1) invertRect(p, QRect(r.right(), r.top() + 1, 1, r.height() - 2));
    }
}

void CaView::paintCells(QPainter& p) {
    const int cw = m_rcCell.width(), ch = m_rcCell.height(), z = m_nZoom;
    if (cw <= 0 || ch <= 0) return;
    const int sx = horizontalScrollBar()->value(), sy = verticalScrollBar()->value();
    const int columns = sheet_->m_nWidth / cw, rows = sheet_->m_nHeight / ch;
    auto screen = [&](int column, int row) {
        return QRect(column * cw * z - sx, row * ch * z - sy, cw * z, ch * z);
    };
    if (cw * z > kSmallestGridCell && ch * z > kSmallestGridCell) {
        const QRect view = viewport()->rect();
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                QRect cell = screen(column, row);
                if (!cell.intersects(view)) continue;
                outlineRect(p, cell);
                int number = (row * columns + column) % 10000;
                std::string digits = std::to_string(number);
                int x = cell.left() + 1;
                for (char c : digits) {
                    int d = c - '0';
                    for (int yy = 0; yy < cinereel::kDigitBlockHeight; ++yy)
                        for (int xx = 0; xx <= cinereel::kDigitWidths[d]; ++xx)
                            if (cinereel::DigitPixel(d, xx, yy))
                                invertRect(p, QRect(x + xx, cell.top() + 1 + yy, 1, 1));
                    x += cinereel::kDigitWidths[d] + 1;
                }
            }
        }
    }
    if (m_nSelRow >= 0 && m_nSelCol >= 0 && m_nSelRow < rows && m_nSelCol < columns)
        invertRect(p, screen(m_nSelCol, m_nSelRow));
}

void CaView::paintRange(QPainter& p) {
    cinereel::RangeFields r = m_Range.Normalised();
    if (r.width == 0 || r.height == 0) return;
    const int z = m_nZoom;
    outlineRect(p, QRect(r.x * z - horizontalScrollBar()->value(), r.y * z - verticalScrollBar()->value(),
                         r.width * z, r.height * z));
}

std::optional<cinereel::Cell> CaView::cellAt(const QPoint& client) const {
    if (!sheet_) return std::nullopt;
    QPoint at = ToImage(client);
    return cinereel::CellAt(at.x(), at.y(), sheet_->m_nWidth, sheet_->m_nHeight, m_rcCell.width(),
                            m_rcCell.height());
}

void CaView::cellChanged(const cinereel::Cell& cell) {
    // Each further cell of a drag goes into the next row.
    if (m_bCellRegistered) owner_->SelectNextRow(true);
    m_nSelCol = cell.column;
    m_nSelRow = cell.row;
    owner_->RegisterFrames(true);
    m_bCellRegistered = true;
    viewport()->update();
}

void CaView::rangeChanged() {
    owner_->ShowRange(m_Range.Normalised());
    viewport()->update();
}

void CaView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !sheet_) return;
    if (m_nMode == 0) {
        m_bCellDrag = true;
        m_bCellRegistered = false;
        if (auto cell = cellAt(event->position().toPoint())) cellChanged(*cell);
        return;
    }
    QPoint at = ToImage(event->position().toPoint());
    m_Drag.Press(m_Range, at.x(), at.y(), sheet_->m_nWidth, sheet_->m_nHeight);
    rangeChanged();
}

void CaView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || !sheet_) return;
    if (m_nMode == 0) {
        if (!m_bCellDrag) return;
        auto cell = cellAt(event->position().toPoint());
        if (cell && (cell->column != m_nSelCol || cell->row != m_nSelRow || !m_bCellRegistered))
            cellChanged(*cell);
        return;
    }
    if (!m_Drag.Dragging()) return;
    QPoint at = ToImage(event->position().toPoint());
    m_Drag.Move(m_Range, at.x(), at.y(), sheet_->m_nWidth, sheet_->m_nHeight);
    rangeChanged();
}

void CaView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !sheet_) return;
    if (m_nMode == 0) {
        if (!m_bCellDrag) return;
        m_bCellDrag = false;
        auto cell = cellAt(event->position().toPoint());
        if (!cell) return;
        if (cell->column != m_nSelCol || cell->row != m_nSelRow || !m_bCellRegistered) cellChanged(*cell);
        owner_->RegisterFrames(true);
        owner_->SelectNextRow(true);
        return;
    }
    if (!m_Drag.Dragging()) return;
    QPoint at = ToImage(event->position().toPoint());
    m_Drag.Release(m_Range, at.x(), at.y(), sheet_->m_nWidth, sheet_->m_nHeight);
    rangeChanged();
}
