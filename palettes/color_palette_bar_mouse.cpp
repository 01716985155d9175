// The colour palette bar's mouse: choosing colours, exchanging entries by
// drag, copying and pasting blocks of entries, editing one entry, moving the
// window by its top pixel row.
#include <algorithm>

#include <QCheckBox>
#include <QMouseEvent>
#include <QRubberBand>

#include "document/pelmark_doc.h"
#include "framework/view.h"
#include "imaging/dib_access.h"
#include "palettes/color_palette_bar.h"
#include "palettes/palette_host.h"
#include "palettes/picture_button.h"

namespace {

QPoint clientPos(const QMouseEvent* event) { return event->position().toPoint(); }

}  // namespace

void CColorPaletteBar::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = clientPos(event);
    if (event->button() == Qt::LeftButton) {
        if (pos.y() == 0) {
            // The top pixel row moves the window.
            windowDrag_ = true;
            grabOffset_ = pos;
            lastOutline_ = event->globalPosition().toPoint() - grabOffset_;
            if (!outline_) outline_ = new QRubberBand(QRubberBand::Rectangle);
            outline_->setGeometry(QRect(lastOutline_, frameGeometry().size()));
            outline_->show();
            grabMouse();
            return;
        }
        leftPress(pos);
    } else if (event->button() == Qt::RightButton) {
        rightPress(pos, event->modifiers() & Qt::ShiftModifier);
    }
}

void CColorPaletteBar::leftPress(const QPoint& pos) {
    setFocus(Qt::MouseFocusReason);
    const int cell = HitTest(pos.x(), pos.y());
    if (cell < 0) return;
    PaletteHost* host = PaletteHost::Of(owner_.data());
    if (host) {
        host->ShowStatusMessage(QStringLiteral("所选色的位置是%1到了").arg(cell));
        host->RepaintToolPalette();
    }
    CPelmarkDoc* doc = activeDoc();
    if (!doc) return;
    if (mode_ == kSecondColor) {
        const int old = second_;
        second_ = cell;
        doc->m_nColor2 = cell;
        updateCell(old);
        updateCell(cell);
    } else {
        if (lockedCell(doc, cell)) return;
        const int old = current_;
        current_ = cell;
        doc->m_nColor = cell;
        refreshUsedColors(doc);
        refreshColorText(doc);
        updateCell(old);
        updateCell(cell);
    }
    if (dragMode_) dragArmed_ = true;
}

void CColorPaletteBar::rightPress(const QPoint& pos, bool shift) {
    if (mode_ == kSecondColor) return;
    const int cell = HitTest(pos.x(), pos.y());
    CPelmarkDoc* doc = activeDoc();
    if (cell < 0 || !doc || !doc->m_hImage) return;
    if (!shift) {
        paste(cell);
        return;
    }
    copy_.selecting = true;
    copy_.anchorRow = copy_.row = cell / columns_;
    copy_.anchorColumn = copy_.column = cell % columns_;
    copy_.Normalize();
    update();
}

void CColorPaletteBar::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = clientPos(event);
    if (windowDrag_) {
        lastOutline_ = event->globalPosition().toPoint() - grabOffset_;
        if (outline_) outline_->move(lastOutline_);
        return;
    }
    if (copy_.selecting) {
        if (event->buttons() & Qt::RightButton) selectionMove(pos);
        else endSelection();
        return;
    }
    if (dragMode_ && dragArmed_ && (event->buttons() & Qt::LeftButton)) dragMove(pos);
}

void CColorPaletteBar::selectionMove(const QPoint& pos) {
    copy_.column = std::clamp((pos.x() - leftMargin_) / columnWidth(), 0, columns_ - 1);
    copy_.row = std::clamp((pos.y() - topMargin_) / rowHeight(), 0, rows() - 1);
    if (pos.x() < leftMargin_) copy_.column = 0;
    if (pos.y() < topMargin_) copy_.row = 0;
    copy_.Normalize();
    update();
}

