// The 16 x 16 grids of palette swatches in the colour dialogs: each cell
// shows one entry of the document's palette (black without a document).
// Cells lie 15 pixels apart and are drawn in 16 x 16 rectangles, so
// neighbours share their border line: the entry's colour inset by 2, a
// black frame inset by 1 and a light-grey outer frame.
//
// Three kinds:
// - CFlagGrid marks entries (unused colours to delete, mask colours): a
//   press flips an enabled cell, a drag gives every enabled cell passed the
//   pressed cell's new value; disabled cells are crossed.
// - CColorMapGrid shows an index map (cell i shows map[i]) and reports
//   presses and drags to its dialog; cells of locked palette rows are
//   crossed, the picked cell is framed in pick mode.
// - CPaletteGrid is the palette editor's: select and flag entries, swap two
//   by a drag (in the editor's swap mode), Shift + right drag copies a block
//   of entries, a right click pastes it.
#pragma once

#include <array>
#include <cstdint>

#include <QPushButton>

#include "imaging/swatch_copy.h"

class CPelmarkDoc;

class CColorGrid : public QPushButton {
    Q_OBJECT
public:
    static constexpr int kColumns = 16;
    static constexpr int kRows = 16;
    static constexpr int kPitch = 15;
    static constexpr int kCellSize = 16;
    // The width and height of a whole grid.
    static constexpr int kSize = kPitch * (kColumns - 1) + kCellSize;

    explicit CColorGrid(QWidget* parent = nullptr);

    void SetDocument(CPelmarkDoc* doc);
    CPelmarkDoc* Document() const { return doc_; }

    // The cell under a point of the grid, -1 outside it.
    static int CellAt(const QPoint& point);
    // The 16 x 16 rectangle a cell is drawn in.
    static QRect CellRect(int cell);

    // The entry a cell shows (default: its own index).
    virtual int ShownIndex(int cell) const { return cell; }
    // The colour of palette entry `index` (black without a document).
    virtual QColor EntryColor(int index) const;
    // The cell lies in a palette row the document's colour mode locks.
    bool LockedRow(int cell) const;
    // Repaints one cell.
    void UpdateCell(int cell);

protected:
    void paintEvent(QPaintEvent* event) override;
    // The marks of a cell over its swatch (default: none).
    virtual void PaintMarks(QPainter& painter, int cell);
    // The white frame inset by 2 and the black one inset by 3.
    static void PaintInnerFrames(QPainter& painter, int cell);
    static void PaintCross(QPainter& painter, int cell);

private:
    CPelmarkDoc* doc_ = nullptr;
};

class CFlagGrid : public CColorGrid {
    Q_OBJECT
public:
    explicit CFlagGrid(QWidget* parent = nullptr);

    std::array<uint8_t, 256>& Flags() { return flags_; }
    std::array<uint8_t, 256>& Enabled() { return enabled_; }

protected:
    void PaintMarks(QPainter& painter, int cell) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setPassed(const QPoint& point);

    std::array<uint8_t, 256> flags_{};
    std::array<uint8_t, 256> enabled_{};
    bool dragging_ = false;
    uint8_t value_ = 0;
};

class CColorMapGrid : public CColorGrid {
    Q_OBJECT
public:
    explicit CColorMapGrid(QWidget* parent = nullptr);

    // Sets the map to the identity.
    void ResetMap();
    std::array<uint8_t, 256>& Map() { return map_; }
    int ShownIndex(int cell) const override { return map_[size_t(cell & 255)]; }

    void SetPickMode(bool pick) { pickMode_ = pick; }
    int PickedCell() const { return picked_; }
    void SetPickedCell(int cell);

signals:
    // A left press on a cell, or a left drag over one.
    void CellTouched(int cell);

protected:
    void PaintMarks(QPainter& painter, int cell) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    std::array<uint8_t, 256> map_{};
    bool pickMode_ = false;
    int picked_ = 0;
};

// What the palette grid asks of the palette editor that holds it.
class PaletteGridHost {
public:
    // The editor's swap mode: a drag from one cell to another exchanges the
    // two entries.
    virtual bool SwapMode() const = 0;

protected:
    ~PaletteGridHost() = default;
};

class CPaletteGrid : public CColorGrid {
    Q_OBJECT
public:
    explicit CPaletteGrid(QWidget* parent = nullptr);

    void SetHost(PaletteGridHost* host) { host_ = host; }
    // Shows and edits the program's working palette instead of the
    // document's palette.
    void SetWorkingCopy(bool working) { working_ = working; }
    bool WorkingCopy() const { return working_; }
    // 0: a press flips the first flag set and makes the cell the document's
    // current colour; 1: it flips the second set.
    void SetFlagMode(int mode) { flagMode_ = mode ? 1 : 0; }

    std::array<uint8_t, 256>& Flags(int set) { return flags_[size_t(set ? 1 : 0)]; }
    std::array<uint8_t, 256>& Enabled() { return enabled_; }
    int SelectedCell() const { return selected_; }
    int TargetCell() const { return target_; }
    // Makes `cell` the selected cell, no drag target (-1: none).
    void SetSelectedCell(int cell);

    // The block copied by Shift + right drag, shared by every palette grid
    // (red, green, blue, alpha whichever palette it came from).
    static SwatchCopyBuffer& CopyBuffer();

    QColor EntryColor(int index) const override;

protected:
    void PaintMarks(QPainter& painter, int cell) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool enabled(int cell) const { return cell >= 0 && enabled_[size_t(cell)]; }
    void leftRelease(int cell);
    void swapEntries(CPelmarkDoc* doc, int a, int b);
    void paste(int cell);
    ColorTable table() const;
    void writeTable(const ColorTable& table);
    // The used colours rescanned, the palettes rebuilt, every view and the
    // colour palette bar updated, the document marked modified.
    void afterPaletteEdit(CPelmarkDoc* doc);

    PaletteGridHost* host_ = nullptr;
    bool working_ = false;
    int flagMode_ = 0;
    std::array<std::array<uint8_t, 256>, 2> flags_{};
    std::array<uint8_t, 256> enabled_{};
    int selected_ = -1;
    int target_ = -1;
    uint8_t value_ = 0;
    bool leftDown_ = false;
    // This grid is choosing the copied block.
    bool selecting_ = false;
};
