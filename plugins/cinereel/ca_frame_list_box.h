// The frame list: a multiple-selection list of exactly 128 rows, row i
// showing frame i of the sheet. Selection changes made by code send no
// notification; the user's send the list's SelChange to its bar.
#pragma once

#include <vector>

#include <QListWidget>

#include "plugins/cinereel/sheet_frame.h"

class CaFrameListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CaFrameListBox(QWidget* parent = nullptr);

    inline static constexpr int kRowHeight = 12;

    // Every frame (0, 0, 0, 0) with delay 100, 128 rows, row 0 selected and
    // the caret.
    void ResetList(SheetFrame* frames);
    // The frames from the record's table (ResetList when it is not valid).
    void UnpackAnimTable(const PluginToolRecord& record, SheetFrame* frames);
    // The frames into the record's table, valid bit set.
    static void PackAnimTable(PluginToolRecord& record, const SheetFrame* frames);

    // Rewrites the rows from the frames (selection kept).
    void RewriteRows(const SheetFrame* frames, const std::vector<int>& rows);
    // The selected rows below 128, ascending.
    std::vector<int> SelectedRows() const;
    // Selects only `row` and makes it the caret, without a notification.
    void SelectOnly(int row);
    int CaretRow() const { return currentRow(); }

    // The multi-selection state of the last notification (0, 1, 2).
    int m_nMultiSel = 0;

signals:
    void selectionChangedByUser();

private:
    void fill(const SheetFrame* frames);
    bool quiet_ = false;
};
