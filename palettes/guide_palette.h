// The guide palette (dialog bar 276, "辅助线"): the kind of guide (straight
// line or radial fan), its colour, and the straight guide's length and
// angle or the radial guide's angle between rays. It edits the program's
// guide state; the canvas views draw from it. Its key keeps the rectangle
// and the guide's colour, mode, length and angle.
#pragma once

#include <vector>

#include "palettes/palette_dialog.h"

class PaletteHost;

class CGuidePalette : public PaletteDialog {
    Q_OBJECT
public:
    static constexpr int kLengthEditId = 1039;
    static constexpr int kAngleEditId = 1040;
    static constexpr int kModeComboId = 1105;
    static constexpr int kColorButtonId = 1174;
    static constexpr int kStartTextId = 1175;
    static constexpr int kEndTextId = 1176;
    // Gives the focus back to the document window every 10 ms.
    static constexpr int kFocusTimer = 99;
    static constexpr int kFocusInterval = 10;

    CGuidePalette();
    ~CGuidePalette() override;

    // The point texts of the mode (1175, 1176).
    void ShowPoints();
    // The length edit only for the straight guide; the angle and the colour
    // serve both kinds.
    void EnableForMode();
    // Straight: the stored length and the direction from start to end
    // (1..360); radial: the angle between rays (above 120 shown and stored
    // as 180).
    void ShowLengthAngle();
    // Applies the typed length and angle that differ from what the palette
    // shows: a length (0..32767, shown clamped) keeps the direction, an
    // angle turns the line at the stored length; a radial angle is
    // stored by its rule. The active view repaints.
    void ApplyLengthAngle();
    void OnModeChange();
    // The colour editor on the guide's colour; OK stores it.
    void OnLineColor();
    // Enter: the edits are applied, the edit flag flips and the edit command
    // 34037 goes to the main frame, which flips it back and, with editing
    // on, brings the guide into the image.
    void OnToggleEdit();
    // Every control from the guide state.
    void Refresh();
    void OnClose();

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(int id) override;
    WinResult OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) override;
    void DeclareCommands(framework::CommandTable& table) override;
    void ApplyPosition(const std::vector<int>& numbers) override;
    std::vector<int> PositionNumbers(const QRect& rect) const override;

private:
    PaletteHost* host() const;
    void ApplyLength();
    void ApplyAngle();
    // After a change of the guide: the point texts, the position palette and
    // the active view.
    void GuideEdited();
    // Writes a control while the change notifications are held back.
    void SetShownInt(int id, int value);

    bool loading_ = false;
    // The angle the angle edit was last given (a straight guide's direction).
    int shownAngle_ = 0;
};
