#include "plugins/cinereel/ca_frame_list_box.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "platform/window_qt.h"
#include "plugin_api/plugin_messages.h"
#include "plugins/cinereel/ca_frame_pos_dlg.h"
#include "plugins/cinereel/ca_sheet.h"
#include "plugins/cinereel/frame_list_ops.h"

CaFrameListBox::CaFrameListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!quiet_) emit selectionChangedByUser();
    });
    m_pMenu = new QMenu(this);
    m_pMenu->setObjectName(QStringLiteral("menu%1").arg(IDM_FRAME_LIST));
    const std::pair<int, const char*> items[] = {
        {ID_LIST_DELETE, "删除\tDel"}, {ID_LIST_COPY, "复制\tC"},   {ID_LIST_PASTE, "粘帖\tV"},
        {ID_LIST_CANCEL, "取消"},      {ID_LIST_CUT, "剪切\tX"},    {ID_LIST_INSERT, "插入\tI"},
        {ID_LIST_OVERWRITE, "改写\tU"}};
    for (auto [id, text] : items) {
        QAction* action = m_pMenu->addAction(QString::fromUtf8(text));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
}

CaFrameListBox::~CaFrameListBox() = default;

void CaFrameListBox::Attach(CaSheet* sheet, WinHandle editor) {
    sheet_ = sheet;
    editor_ = editor;
}

SheetFrame* CaFrameListBox::frames() const { return sheet_ ? sheet_->m_Frames : nullptr; }

void CaFrameListBox::fill(const SheetFrame* frames) {
    quiet_ = true;
    clear();
    for (int i = 0; i < kSheetFrames; ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(cinereel::RowText(i, frames[i])));
        item->setSizeHint(QSize(0, kRowHeight));
        addItem(item);
    }
    quiet_ = false;
    SelectOnly(0);
    m_nMultiSel = 0;
}

void CaFrameListBox::ResetList(SheetFrame* frames) {
    for (int i = 0; i < kSheetFrames; ++i) {
        frames[i].left = frames[i].top = frames[i].right = frames[i].bottom = 0;
        frames[i].delay = kDefaultDelay;
    }
    fill(frames);
}

void CaFrameListBox::UnpackAnimTable(const PluginToolRecord& record, SheetFrame* frames) {
    if (!PackedAnimIsValid(&record.animTable)) return ResetList(frames);
    cinereel::UnpackFrames(record.animTable, frames);
    fill(frames);
}

void CaFrameListBox::PackAnimTable(PluginToolRecord& record, const SheetFrame* frames) {
    cinereel::PackFrames(frames, record.animTable);
}

void CaFrameListBox::RebuildAll(const SheetFrame* frames) { fill(frames); }

void CaFrameListBox::RewriteRows(const SheetFrame* frames, const std::vector<int>& rows) {
    for (int row : rows)
        if (QListWidgetItem* it = item(row))
            it->setText(QString::fromStdString(cinereel::RowText(row, frames[row])));
}

std::vector<int> CaFrameListBox::SelectedRows() const {
    std::vector<int> rows;
    for (int i = 0; i < count() && i < kSheetFrames; ++i)
        if (item(i)->isSelected()) rows.push_back(i);
    return rows;
}

void CaFrameListBox::SelectOnly(int row) {
    quiet_ = true;
    clearSelection();
    setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    quiet_ = false;
}

void CaFrameListBox::addToSelection(int row) {
    quiet_ = true;
    if (QListWidgetItem* it = item(row)) it->setSelected(true);
    quiet_ = false;
}

bool CaFrameListBox::addRowAt(const QPoint& at) {
    QListWidgetItem* it = itemAt(at);
    if (!it) return false;
    const int row = this->row(it);
    addToSelection(row);
    m_nCurRow = row;
    return true;
}

void CaFrameListBox::recomputeState() {
    m_nMultiSel = cinereel::MultiSelectionState(SelectedRows());
    emit multiSelChanged();
}

void CaFrameListBox::imageChanged() {
    if (editor_) WinSendMessage(editor_, WM_TOOL_IMAGECHANGED, 0, 0);
}

void CaFrameListBox::rebuildFrom(int row) {
    SheetFrame* f = frames();
    std::vector<int> rows;
    for (int i = std::max(row, 0); i < kSheetFrames; ++i) rows.push_back(i);
    RewriteRows(f, rows);
}

void CaFrameListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) return QListWidget::mousePressEvent(event);
    captured_ = true;
    if (addRowAt(event->position().toPoint())) imageChanged();
}

void CaFrameListBox::mouseMoveEvent(QMouseEvent* event) {
    if (!captured_) return QListWidget::mouseMoveEvent(event);
    if (addRowAt(event->position().toPoint())) imageChanged();
}

void CaFrameListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (!captured_ || event->button() != Qt::RightButton) return QListWidget::mouseReleaseEvent(event);
    captured_ = false;
    if (!addRowAt(event->position().toPoint())) return;
    recomputeState();
    EnableMenu();
    m_pMenu->popup(event->globalPosition().toPoint());
}