void CColorPaletteBar::endSelection() {
    copy_.selecting = false;
    CPelmarkDoc* doc = activeDoc();
    if (doc && doc->m_hImage) copy_.Copy(ReadColorTable(doc->m_hImage), columns_);
    update();
}

void CColorPaletteBar::dragMove(const QPoint& pos) {
    const int cell = HitTest(pos.x(), pos.y());
    prevDragTarget_ = dragTarget_;
    dragTarget_ = cell;
    updateCell(prevDragTarget_);
    updateCell(dragTarget_);
    if (cell < 0) dragArmed_ = false;
}

void CColorPaletteBar::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = clientPos(event);
    if (windowDrag_ && event->button() == Qt::LeftButton) {
        windowDrag_ = false;
        releaseMouse();
        if (outline_) outline_->hide();
        // The window's client area goes where the outline's was taken from.
        const QPoint client = event->globalPosition().toPoint() - grabOffset_;
        move(client - (geometry().topLeft() - QWidget::pos()));
        show();
        return;
    }
    if (event->button() == Qt::RightButton && copy_.selecting) {
        endSelection();
        return;
    }
    if (event->button() == Qt::LeftButton && dragArmed_) drop(pos);
}

void CColorPaletteBar::drop(const QPoint& pos) {
    const int target = HitTest(pos.x(), pos.y());
    dragArmed_ = false;
    updateCell(current_);
    updateCell(prevDragTarget_);
    updateCell(dragTarget_);
    prevDragTarget_ = dragTarget_ = -1;
    CPelmarkDoc* doc = activeDoc();
    // A release on the swatch it started from exchanges nothing.
    if (target < 0 || !doc || !doc->m_hImage || current_ < 0 || target == current_) return;
    const int from = current_;
    if (!doc->PushUndo(document::kColorEditAction, remap_ ? QStringLiteral("色移动") : QStringLiteral("色置换"), true))
        return;
    RgbaEntry a, b;
    GetDibPaletteEntry(doc->m_hImage, from, &a.red, &a.green, &a.blue, &a.alpha);
    GetDibPaletteEntry(doc->m_hImage, target, &b.red, &b.green, &b.blue, &b.alpha);
    SetDibPaletteEntry(doc->m_hImage, from, b.red, b.green, b.blue, b.alpha);
    SetDibPaletteEntry(doc->m_hImage, target, a.red, a.green, a.blue, a.alpha);
    // The pixels follow, so the picture keeps its look.
    if (remap_) doc->SwapLayerColorIndices(from, target);
    afterPaletteEdit(doc, true);
}

void CColorPaletteBar::afterPaletteEdit(CPelmarkDoc* doc, bool refreshPlugins) {
    doc->InitDib();
    doc->UpdateAllViews(nullptr);
    refreshUsedColors(doc);
    refreshColorText(doc);
    PaletteHost* host = PaletteHost::Of(owner_.data());
    if (host) host->PaletteChanged();
    update();
    doc->InvalidateOtherViews(nullptr);
    doc->SetModified(true);
    if (!host) return;
    host->LayersChanged(doc);
    if (!refreshPlugins) return;
    host->ImageDrawn();
    host->RefreshToolPalette();
}

PastePart CColorPaletteBar::heldPastePart() const {
    if (heldKeys_.count('A')) return PastePart::AlphaOnly;
    if (heldKeys_.count('C')) return PastePart::ColorOnly;
    return PastePart::All;
}

void CColorPaletteBar::paste(int cell) {
    CPelmarkDoc* doc = activeDoc();
    // With nothing copied there is nothing to write and no step to open.
    if (!doc || !doc->m_hImage || copy_.Empty()) return;
    if (!doc->PushUndo(document::kColorEditAction, QStringLiteral("颜色复制"), true)) return;
    doc->SetModified(true);
    ColorTable table = ReadColorTable(doc->m_hImage);
    copy_.Paste(table, cell / columns_, cell % columns_, columns_, rows(), heldPastePart());
    WriteColorTable(doc->m_hImage, table);
    doc->InitDib();
    doc->InvalidateOtherViews(nullptr);
    refreshColorText(doc);
    update();
    if (PaletteHost* host = PaletteHost::Of(owner_.data())) host->LayersChanged(doc);
}

