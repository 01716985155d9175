// A small floating palette of picture buttons in a grid (the link and the
// selection-mode palettes): 29 x 27 buttons whose rows overlap by one pixel,
// no left or top border, 6 pixels extra width and a 22-pixel bottom border.
//
// Each button stands for a command: a press below the window's top pixel row
// presses it, the release over it sends the command to the main frame (the
// frame's idle update gives the buttons their enabled and checked states).
// A press on the top pixel row drags the window instead: an outline follows
// the pointer and the window moves there on release. Hovering shows the
// button's prompt on the status bar and its tooltip.
#pragma once

#include <vector>

#include <QPixmap>
#include <QString>

#include "framework/command_ids.h"
#include "palettes/palette_window.h"

class PaletteHost;
class QAction;
class QRubberBand;

class ButtonPalette : public PaletteWindow {
    Q_OBJECT
public:
    static constexpr int kButtonWidth = 29;
    static constexpr int kButtonHeight = 27;
    static constexpr int kRowPitch = 26;

    struct Button {
        framework::CommandId command;
        // "prompt\ntooltip"
        const char* texts;
    };

    ButtonPalette(QWidget* owner, const QString& title, const QString& positionKey, const QPixmap& strip,
                  int stripImages);
    ~ButtonPalette() override;

    // Sets the buttons (image i of the strip for button i) and sizes the
    // window to columns x 29 + 7 by rows x 26 + 23 pixels.
    void SetButtonsAndColumns(const std::vector<Button>& buttons, int columns);
    // Button `index`'s rectangle: column x 29, row x 26, 29 x 27.
    QRect GetItemRect(int index) const;
    // The button under the point, or -1 outside the grid and past the last button.
    int HitTest(const QPoint& point) const;
    int ButtonCount() const { return int(buttons_.size()); }
    int Columns() const { return columns_; }
    QAction* ButtonAction(int index) const;
    int IndexOf(framework::CommandId command) const;
    // The button of the command pressed, every other released.
    void PressOnly(framework::CommandId command);
    bool ButtonPressed(int index) const;
    // The prompt and tooltip of a button.
    QString Prompt(int index) const;
    QString ToolTip(int index) const;
    // The button held down by the mouse now, or -1.
    int HeldButton() const { return held_; }
    bool WindowDragging() const { return dragging_; }

protected:
    PaletteHost* host() const;
    // The release over button `index` (default: its command to the frame).
    virtual void ButtonReleased(int index);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::vector<QPixmap> images_, disabledImages_;
    std::vector<Button> buttons_;
    std::vector<QAction*> actions_;
    int columns_ = 2;
    int held_ = -1;
    int hovered_ = -1;
    // The window drag: the press offset inside the window and the outline.
    bool dragging_ = false;
    QPoint pressOffset_;
    QRubberBand* outline_ = nullptr;
};