void CaFrameListBox::EnableMenu() {
    cinereel::MenuEnabling e = cinereel::MenuEnabled(m_nMultiSel, m_Clip.empty());
    for (QAction* action : m_pMenu->actions()) {
        switch (action->data().toInt()) {
        case ID_LIST_PASTE: action->setEnabled(e.paste); break;
        case ID_LIST_INSERT: action->setEnabled(e.insert); break;
        case ID_LIST_OVERWRITE: action->setEnabled(e.overwrite); break;
        default: action->setEnabled(true); break;
        }
    }
}

void CaFrameListBox::keyPressEvent(QKeyEvent* event) {
    int id = 0;
    switch (event->key()) {
    case Qt::Key_Delete: id = ID_LIST_DELETE; break;
    case Qt::Key_C: id = ID_LIST_COPY; break;
    case Qt::Key_X: id = ID_LIST_CUT; break;
    case Qt::Key_V: id = ID_LIST_PASTE; break;
    case Qt::Key_I: id = ID_LIST_INSERT; break;
    case Qt::Key_U: id = ID_LIST_OVERWRITE; break;
    default: break;
    }
    if (id) {
        m_nCurRow = currentRow();
        OnCommand(id);
    }
    QListWidget::keyPressEvent(event);
}

void CaFrameListBox::OnCommand(int id) {
    switch (id) {
    case ID_LIST_DELETE: Delete(); break;
    case ID_LIST_COPY: Copy(); break;
    case ID_LIST_PASTE: Paste(); break;
    case ID_LIST_CUT: Cut(); break;
    case ID_LIST_INSERT: Insert(); break;
    case ID_LIST_OVERWRITE: Overwrite(); break;
    default: break;
    }
}

void CaFrameListBox::Copy() {
    SheetFrame* f = frames();
    std::vector<int> rows = SelectedRows();
    if (!f || rows.empty()) return;
    std::vector<SheetFrame> clip;
    for (int row : rows) clip.push_back(f[row]);
    m_Clip = std::move(clip);
    m_nClipCount = int(m_Clip.size());
}

void CaFrameListBox::Delete() {
    SheetFrame* f = frames();
    std::vector<int> rows = SelectedRows();
    if (!f || rows.empty()) return;
    cinereel::RemoveFrames(f, rows);
    m_nCurRow = rows.front();
    rebuildFrom(m_nCurRow);
    SelectOnly(m_nCurRow);
    recomputeState();
    imageChanged();
}

void CaFrameListBox::Cut() {
    Copy();
    Delete();
}

void CaFrameListBox::Paste() {
    SheetFrame* f = frames();
    if (!f || m_Clip.empty() || SelectedRows().empty()) return;
    Delete();
    const int row = m_nCurRow;
    std::vector<int> pasted = cinereel::InsertClip(f, row, m_Clip);
    rebuildFrom(row);
    quiet_ = true;
    clearSelection();
    setCurrentRow(row, QItemSelectionModel::NoUpdate);
    for (int r : pasted) item(r)->setSelected(true);
    quiet_ = false;
    recomputeState();
    imageChanged();
}

void CaFrameListBox::Insert() {
    SheetFrame* f = frames();
    if (!f || m_nMultiSel != 0 || m_nCurRow < 0 || m_nCurRow >= kSheetFrames) return;
    const SheetFrame start = m_Clip.empty() ? cinereel::EmptyFrame() : m_Clip.front();
    CaFramePosDlg dialog(this, start, m_nCurRow, sheet_->m_nWidth, sheet_->m_nHeight);
    dialog.DoModal();
    if (dialog.m_nResult == 1) {
        cinereel::FramePos p = dialog.Values();
        SheetFrame frame = start;
        frame.left = p.x;
        frame.top = p.y;
        frame.right = p.x + p.width;
        frame.bottom = p.y + p.height;
        frame.delay = p.delay;
        cinereel::InsertFrameAt(f, m_nCurRow, frame);
        rebuildFrom(m_nCurRow);
        SelectOnly(m_nCurRow);
        setFocus();
        recomputeState();
        imageChanged();
        return;
    }
    SelectOnly(m_nCurRow);
    setFocus();
}

void CaFrameListBox::Overwrite() {
    SheetFrame* f = frames();
    if (!f || m_nMultiSel != 0 || m_nCurRow < 0 || m_nCurRow >= kSheetFrames) return;
    CaFramePosDlg dialog(this, f[m_nCurRow], m_nCurRow, sheet_->m_nWidth, sheet_->m_nHeight);
    dialog.DoModal();
    if (dialog.m_nResult != 1) return;
    cinereel::FramePos p = dialog.Values();
    SheetFrame& frame = f[m_nCurRow];
    frame.left = p.x;
    frame.top = p.y;
    frame.right = p.x + p.width;
    frame.bottom = p.y + p.height;
    frame.delay = p.delay;
    RewriteRows(f, {m_nCurRow});
    SelectOnly(m_nCurRow);
    setFocus();
    recomputeState();
    imageChanged();
}
