#include "plugins/cinereel/ca_frame_list_box.h"

#include <QFontDatabase>

CaFrameListBox::CaFrameListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!quiet_) emit selectionChangedByUser();
    });
}

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
