#include "plugins/gradate/palette_swatch.h"

#include <QPainter>

#include "platform/message_box.h"
#include "plugins/kit/kit_dib.h"

CPaletteSwatch::CPaletteSwatch(QWidget* parent) : QPushButton(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);  // no background erasing
}

void CPaletteSwatch::SetIndex(int index) {
    if (index == m_nIndex) return;
    m_nIndex = index;
    update();
}

void CPaletteSwatch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    LogicalPalette palette;
    if (!CreateDibPalette(m_hDib, &palette)) {
        if (!m_bToldNoPalette) {
            m_bToldNoPalette = true;
            // Told after the paint: a modal box inside a paint event would
            // end this painter under it.
            QMetaObject::invokeMethod(
                this, [] { ShowMessageBox(nullptr, "palette ", "error", MB_BTN_OK); }, Qt::QueuedConnection);
        }
        return;
    }
    p.fillRect(rect().adjusted(1, 1, -1, -1), QColor::fromRgb(palette.Shown(m_nIndex)));
}
