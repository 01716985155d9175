// The colour palette bar: the 256 entries of the active document's palette
// as a grid of swatches, the current colour with its index and RGB values,
// and the buttons of the palette-wide operations. A top-level tool window
// (not a dock), so that it stays usable while the main window is disabled
// for a filter run: it stays above the main frame without being its child.
//
// Mouse: a left click makes a swatch the current colour (in second-colour
// mode the second colour); with one of the two drag buttons pressed in, a
// left drag from one swatch to another exchanges the two entries (the
// "颜色移动" button also exchanges the two indices in the pixels, so the
// picture keeps its look); Shift + right drag copies a block of entries and
// a right click writes it back at the pointer (A held: alpha only, C held:
// red, green and blue only); a double click edits the entry; a press on the
// top pixel row moves the window. Every edit is one undo step.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <set>

#include <QPointer>

#include "document/used_colors.h"
#include "imaging/rgba_entry.h"
#include "palettes/palette_window.h"
#include "imaging/swatch_copy.h"

class CPelmarkDoc;
class PictureButton;
class QCheckBox;
class QLabel;
class QPushButton;
class QRubberBand;

// wParam of the palette bar update message.
enum PaletteBarUpdateCode {
    PALETTEBAR_CURRENT_COLOR = 0,  // the current colour changed
    PALETTEBAR_DOCUMENT = 1,       // another document may be active
    PALETTEBAR_TONE = 2,           // the tone flag flipped (flag: its old value)
    PALETTEBAR_REFRESH = 3,        // the palette changed
};

class CColorPaletteBar : public PaletteWindow {
    Q_OBJECT
public:
    // Child controls.
    static constexpr int kDeleteUnusedId = 3000;
    static constexpr int kDragExchangeId = 3001;
    static constexpr int kReduceId = 3002;
    static constexpr int kGradientId = 3003;
    static constexpr int kDragMoveId = 3004;
    static constexpr int kEditorId = 954;
    static constexpr int kShowAlphaId = 955;
    static constexpr int kColorTextId = 956;
    static constexpr int kShowAlphaTextId = 958;

    // Display modes.
    enum Mode { k256Colors = 0, k16Colors = 1, kSecondColor = 2 };

    // What the bar asks of other parts of the program; empty ones do nothing.
    struct Services {
        // The colour edit dialog on one entry; true when it ended with OK
        // (the entry then holds the new colour). Empty: the host's colour
        // editor is used.
        std::function<bool(RgbaEntry&)> editColor;
        std::function<void()> deleteUnusedColors;      // 3000
        std::function<void(int usedColors)> reduceColors;  // 3002
        std::function<void()> showGradient;            // 3003
        std::function<void()> paletteEditor;           // 954
        // True while the palette commands are locked.
        std::function<bool()> commandsLocked;
    };

    explicit CColorPaletteBar(QWidget* owner);
    ~CColorPaletteBar() override;

    // Cell size, cell count and cells per row of the swatch grid.
    void Reposition(int cellWidth, int cellHeight, int cells, int columns);
    // Places the window: at the stored ColorPalettePos when two numbers
    // parse (then DicMode is read into the dictionary mode), else at `fallback`.
    void Create(const QPoint& fallback);
    // The cell under a client point, -1 off the grid.
    int HitTest(int x, int y) const;
    // The palette bar update message (codes PaletteBarUpdateCode).
    void OnPaletteBarUpdate(int code, intptr_t flag);

    // The colour edit dialog shows its dictionary part in mode 1.
    int DictionaryMode() const { return dicMode_; }
    void SetDictionaryMode(int mode) { dicMode_ = mode; }

    void SetServices(Services services) { services_ = std::move(services); }
    Services& GetServices() { return services_; }

    // A child control by id, or null.
    QWidget* Control(int id) const;
    // The client rectangle of a cell.
    QRect CellRect(int index) const;

    int DisplayMode() const { return mode_; }
    int Columns() const { return columns_; }
    int CurrentIndex() const { return current_; }
    int SecondIndex() const { return second_; }
    bool DragModeOn() const { return dragMode_; }
    bool RemapPixels() const { return remap_; }
    bool ShowAlpha() const { return showAlpha_; }
    // The used-colour flags of the last refresh and their scans.
    const document::UsedColors& UsedColors() const { return used_; }
    int UsedColorScans() const { return usedCache_.ScanCount(); }
    const SwatchCopyBuffer& CopyBuffer() const { return copy_; }

protected:
    void ApplyPosition(const std::vector<int>& numbers) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    // The active document (through the owner's active view), or null.
    CPelmarkDoc* activeDoc() const;
    int rows() const;
    int columnWidth() const { return cellWidth_ + extraCellWidth_; }
    int rowHeight() const { return cellHeight_ + extraCellHeight_; }
    bool lockedCell(const CPelmarkDoc* doc, int index) const;
    // Used colours and the text line of the current colour.
    void refreshUsedColors(CPelmarkDoc* doc);
    void refreshColorText(CPelmarkDoc* doc);
    void updateCell(int index);
    void setMode(int mode, int columns);

    void leftPress(const QPoint& pos);
    void rightPress(const QPoint& pos, bool shift);
    void selectionMove(const QPoint& pos);
    void endSelection();
    void dragMove(const QPoint& pos);
    void drop(const QPoint& pos);
    void paste(int cell);
    PastePart heldPastePart() const;
    // The palette was edited: palettes rebuilt, views and the bar repainted,
    // the bar update message sent.
    void afterPaletteEdit(CPelmarkDoc* doc, bool refreshPlugins);

    bool commandsLocked() const;
    void updateCommandButtons();
    void toggleDragMode(int id);
    void runCommand(int id);

    // The main frame (the bar need not be its child widget).
    QPointer<QWidget> owner_;
    Services services_;
    std::map<int, QPointer<QWidget>> controls_;
    PictureButton* dragExchange_ = nullptr;
    PictureButton* dragMove_ = nullptr;
    QCheckBox* alphaCheck_ = nullptr;
    QLabel* colorText_ = nullptr;
    QPushButton* editorButton_ = nullptr;
    QLabel* alphaText_ = nullptr;
    QRubberBand* outline_ = nullptr;

    int shown_ = 1;
    int cellWidth_ = 12, cellHeight_ = 12, cells_ = 256, columns_ = 16;
    int leftMargin_ = 0, topMargin_ = 26, bottomMargin_ = 15;
    int widthCorrection_ = -1;
    int extraWidth_ = 0, extraHeight_ = 0;
    int extraCellWidth_ = 0, extraCellHeight_ = 0;
    int mode_ = k256Colors;
    int current_ = -1;
    int second_ = 0;
    int dragTarget_ = -1, prevDragTarget_ = -1;
    bool dragArmed_ = false;
    bool dragMode_ = false;
    bool remap_ = false;
    // The drag mode is held by 3004 (else by 3001).
    bool latchedByMove_ = false;
    bool windowDrag_ = false;
    QPoint grabOffset_, lastOutline_;
    bool showAlpha_ = false;
    const CPelmarkDoc* lastDoc_ = nullptr;
    int dicMode_ = 0;

    document::UsedColorCache usedCache_;
    document::UsedColors used_;
    RgbaEntry currentEntry_{};
    SwatchCopyBuffer copy_;
    // Keys held now (A, C and the keypad's 1 and 3), seen by the
    // application-wide filter.
    std::set<int> heldKeys_;
};
