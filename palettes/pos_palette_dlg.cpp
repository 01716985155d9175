#include "palettes/pos_palette_dlg.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "document/pelmark_doc.h"
#include "palettes/palette_host.h"
#include "palettes/palette_position.h"
#include "plugin_api/plugin_messages.h"
#include "view/pelmark_view.h"

namespace {

// Control 1169: an owner-drawn area that passes its paint and mouse to the
// palette.
class PosThumbnail : public QWidget {
public:
    explicit PosThumbnail(CPosPaletteDlg* palette) : QWidget(palette), palette_(palette) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        palette_->PaintThumbnail(painter);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) palette_->OnThumbPress(event->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        palette_->OnThumbMove(event->position().toPoint(), event->buttons() & Qt::LeftButton);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) palette_->OnThumbRelease(event->position().toPoint());
    }

private:
    CPosPaletteDlg* palette_;
};

bool Contains(const DibRect& r, const QPoint& p, int margin) {
    return p.x() >= r.left && p.x() < r.right + margin && p.y() >= r.top && p.y() < r.bottom + margin;
}

}  // namespace

CPosPaletteDlg::CPosPaletteDlg()
    : PaletteDialog(kTemplateId, QStringLiteral("位置"), QStringLiteral("PosPalettePos"), 4,
                    QSize(200, 234)) {
    setObjectName(QStringLiteral("PosPalette"));
    m_pThumbnail = new PosThumbnail(this);
    RegisterControl(kThumbnailId, m_pThumbnail);
    setFixedSize(200, 234);
    placeThumbnail();
}

CPosPaletteDlg::~CPosPaletteDlg() = default;

bool& CPosPaletteDlg::Dragging() {
    static bool dragging = false;
    return dragging;
}

void CPosPaletteDlg::placeThumbnail() {
    m_pThumbnail->setGeometry(4, 16, std::max(0, width() - 16), std::max(0, height() - 48));
    m_rcThumb = {0, 0, m_pThumbnail->width(), m_pThumbnail->height()};
}

void CPosPaletteDlg::resizeEvent(QResizeEvent* event) {
    PaletteDialog::resizeEvent(event);
    placeThumbnail();
}

void CPosPaletteDlg::FitToImage(int width, int height, bool force) {
    const pospal::Size size = pospal::FitWindowSize(width, height);
    if (!force && size == m_szFit && this->size() == QSize(size.width, size.height)) return;
    m_szFit = size;
    QScreen* screen = this->screen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const QRect placed = ClampToScreen(QRect(pos(), QSize(size.width, size.height)), area);
    m_ptWindow = placed.topLeft();
    move(m_ptWindow);
    setFixedSize(size.width, size.height);
    placeThumbnail();
}

CPelmarkView* CPosPaletteDlg::activeCanvas() const {
    PaletteHost* host = PaletteHost::Of(parentWidget());
    return host ? dynamic_cast<CPelmarkView*>(host->ActiveView()) : nullptr;
}

void CPosPaletteDlg::UpdateViewRect(int x, int y, bool fromDocument) {
    placeThumbnail();
    if (!m_pDoc) {
        m_rcView = {};
        m_rcCanvas = {0, 0, 1, 1};
        m_pThumbnail->update();
        return;
    }
    CPelmarkView* view = activeCanvas();
    if (view) view->StoreViewState();
    const document::DocViewState& state = m_pDoc->m_ViewState;
    const int zoom = state.zoom > 0 ? state.zoom : 1;
    // The rulers are strips of the child frame beside the view, not part
    // of the view's area: the canvas is the image alone.
    pospal::ViewPlace place;
    place.canvasWidth = m_pDoc->m_nWidth * zoom;
    place.canvasHeight = m_pDoc->m_nHeight * zoom;
    place.windowWidth = state.windowWidth;
    place.windowHeight = state.windowHeight;
    place.scrollX = state.scrollX;
    place.scrollY = state.scrollY;
    place.scaleX = state.zoom;
    place.scaleY = state.zoom2;
    m_rcCanvas = {0, 0, std::max(1, place.canvasWidth), std::max(1, place.canvasHeight)};
    m_rcView = pospal::ViewRectangle(m_rcThumb.right, m_rcThumb.bottom, place, x, y, fromDocument);
    m_pThumbnail->update();
    if (PaletteHost* host = PaletteHost::Of(parentWidget())) host->StorePositionState(m_pDoc);
}

