// The frame list: a multiple-selection list of exactly 128 rows, row i
// showing frame i of the sheet. Selection changes made by code send no
// notification; the user's send the list's SelChange to its bar.
//
// The right button adds rows to the selection and opens menu 16051 at the
// pointer; it and the keys Delete, C, X, V, I and U copy, cut, paste,
// delete, insert and overwrite frames through a clip buffer.
#pragma once

#include <vector>

#include <QListWidget>

#include "platform/window.h"
#include "plugins/cinereel/sheet_frame.h"

class CaSheet;
class QMenu;

// Menu 16051.
enum : int {
    IDM_FRAME_LIST = 16051,
    ID_LIST_DELETE = 32809,
    ID_LIST_COPY = 32810,
    ID_LIST_PASTE = 32811,
    ID_LIST_CANCEL = 32812,
    ID_LIST_CUT = 32813,
    ID_LIST_INSERT = 32814,
    ID_LIST_OVERWRITE = 32815,
};

class CaFrameListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CaFrameListBox(QWidget* parent = nullptr);
    ~CaFrameListBox() override;

    inline static constexpr int kRowHeight = 12;

    // The sheet whose frames the operations move and the editor told of them.
    void Attach(CaSheet* sheet, WinHandle editor);

    // Every frame (0, 0, 0, 0) with delay 100, 128 rows, row 0 selected and
    // the caret.
    void ResetList(SheetFrame* frames);
    // The frames from the record's table (ResetList when it is not valid).
    void UnpackAnimTable(const PluginToolRecord& record, SheetFrame* frames);
    // The frames into the record's table, valid bit set.
    static void PackAnimTable(PluginToolRecord& record, const SheetFrame* frames);
    // All 128 rows rebuilt from the frames, only row 0 selected.
    void RebuildAll(const SheetFrame* frames);

    // Rewrites the rows from the frames (selection kept).
    void RewriteRows(const SheetFrame* frames, const std::vector<int>& rows);
    // The selected rows below 128, ascending.
    std::vector<int> SelectedRows() const;
    // Selects only `row` and makes it the caret, without a notification.
    void SelectOnly(int row);
    int CaretRow() const { return currentRow(); }

    // The operations of the menu and the keys, on the current row.
    void OnCommand(int id);
    void Copy();
    void Delete();
    void Cut();
    void Paste();
    void Insert();
    void Overwrite();
    // Enables the menu's items for the multi-selection state and the clip.
    void EnableMenu();
    QMenu* Menu() const { return m_pMenu; }

    // The multi-selection state of the last notification (0, 1, 2).
    int m_nMultiSel = 0;
    std::vector<SheetFrame> m_Clip;  // the clip buffer
    int m_nClipCount = 0;
    int m_nCurRow = -1;  // the row of the last right-button action or key

signals:
    void selectionChangedByUser();
    // The multi-selection state was recomputed by the list itself.
    void multiSelChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fill(const SheetFrame* frames);
    // Adds the row under a viewport point to the selection and makes it the
    // current row; false outside the rows.
    bool addRowAt(const QPoint& at);
    void addToSelection(int row);
    void rebuildFrom(int row);
    void recomputeState();
    void imageChanged();
    SheetFrame* frames() const;
    bool quiet_ = false;
    bool captured_ = false;
    QMenu* m_pMenu = nullptr;
    CaSheet* sheet_ = nullptr;
    WinHandle editor_ = nullptr;
};
