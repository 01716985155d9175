// The colour palette bar: the 256 entries of the active document's palette
// as a grid of swatches. A top-level tool window (not a dock), so that it
// stays usable while the main window is disabled for a filter run: it stays
// above the main frame without being its child.
#pragma once

#include <cstdint>

#include "palettes/palette_window.h"

class CColorPaletteBar : public PaletteWindow {
    Q_OBJECT
public:
    explicit CColorPaletteBar(QWidget* owner);
    ~CColorPaletteBar() override;

    // Cell size, cell count and cells per row of the swatch grid.
    void Reposition(int cellWidth, int cellHeight, int cells, int columns);
    // Places the window: at the stored ColorPalettePos when two numbers
    // parse (then DicMode is read into the dictionary mode), else at `fallback`.
    void Create(const QPoint& fallback);

    // The colour edit dialog shows its dictionary part in mode 1.
    int DictionaryMode() const { return dicMode_; }
    void SetDictionaryMode(int mode) { dicMode_ = mode; }

    // Updates after a palette edit (codes of the colour edit commands); the
    // swatches come with the bar's contents.
    void OnPaletteBarUpdate(int code, intptr_t flag);

protected:
    void ApplyPosition(const std::vector<int>& numbers) override;

private:
    int cellWidth_ = 12, cellHeight_ = 12, cells_ = 256, columns_ = 16;
    int dicMode_ = 0;
};
