#include "dialogs/color_grid.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>

#include "dialogs/dialog_host.h"
#include "document/pelmark_doc.h"
#include "document/undo_actions.h"
#include "document/working_palette.h"
#include "imaging/dib_access.h"

namespace {

// A one-pixel ring on the border pixels of `r`.
void ring(QPainter& p, const QRect& r, const QColor& color) {
    p.setPen(color);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace

// ---- CColorGrid ----

CColorGrid::CColorGrid(QWidget* parent) : QPushButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(kSize, kSize);
}

void CColorGrid::SetDocument(CPelmarkDoc* doc) {
    doc_ = doc;
    update();
}

int CColorGrid::CellAt(const QPoint& point) {
    // Negative points are outside (a truncating division would give 0).
    if (point.x() < 0 || point.y() < 0) return -1;
    const int column = point.x() / kPitch, row = point.y() / kPitch;
    if (column >= kColumns || row >= kRows) return -1;
    return row * kColumns + column;
}

QRect CColorGrid::CellRect(int cell) {
    return QRect((cell % kColumns) * kPitch, (cell / kColumns) * kPitch, kCellSize, kCellSize);
}

QColor CColorGrid::EntryColor(int index) const {
    if (!doc_ || !doc_->m_hImage) return Qt::black;
    uint8_t r = 0, g = 0, b = 0, a = 0;
    if (!GetDibPaletteEntry(doc_->m_hImage, index, &r, &g, &b, &a)) return Qt::black;
    return QColor(r, g, b);
}

bool CColorGrid::LockedRow(int cell) const {
    return doc_ && cell >= 0 && cell < 256 && ((doc_->m_wPaletteLock >> (cell / kColumns)) & 1);
}

void CColorGrid::UpdateCell(int cell) {
    if (cell >= 0 && cell < 256) update(CellRect(cell));
}

void CColorGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    for (int cell = 0; cell < 256; ++cell) {
        const QRect r = CellRect(cell);
        ring(p, r, QColor(192, 192, 192));
        ring(p, r.adjusted(1, 1, -1, -1), Qt::black);
        p.fillRect(r.adjusted(2, 2, -2, -2), doc_ ? EntryColor(ShownIndex(cell)) : QColor(Qt::black));
    }
    for (int cell = 0; cell < 256; ++cell) PaintMarks(p, cell);
}

void CColorGrid::PaintMarks(QPainter&, int) {}

void CColorGrid::PaintInnerFrames(QPainter& p, int cell) {
    const QRect r = CellRect(cell);
    ring(p, r.adjusted(2, 2, -2, -2), Qt::white);
    ring(p, r.adjusted(3, 3, -3, -3), Qt::black);
}

void CColorGrid::PaintCross(QPainter& p, int cell) {
    const QRect r = CellRect(cell).adjusted(2, 2, -3, -3);
    p.setPen(Qt::black);
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
}

// ---- CFlagGrid ----

CFlagGrid::CFlagGrid(QWidget* parent) : CColorGrid(parent) { enabled_.fill(1); }

void CFlagGrid::PaintMarks(QPainter& p, int cell) {
    if (!enabled_[size_t(cell)]) PaintCross(p, cell);
    else if (flags_[size_t(cell)]) PaintInnerFrames(p, cell);
}

void CFlagGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int cell = CellAt(event->position().toPoint());
    if (cell < 0 || !enabled_[size_t(cell)]) return;
    flags_[size_t(cell)] ^= 1;
    value_ = flags_[size_t(cell)];
    dragging_ = true;
    UpdateCell(cell);
}

void CFlagGrid::setPassed(const QPoint& point) {
    const int cell = CellAt(point);
    if (cell < 0 || !enabled_[size_t(cell)] || flags_[size_t(cell)] == value_) return;
    flags_[size_t(cell)] = value_;
    UpdateCell(cell);
}

void CFlagGrid::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) setPassed(event->position().toPoint());
}

void CFlagGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) return;
    setPassed(event->position().toPoint());
    dragging_ = false;
}

// ---- CColorMapGrid ----

CColorMapGrid::CColorMapGrid(QWidget* parent) : CColorGrid(parent) { ResetMap(); }

void CColorMapGrid::ResetMap() {
    for (int i = 0; i < 256; ++i) map_[size_t(i)] = uint8_t(i);
    update();
}

void CColorMapGrid::SetPickedCell(int cell) {
    const int old = picked_;
    picked_ = std::clamp(cell, 0, 255);
    UpdateCell(old);
    UpdateCell(picked_);
}

void CColorMapGrid::PaintMarks(QPainter& p, int cell) {
    if (LockedRow(cell)) PaintCross(p, cell);
    if (pickMode_ && cell == picked_) PaintInnerFrames(p, cell);
}

void CColorMapGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (const int cell = CellAt(event->position().toPoint()); cell >= 0) emit CellTouched(cell);
}

void CColorMapGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    if (const int cell = CellAt(event->position().toPoint()); cell >= 0) emit CellTouched(cell);
}

// ---- CPaletteGrid ----

CPaletteGrid::CPaletteGrid(QWidget* parent) : CColorGrid(parent) { enabled_.fill(1); }

SwatchCopyBuffer& CPaletteGrid::CopyBuffer() {
    static SwatchCopyBuffer buffer;
    return buffer;
}

QColor CPaletteGrid::EntryColor(int index) const {
    if (!working_) return CColorGrid::EntryColor(index);
    const WorkingPaletteEntry& e = GetWorkingPalette()[size_t(index & 255)];
    return QColor(e.red, e.green, e.blue);
}

void CPaletteGrid::SetSelectedCell(int cell) {
    selected_ = cell >= 0 && cell < 256 ? cell : -1;
    target_ = -1;
    update();
}

