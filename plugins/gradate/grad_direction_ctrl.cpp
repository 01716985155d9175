#include "plugins/gradate/grad_direction_ctrl.h"

#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "imaging/dib_geometry.h"
#include "plugins/kit/kit_dib.h"

CGradDirectionCtrl::CGradDirectionCtrl(QWidget* parent) : QPushButton(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void CGradDirectionCtrl::Attach(MemHandle image, WinHandle notify) {
    m_hDib = image;
    m_hNotify = notify;
    update();
}

void CGradDirectionCtrl::SetIndexes(int startIndex, int endIndex) {
    m_nStartIndex = startIndex;
    m_nEndIndex = endIndex;
}

void CGradDirectionCtrl::SetPoints(float startX, float startY, float endX, float endY) {
    m_fStartX = startX;
    m_fStartY = startY;
    m_fEndX = endX;
    m_fEndY = endY;
    PlacePoints();
}

void CGradDirectionCtrl::SetView(float scale, float originX, float originY) {
    if (scale > 0) m_fScale = scale;
    m_fOriginX = originX;
    m_fOriginY = originY;
    PlacePoints();
}

void CGradDirectionCtrl::Zoom(float scale) {
    if (!(scale > 0)) return;
    const float halfW = float(width()) / 2, halfH = float(height()) / 2;
    const float centreX = halfW * m_fScale + m_fOriginX;
    const float centreY = m_fScale * (float(height()) - halfH) + m_fOriginY;
    m_fScale = scale;
    m_fOriginX = centreX - halfW * scale;
    m_fOriginY = centreY - scale * (float(height()) - halfH);
    PlacePoints();
}

QPoint CGradDirectionCtrl::ToControl(float x, float y) const {
    return QPoint(int(std::lround((x - m_fOriginX) / m_fScale)),
                  int(std::lround(float(height()) - (y - m_fOriginY) / m_fScale)));
}

void CGradDirectionCtrl::ToImage(QPoint p, float* x, float* y) const {
    *x = float(p.x()) * m_fScale + m_fOriginX;
    *y = m_fScale * float(height() - p.y()) + m_fOriginY;
}

void CGradDirectionCtrl::PlacePoints() {
    m_rcClient = rect();
    m_ptStart = ToControl(m_fStartX, m_fStartY);
    m_ptEnd = ToControl(m_fEndX, m_fEndY);
    int imageW = 0, imageH = 0;
    if (m_hDib) {
        dib::LockedDib image(m_hDib);
        if (image) {
            imageW = image.geo().width;
            imageH = image.geo().height;
        }
    }
    // The picture's top-left is image (0, imageH): bottom-up rows.
    const QPoint topLeft = ToControl(0, float(imageH));
    const QPoint bottomRight = ToControl(float(imageW), 0);
    m_rcPicture = QRect(topLeft, bottomRight - QPoint(1, 1));
    update();
}

void CGradDirectionCtrl::paintEvent(QPaintEvent*) {
    if (m_rcClient != rect()) PlacePoints();
    QPainter p(this);
    p.fillRect(rect(), QColor(0x80, 0x80, 0x80));
    if (m_hDib) {
        CreateDibPalette(m_hDib, &m_palette);
        dib::LockedDib image(m_hDib);
        const DibRect whole{0, 0, image ? image.geo().width : 0, image ? image.geo().height : 0};
        if (image && !m_rcPicture.isEmpty()) {
            p.save();
            p.setClipRect(rect());
            PaintDib(&p, m_rcPicture, m_hDib, whole, &m_palette);
            p.restore();
        }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.drawLine(m_ptStart, m_ptEnd);
    for (auto [point, index] : {std::pair{m_ptStart, m_nStartIndex}, std::pair{m_ptEnd, m_nEndIndex}}) {
        p.setBrush(QColor::fromRgb(m_palette.Shown(index)));
        p.drawEllipse(point, m_nRadius, m_nRadius);
    }
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CGradDirectionCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    auto near = [&](QPoint point) {
        const QPoint d = at - point;
        return d.x() * d.x() + d.y() * d.y() <= m_nRadius * m_nRadius;
    };
    m_bCapture = true;
    m_bDragEnd = near(m_ptEnd);
    m_bDragStart = !m_bDragEnd && near(m_ptStart);
    m_ptLast = at;
}

void CGradDirectionCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (!m_bCapture) return;
    const QPoint at = event->position().toPoint();
    const QPoint step = at - m_ptLast;
    m_ptLast = at;
    if (m_bDragEnd) {
        m_ptEnd += step;
    } else if (m_bDragStart) {
        m_ptStart += step;
    } else {
        // The picture follows the mouse; the points stay on their pixels.
        m_fOriginX -= float(step.x()) * m_fScale;
        m_fOriginY += float(step.y()) * m_fScale;
        PlacePoints();
    }
    update();
}

void CGradDirectionCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bCapture) return;
    m_bCapture = false;
    const bool dragged = m_bDragStart || m_bDragEnd;
    m_bDragStart = m_bDragEnd = false;
    if (!dragged) return;
    ToImage(m_ptStart, &m_fStartX, &m_fStartY);
    ToImage(m_ptEnd, &m_fEndX, &m_fEndY);
    m_bMoved = true;
    update();
    WinSendMessage(m_hNotify, kDirectionMessage, 0, 0);
}

void CGradDirectionCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onDoubleClick) onDoubleClick();
}