void CColorPaletteBar::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || mode_ == kSecondColor) return;
    const QPoint pos = clientPos(event);
    const int cell = HitTest(pos.x(), pos.y());
    CPelmarkDoc* doc = activeDoc();
    if (cell < 0 || !doc || !doc->m_hImage) return;
    PaletteHost* host = PaletteHost::Of(owner_.data());
    if (host && !host->ProbeWorkMemory(1)) return;
    if (lockedCell(doc, cell)) return;
    const int old = current_;
    current_ = cell;
    RgbaEntry entry;
    GetDibPaletteEntry(doc->m_hImage, cell, &entry.red, &entry.green, &entry.blue, &entry.alpha);
    // The host's editor is modal to the whole program.
    const bool accepted = services_.editColor ? services_.editColor(entry) : host && host->EditPaletteColor(entry);
    if (accepted && doc->PushUndo(document::kColorEditAction, QStringLiteral("改变颜色"), true)) {
        doc->SetModified(true);
        SetDibPaletteEntry(doc->m_hImage, cell, entry.red, entry.green, entry.blue, entry.alpha);
        doc->InitDib();
        doc->InvalidateOtherViews(nullptr);
        update();
        if (host) host->LayersChanged(doc);
    }
    updateCell(old);
    doc->m_nColor = cell;
    refreshColorText(doc);
    updateCell(cell);
}

// ---- buttons ----

bool CColorPaletteBar::commandsLocked() const {
    return services_.commandsLocked && services_.commandsLocked();
}

void CColorPaletteBar::updateCommandButtons() {
    const bool enable = !commandsLocked();
    for (int id : {kDeleteUnusedId, kDragExchangeId, kDragMoveId, kReduceId, kGradientId, kEditorId,
                   kShowAlphaId})
        if (QWidget* w = Control(id)) w->setEnabled(enable);
}

void CColorPaletteBar::toggleDragMode(int id) {
    if (commandsLocked()) {
        updateCommandButtons();
        return;
    }
    const bool byMove = id == kDragMoveId;
    // The button that does not hold the mode ignores presses meanwhile.
    if (dragMode_ && latchedByMove_ != byMove) return;
    dragMode_ = !dragMode_;
    latchedByMove_ = byMove;
    remap_ = dragMode_ && byMove;
    dragArmed_ = false;
    dragExchange_->SetLatched(dragMode_ && !byMove);
    dragMove_->SetLatched(dragMode_ && byMove);
}

void CColorPaletteBar::runCommand(int id) {
    if (commandsLocked()) {
        updateCommandButtons();
        if (id == kShowAlphaId) alphaCheck_->setChecked(showAlpha_);
        return;
    }
    PaletteHost* host = PaletteHost::Of(owner_.data());
    switch (id) {
    case kDeleteUnusedId:
        if (services_.deleteUnusedColors) services_.deleteUnusedColors();
        break;
    case kReduceId:
        if (host && !host->ProbeWorkMemory(1)) return;
        refreshUsedColors(activeDoc());
        if (services_.reduceColors) services_.reduceColors(used_.count);
        break;
    case kGradientId:
        if (services_.showGradient) services_.showGradient();
        break;
    case kEditorId:
        if (host && !host->ProbeWorkMemory(1)) return;
        if (services_.paletteEditor) services_.paletteEditor();
        break;
    case kShowAlphaId:
        showAlpha_ = !showAlpha_;
        alphaCheck_->setChecked(showAlpha_);
        update();
        break;
    default:
        break;
    }
}