ColorTable CPaletteGrid::table() const {
    if (working_) {
        ColorTable t{};
        std::copy(GetWorkingPalette().begin(), GetWorkingPalette().end(), t.begin());
        return t;
    }
    CPelmarkDoc* doc = Document();
    return doc && doc->m_hImage ? ReadColorTable(doc->m_hImage) : ColorTable{};
}

void CPaletteGrid::writeTable(const ColorTable& t) {
    if (working_) {
        std::copy(t.begin(), t.end(), GetWorkingPalette().begin());
        return;
    }
    if (CPelmarkDoc* doc = Document(); doc && doc->m_hImage) WriteColorTable(doc->m_hImage, t);
}

void CPaletteGrid::PaintMarks(QPainter& p, int cell) {
    if ((cell == selected_ || cell == target_) && !selecting_) PaintInnerFrames(p, cell);
}

void CPaletteGrid::paintEvent(QPaintEvent* event) {
    CColorGrid::paintEvent(event);
    const SwatchCopyBuffer& copy = CopyBuffer();
    if (!copy.selecting || !selecting_) return;
    QPainter p(this);
    const QRect a = CellRect(copy.top * kColumns + copy.left);
    const QRect b = CellRect((copy.bottom - 1) * kColumns + copy.right - 1);
    p.setPen(Qt::white);
    p.drawRect(a.united(b).adjusted(0, 0, -1, -1));
}

void CPaletteGrid::mousePressEvent(QMouseEvent* event) {
    const int cell = CellAt(event->position().toPoint());
    SwatchCopyBuffer& copy = CopyBuffer();
    if (event->button() == Qt::LeftButton) {
        if (!enabled(cell)) return;
        const int old = selected_;
        selected_ = cell;
        auto& flags = Flags(flagMode_);
        flags[size_t(cell)] ^= 1;
        value_ = flags[size_t(cell)];
        if (flagMode_ == 0)
            if (CPelmarkDoc* doc = Document()) doc->m_nColor = cell;
        leftDown_ = true;
        UpdateCell(old);
        UpdateCell(cell);
    } else if (event->button() == Qt::RightButton) {
        if (cell < 0) return;
        if (event->modifiers() & Qt::ShiftModifier) {
            copy.selecting = true;
            selecting_ = true;
            copy.anchorRow = copy.row = cell / kColumns;
            copy.anchorColumn = copy.column = cell % kColumns;
            copy.Normalize();
            setCursor(Qt::CrossCursor);
            update();
        } else if (!copy.selecting && !copy.Empty()) {
            paste(cell);
        }
    }
}

void CPaletteGrid::mouseMoveEvent(QMouseEvent* event) {
    const int cell = CellAt(event->position().toPoint());
    SwatchCopyBuffer& copy = CopyBuffer();
    if ((event->buttons() & Qt::RightButton) && copy.selecting && selecting_) {
        if (cell < 0) return;
        copy.row = cell / kColumns;
        copy.column = cell % kColumns;
        copy.Normalize();
        update();
        return;
    }
    if (!leftDown_ || !(event->buttons() & Qt::LeftButton) || !enabled(cell) || cell == target_) return;
    const int old = target_;
    target_ = cell;
    Flags(flagMode_)[size_t(cell)] = value_;
    UpdateCell(old);
    UpdateCell(cell);
}

void CPaletteGrid::mouseReleaseEvent(QMouseEvent* event) {
    const int cell = CellAt(event->position().toPoint());
    SwatchCopyBuffer& copy = CopyBuffer();
    if (event->button() == Qt::RightButton && copy.selecting && selecting_) {
        copy.selecting = false;
        selecting_ = false;
        copy.Normalize();
        copy.Copy(table(), kColumns);
        unsetCursor();
        update();
        return;
    }
    if (event->button() != Qt::LeftButton || !leftDown_) return;
    leftDown_ = false;
    leftRelease(enabled(cell) ? cell : cell < 0 ? target_ : -1);
}

void CPaletteGrid::leftRelease(int cell) {
    if (cell < 0) return;
    target_ = cell;
    Flags(flagMode_)[size_t(cell)] = value_;
    UpdateCell(cell);
    CPelmarkDoc* doc = Document();
    // A release on the pressed cell itself exchanges nothing.
    if (!host_ || !host_->SwapMode() || !doc || !doc->m_hImage || selected_ < 0 || cell == selected_)
        return;
    if (!doc->PushUndo(document::kColorEditAction, QStringLiteral("色置换"), true)) return;
    swapEntries(doc, selected_, cell);
    afterPaletteEdit(doc);
}

void CPaletteGrid::swapEntries(CPelmarkDoc* doc, int a, int b) {
    ColorTable t = ReadColorTable(doc->m_hImage);
    std::swap(t[size_t(a)], t[size_t(b)]);
    WriteColorTable(doc->m_hImage, t);
}

void CPaletteGrid::paste(int cell) {
    ColorTable t = table();
    if (!working_ && !(Document() && Document()->m_hImage)) return;
    CopyBuffer().Paste(t, cell / kColumns, cell % kColumns, kColumns, kRows, PastePart::All);
    writeTable(t);
    if (CPelmarkDoc* doc = Document(); doc && doc->m_hImage) afterPaletteEdit(doc);
    update();
}

void CPaletteGrid::afterPaletteEdit(CPelmarkDoc* doc) {
    doc->ScanUsedColors();
    doc->InitDib();
    doc->UpdateAllViews(nullptr);
    if (DialogHost* host = DialogHost::Installed()) host->PaletteChanged();
    update();
    doc->InvalidateOtherViews(nullptr);
    doc->SetModified(true);
}