document::PosPaletteState CPosPaletteDlg::State() const {
    document::PosPaletteState s;
    s.kept = true;
    s.thumbnail = m_rcThumb;
    s.canvas = m_rcCanvas;
    s.viewRect = m_rcView;
    s.dragX = m_ptDragStart.x();
    s.dragY = m_ptDragStart.y();
    s.dragLeft = m_ptDragOrigin.x();
    s.dragTop = m_ptDragOrigin.y();
    s.windowLeft = m_ptWindow.x();
    s.windowTop = m_ptWindow.y();
    s.fitWidth = m_szFit.width;
    s.fitHeight = m_szFit.height;
    return s;
}

void CPosPaletteDlg::LoadState(const document::PosPaletteState& s) {
    if (!s.kept) return;
    // The thumbnail follows the window; only the values computed on it come back.
    m_rcCanvas = s.canvas;
    m_rcView = s.viewRect;
    m_ptDragStart = {s.dragX, s.dragY};
    m_ptDragOrigin = {s.dragLeft, s.dragTop};
    m_ptWindow = {s.windowLeft, s.windowTop};
    m_szFit = {s.fitWidth, s.fitHeight};
    m_pThumbnail->update();
}

void CPosPaletteDlg::OnThumbPress(const QPoint& point) {
    if (Contains(m_rcView, point, kGrabMargin)) {
        Dragging() = true;
        m_ptDragStart = point;
        m_ptDragOrigin = {m_rcView.left, m_rcView.top};
        m_ptLastMove = point;
    }
    m_bCaptured = true;
}

void CPosPaletteDlg::OnThumbMove(const QPoint& point, bool leftDown) {
    if (!m_bCaptured) return;
    if (!leftDown) {
        Dragging() = false;
        return;
    }
    if (!Dragging() || !Contains(m_rcThumb, point, kGrabMargin)) return;
    if (CPelmarkView* view = activeCanvas()) view->StoreViewState();
    if (point == m_ptLastMove) return;
    m_ptLastMove = point;
    const QPoint origin = m_ptDragOrigin + (point - m_ptDragStart);
    UpdateViewRect(origin.x(), origin.y(), false);
}

void CPosPaletteDlg::OnThumbRelease(const QPoint&) {
    if (!m_bCaptured) return;
    Dragging() = false;
    m_bCaptured = false;
    const int width = std::max(1, int(m_rcThumb.right));
    const int height = std::max(1, int(m_rcThumb.bottom));
    const int x = pospal::CanvasOffset(m_rcCanvas.right, m_rcView.left, width);
    const int y = pospal::CanvasOffset(m_rcCanvas.bottom, m_rcView.top, height);
    if (PaletteHost* host = PaletteHost::Of(parentWidget())) host->ScrollActiveView(x, y);
}

void CPosPaletteDlg::PaintThumbnail(QPainter& painter) const {
    const QRect all(0, 0, m_rcThumb.right, m_rcThumb.bottom);
    painter.fillRect(all, Qt::white);
    auto frame = [&painter](const QRect& r, const QColor& color) {
        if (r.width() <= 0 || r.height() <= 0) return;
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
        painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
    };
    frame(all.adjusted(1, 1, -1, -1), Qt::black);
    const QRect view(QPoint(m_rcView.left, m_rcView.top), QPoint(m_rcView.right - 1, m_rcView.bottom - 1));
    frame(view, QColor(255, 0, 0));
}

WinResult CPosPaletteDlg::OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) {
    // The captions of the tool windows stay as they are under Qt.
    if (message == WM_KEEP_LAYER_CAPTION || message == WM_KEEP_POS_CAPTION) return 0;
    return PaletteDialog::OnWindowMessage(message, wparam, lparam);
}
