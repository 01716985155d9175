// A modeless dialog used as a floating tool window (layer, position and
// guide palettes; the position palette is in palettes/pos_palette_dlg.h): owned by the main frame, shown without taking the
// activation, hidden by its close box, placed by its position key and
// writing its rectangle back when it is destroyed.
#pragma once

#include <vector>

#include "framework/dialog.h"

class PaletteDialog : public framework::Dialog {
    Q_OBJECT
public:
    PaletteDialog(int templateId, const QString& title, const QString& positionKey,
                  int positionCount, const QSize& templateSize);
    ~PaletteDialog() override;

    // Creates the window hidden under `owner` at `fallback`, or at the stored
    // position when exactly the key's count of numbers parses.
    bool CreatePalette(QWidget* owner, const QPoint& fallback);
    void SavePosition();

protected:
    // The close box (and Esc) hide the window and tell the main frame, whose
    // shown flag for it goes down.
    void OnCancel() override;
    // Default: left, top (the window keeps its template size).
    virtual void ApplyPosition(const std::vector<int>& numbers);
    // Default: left, top, width, height.
    virtual std::vector<int> PositionNumbers(const QRect& rect) const;

private:
    QString positionKey_;
    int positionCount_;
    bool saved_ = false;
};
