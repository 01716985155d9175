// The gradation dialog's direction control (button 5006): the picture at a
// scale and origin of its own, the line between the start and end points and
// a round handle on each, filled with the start and end colours.
//
// Image coordinates are columns and bottom-up rows; a point at image (x, y)
// sits at control ((x - origin x) / scale, height - (y - origin y) / scale).
// Dragging a handle moves that point; dragging elsewhere moves the picture.
// When a handle is let go the points are taken back into image coordinates
// and the dialog gets kDirectionMessage (wParam 0).
#pragma once

#include <cstdint>

#include <QPoint>
#include <QPushButton>
#include <QRect>

#include "imaging/logical_palette.h"
#include "platform/memory.h"
#include "platform/window.h"

class CGradDirectionCtrl : public QPushButton {
    Q_OBJECT
    // Read by tests and by the dialog.
    Q_PROPERTY(double scale READ Scale)
    Q_PROPERTY(double originX READ OriginX)
    Q_PROPERTY(double originY READ OriginY)
    Q_PROPERTY(double startX READ StartX)
    Q_PROPERTY(double startY READ StartY)
    Q_PROPERTY(double endX READ EndX)
    Q_PROPERTY(double endY READ EndY)
    Q_PROPERTY(QPoint startPoint READ StartPoint)
    Q_PROPERTY(QPoint endPoint READ EndPoint)
    Q_PROPERTY(bool moved READ Moved)

public:
    static constexpr uint32_t kDirectionMessage = 0x464;

    explicit CGradDirectionCtrl(QWidget* parent);

    // The picture shown and its palette (remade at every paint); the window
    // told when a point was dragged.
    void Attach(MemHandle image, WinHandle notify);
    void SetIndexes(int startIndex, int endIndex);
    // Image coordinates of both points.
    void SetPoints(float startX, float startY, float endX, float endY);
    // Scale and origin as they are, the points placed afresh.
    void SetView(float scale, float originX, float originY);
    // A new scale around the image point at the middle of the control.
    void Zoom(float scale);
    void ClearMoved() { m_bMoved = false; }

    double Scale() const { return m_fScale; }
    double OriginX() const { return m_fOriginX; }
    double OriginY() const { return m_fOriginY; }
    double StartX() const { return m_fStartX; }
    double StartY() const { return m_fStartY; }
    double EndX() const { return m_fEndX; }
    double EndY() const { return m_fEndY; }
    QPoint StartPoint() const { return m_ptStart; }
    QPoint EndPoint() const { return m_ptEnd; }
    bool Moved() const { return m_bMoved; }

    // Double-clicks, for the dialog.
    std::function<void()> onDoubleClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Image points and picture rectangle into control coordinates.
    void PlacePoints();
    QPoint ToControl(float x, float y) const;
    void ToImage(QPoint p, float* x, float* y) const;

    MemHandle m_hDib = nullptr;
    LogicalPalette m_palette;
    QRect m_rcClient;
    QRect m_rcPicture;
    float m_fScale = 1;  // image pixels per control pixel
    float m_fOriginX = 0, m_fOriginY = 0;
    float m_fStartX = 0, m_fStartY = 0, m_fEndX = 0, m_fEndY = 0;
    QPoint m_ptStart, m_ptEnd;
    int m_nRadius = 5;
    int m_nStartIndex = 0, m_nEndIndex = 0;
    bool m_bDragStart = false, m_bDragEnd = false;
    QPoint m_ptLast;
    bool m_bMoved = false;

    bool m_bCapture = false;
    WinHandle m_hNotify = nullptr;
};
