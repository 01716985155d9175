// The layer palette's list (control 1116): an owner-drawn list of 40-pixel
// rows, each with an automatic check box at its left. The list keeps each
// row's text, check state and the layer it stands for; the owner draws the
// rest of the row (right of the check box) and hears every click.
//
// A press on a row selects it, toggling its check box first when the press
// was on it, and reports the row; the Up and Down keys move the selection,
// Space toggles the selected row's check box, and a double click is reported
// after the press of its first click. Only the rows on screen are painted.
#pragma once

#include <functional>
#include <vector>

#include <QAbstractScrollArea>
#include <QString>

class CLayerListBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 40;
    // Width of the check box column; the owner's part of a row starts there.
    static constexpr int kCheckWidth = 16;

    struct Row {
        QString text;
        bool checked = false;
        // The layer index the row shows (negative: the underlay row).
        int layer = 0;
    };

    // Draws the owner's part of row `row` into `item` (viewport coordinates);
    // `listSelected` is the list's own selection.
    using DrawItem = std::function<void(QPainter& painter, int row, const QRect& item, bool listSelected)>;
    // A row was pressed or chosen by key: `checkToggled` when its check box
    // changed.
    using SelChange = std::function<void(int row, bool checkToggled, Qt::KeyboardModifiers modifiers)>;
    using DoubleClick = std::function<void(int row)>;

    explicit CLayerListBox(QWidget* parent = nullptr);

    void SetDrawItem(DrawItem draw) { draw_ = std::move(draw); }
    void SetSelChange(SelChange handler) { selChange_ = std::move(handler); }
    void SetDoubleClick(DoubleClick handler) { doubleClick_ = std::move(handler); }

    void ResetContent();
    // Appends a row; returns its index.
    int AddRow(const Row& row);
    // Replaces every row at once (no selection).
    void SetRows(std::vector<Row> rows);
    int GetCount() const { return int(rows_.size()); }
    const Row& RowAt(int row) const { return rows_[size_t(row)]; }
    // The selected row, -1 when none.
    int GetCurSel() const { return current_; }
    // Selects a row (-1 or a row past the end: none) without a report and
    // scrolls it into view.
    void SetCurSel(int row);
    bool GetCheck(int row) const;
    void SetCheck(int row, bool checked);

    // Rectangles in viewport coordinates: the whole row, the owner's part,
    // the check box.
    QRect RowRect(int row) const;
    QRect ItemRect(int row) const;
    QRect CheckRect(int row) const;
    // The row at a viewport point, -1 when none.
    int RowAt(QPoint point) const;
    // First and last row (inclusive) that the viewport shows; last < first
    // when none.
    std::pair<int, int> VisibleRows() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateScrollRange();
    void choose(int row, bool toggle, Qt::KeyboardModifiers modifiers);

    std::vector<Row> rows_;
    int current_ = -1;
    DrawItem draw_;
    SelChange selChange_;
    DoubleClick doubleClick_;
};
