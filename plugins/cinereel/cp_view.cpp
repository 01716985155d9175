#include "plugins/cinereel/cp_view.h"

#include <algorithm>

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "plugins/cinereel/ca_sheet.h"
#include "plugins/cinereel/cinereel_messages.h"

namespace {

constexpr int kMaxSurface = 1024;
constexpr int kTileSource = 128;

QVector<QRgb> SheetColors(const CaSheet& sheet) {
    QVector<QRgb> colors(256);
    for (int i = 0; i < 256; ++i) colors[i] = sheet.m_Palette.Shown(i);
    return colors;
}

}  // namespace

bool CpDirectDraw::SurfaceRefused() { return qEnvironmentVariableIntValue("KAVOLT_PREVIEW_TILES") == 1; }

bool CpDirectDraw::Init(int imageWidth, int imageHeight) {
    Release();
    m_nSurfaceWidth = std::clamp(imageWidth, 0, kMaxSurface);
    m_nSurfaceHeight = std::clamp(imageHeight, 0, kMaxSurface);
    if (SurfaceRefused() || m_nSurfaceWidth == 0 || m_nSurfaceHeight == 0) return false;
    m_Surface = QImage(m_nSurfaceWidth, m_nSurfaceHeight, QImage::Format_Indexed8);
    m_bReady = !m_Surface.isNull();
    return m_bReady;
}

void CpDirectDraw::Release() {
    m_Surface = QImage();
    m_bReady = false;
}

CpView::CpView(QWidget* parent) : QAbstractScrollArea(parent), MessageWindow(this) {
    setObjectName(QStringLiteral("CpView"));
    setFrameShape(QFrame::NoFrame);
    publish();
}

void CpView::SetSheet(CaSheet* sheet) {
    m_pSheet = sheet;
    if (!sheet) {
        StopTimer();
        m_Order = {};
    }
}

void CpView::InitRenderer() {
    if (m_pSheet) m_DirectDraw.Init(m_pSheet->m_nWidth, m_pSheet->m_nHeight);
    else m_DirectDraw.Release();
}

void CpView::Recount() {
    const int oldW = m_Order.width, oldH = m_Order.height;
    m_Order = m_pSheet ? cinereel::Recount(m_pSheet->m_Frames) : cinereel::PlayOrder{};
    if (m_Order.width != oldW || m_Order.height != oldH) {
        m_DirectDraw.m_nFrameWidth = m_Order.width;
        m_DirectDraw.m_nFrameHeight = m_Order.height;
        updateScrollBars();
    }
}

QSize CpView::ScrollSize() const {
    const QSize client = viewport()->size();
    return {std::max(client.width(), m_nZoom * m_Order.width), std::max(client.height(), m_nZoom * m_Order.height)};
}

QPoint CpView::Origin() const {
    const QSize s = ScrollSize();
    return {(s.width() - m_Order.width * m_nZoom) / 2 - horizontalScrollBar()->value(),
            (s.height() - m_Order.height * m_nZoom) / 2 - verticalScrollBar()->value()};
}

void CpView::updateScrollBars() {
    const QSize s = ScrollSize(), client = viewport()->size();
    horizontalScrollBar()->setRange(0, s.width() - client.width());
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setRange(0, s.height() - client.height());
    verticalScrollBar()->setPageStep(client.height());
}

void CpView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void CpView::scrollContentsBy(int, int) { viewport()->update(); }

void CpView::publish() {
    setProperty("playMode", m_nPlayMode);
    setProperty("position", m_nPos);
    setProperty("shown", m_nShown);
    setProperty("timer", m_nTimerMs);
    setProperty("zoom", m_nZoom);
}

void CpView::setTimer1(int ms) {
    m_nTimerMs = std::max(ms, 0);
    SetTimer(1, m_nTimerMs);
    publish();
}

void CpView::StopTimer() {
    KillTimer(1);
    m_nTimerMs = -1;
    publish();
}

void CpView::StartMode(int mode) {
    StopTimer();
    m_nPlayMode = mode;
    setTimer1(0);
}

void CpView::show(int position) {
    m_nShown = position;
    publish();
    viewport()->update();
}

