// The tool palette: the 21 tool buttons, the colour swatches and the
// settings panel of the current tool, docked on the right of the main frame
// or floating beside it. Its position key ToolPalettePos keeps left, top and
// whether it was docked.
#pragma once

#include <vector>

#include <QDockWidget>

class CToolPalette : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int kBarId = 502;
    static constexpr int kColumns = 3;
    static constexpr int kButtons = 21;

    explicit CToolPalette(QWidget* owner);
    ~CToolPalette() override;

    // Reads ToolPalettePos (used only when three numbers parse).
    void RestorePosition();
    // Writes ToolPalettePos: left and top clamped to the screen, docked flag.
    void SavePosition();
    // True when the stored position said the palette was docked (1 without one).
    bool StoredDocked() const { return storedDocked_; }

private:
    bool storedDocked_ = true;
    bool saved_ = false;
};
