#include "view/ruler_ctrl.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

namespace {

// The dialog base units of a font: the average width of the Latin letters
// and the line height.
QSize BaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int average = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    return {average, metrics.height()};
}

}  // namespace

CRulerCtrl::CRulerCtrl(view::RulerOrientation orientation, QWidget* parent)
    : QWidget(parent), m_nOrientation(orientation) {
    // The paint covers every pixel.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void CRulerCtrl::SetState(int zoom, int scroll) {
    m_nZoom = zoom;
    m_nScroll = scroll;
}

bool CRulerCtrl::Follow(int zoom, int scroll) {
    if (zoom == m_nZoom && scroll == m_nScroll) return false;
    SetState(zoom, scroll);
    return true;
}

view::RulerMarks CRulerCtrl::Marks() const {
    const bool horizontal = m_nOrientation == view::RulerOrientation::Horizontal;
    return view::ComputeRulerMarks(m_nOrientation, m_nZoom, m_nScroll, m_Centre ? m_Centre() : 0,
                                   horizontal ? width() : height());
}

QFont CRulerCtrl::NumberFont(const QFont& interfaceFont) {
    const QString preferred = QStringLiteral("宋体");
    QFont font = QFontDatabase::families().contains(preferred) ? QFont(preferred) : interfaceFont;
    font.setPointSize(9);
    return font;
}

int CRulerCtrl::StripSize(view::RulerOrientation orientation, const QFont& font) {
    const QSize base = BaseUnits(font);
    return orientation == view::RulerOrientation::Horizontal ? (16 * base.height() + 4) / 8
                                                             : (14 * base.width() + 2) / 4;
}

void CRulerCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect client = rect();
    painter.fillRect(client, Qt::white);
    const view::RulerMarks marks = Marks();
    const bool horizontal = m_nOrientation == view::RulerOrientation::Horizontal;
    painter.setPen(Qt::black);
    for (const view::RulerTick& tick : marks.ticks) {
        if (horizontal) painter.drawLine(tick.d, tick.s, tick.d, client.bottom());
        else painter.drawLine(tick.s, tick.d, client.right(), tick.d);
    }
    painter.setFont(font());
    for (const view::RulerLabel& label : marks.labels)
        for (const view::RulerText& text : view::RulerLabelTexts(m_nOrientation, label)) {
            const QRect box(QPoint(text.x, text.y), client.bottomRight());
            painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                             QString::fromStdString(text.text));
        }
}