void CpView::Step() {
    Recount();
    const int n = Count();
    if (n == 0) return;
    m_nPos = ((m_nPos % n) + n) % n;
    show(m_nPos);
    if (n < 2) return;
    const int d = m_pSheet->m_Frames[m_Order.frames[size_t(m_nPos)]].delay;
    switch (m_nPlayMode) {
    case 0: ++m_nPos; setTimer1(d); break;
    case 1: --m_nPos; break;
    case 2: ++m_nPos; break;
    case 10: --m_nPos; setTimer1(d / 2); break;
    case 11: ++m_nPos; setTimer1(d / 2); break;
    case -1: m_nPos = 0; break;
    default: break;
    }
    m_nPos = ((m_nPos % n) + n) % n;
    publish();
}

void CpView::StepBy(int delta) {
    Recount();
    const int n = Count();
    if (n == 0) return;
    m_nPos = (((m_nPos + delta) % n) + n) % n;
    show(m_nPos);
}

void CpView::ResetToStart() {
    m_nPos = 0;
    StartMode(-1);
}

void CpView::SelectFrame(int index) {
    if (m_nPlayMode != -1 && m_nPlayMode != 3) return;
    Recount();
    auto at = std::find(m_Order.frames.begin(), m_Order.frames.end(), index);
    if (at == m_Order.frames.end()) return;
    m_nPos = int(at - m_Order.frames.begin());
    show(m_nPos);
}

void CpView::OnTimer(int id) {
    if (id != 1) return;
    StopTimer();
    Step();
}

WinResult CpView::OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) {
    switch (message) {
    case WM_ANIM_PREVIEWZOOM:
        if (IsSheetZoom(int(wparam)) && int(wparam) != m_nZoom) {
            m_nZoom = int(wparam);
            updateScrollBars();
            publish();
        }
        viewport()->update();
        return 1;
    case WM_TIMER_MESSAGE:
        if (wparam == 1) OnTimer(1);
        return 1;
    default: return MessageWindow::OnWindowMessage(message, wparam, lparam);
    }
}

void CpView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), Qt::white);
    Recount();
    const int n = Count(), W = m_Order.width, H = m_Order.height, z = m_nZoom;
    if (!m_pSheet || n == 0 || W <= 0 || H <= 0) return;
    const CaSheet& sheet = *m_pSheet;
    const SheetFrame& f = sheet.m_Frames[m_Order.frames[size_t(((m_nShown % n) + n) % n)]];
    const cinereel::Offset at = cinereel::PlaceFrame(sheet.m_nBasePos, W, H, f.right - f.left, f.bottom - f.top);
    const QPoint origin = Origin();
    const QVector<QRgb> colors = SheetColors(sheet);
    if (m_DirectDraw.Ready()) {
        // The largest frame's area of the surface, cut at the surface's size.
        QImage& surface = m_DirectDraw.Surface();
        const int aw = std::min(W, surface.width()), ah = std::min(H, surface.height());
        for (int y = 0; y < ah; ++y) std::fill_n(surface.scanLine(y), aw, uint8_t(0));
        sheet.WithLayer0([&](const uint8_t* bits) {
            cinereel::CopyFrame(bits, sheet.m_nStride, sheet.m_nWidth, sheet.m_nHeight, f, surface.bits(),
                                int(surface.bytesPerLine()), aw, ah, at.x, at.y);
        });
        QImage area = surface.copy(0, 0, aw, ah);
        area.setColorTable(colors);
        p.drawImage(QRect(origin, QSize(aw * z, ah * z)), area);
        return;
    }
    QImage block(W, H, QImage::Format_Indexed8);
    if (block.isNull()) return;
    block.fill(0);
    sheet.WithLayer0([&](const uint8_t* bits) {
        cinereel::CopyFrame(bits, sheet.m_nStride, sheet.m_nWidth, sheet.m_nHeight, f, block.bits(),
                            int(block.bytesPerLine()), W, H, at.x, at.y);
    });
    block.setColorTable(colors);
    const int tile = std::max(1, kTileSource / z);
    for (int ty = 0; ty < H; ty += tile)
        for (int tx = 0; tx < W; tx += tile) {
            const int tw = std::min(tile, W - tx), th = std::min(tile, H - ty);
            p.drawImage(QRect(origin.x() + tx * z, origin.y() + ty * z, tw * z, th * z),
                        block.copy(tx, ty, tw, th));
        }
}
