// The tool palette: the 21 tool buttons, the colour swatches and the
// settings panel of the current tool, docked on the right of the main frame
// or floating beside it. Its position key ToolPalettePos keeps left, top and
// whether it was docked.
//
// A button press sends the button's command (551 to 571) to the main frame,
// whose update handlers give the buttons their enabled and checked states.
// The settings controls (ids 400 to 447) are what the drawing tools read
// through the main frame's tool options; the palette keeps a cached value for
// each and gives the controls to the frame's tool options.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include <QDockWidget>
#include <QPixmap>
#include <QPointer>

#include "tools/tool_options.h"
#include "imaging/rgba_entry.h"
#include "palettes/tool_buttons.h"
#include "palettes/tool_settings_layout.h"

class CPelmarkDoc;
class PaletteHost;
class QAction;
class QTimer;

class CToolPalette : public QDockWidget, public ToolOptionControls {
    Q_OBJECT
public:
    static constexpr int kBarId = 502;
    static constexpr int kColumns = toolpal::kColumns;
    static constexpr int kButtons = toolpal::kButtons;
    // Dialogs the palette opens; an empty one means that dialog is not in
    // the program, and the press does nothing more than its probe.
    struct Services {
        // Edits palette entry 0; true with OK (the entry holds the colour).
        // Empty: the host's colour editor is used.
        std::function<bool(RgbaEntry&)> editColor;
        // Edits custom pen 0..2 (size and shape).
        std::function<void(int slot)> editCustomPen;
    };

    explicit CToolPalette(QWidget* owner);
    ~CToolPalette() override;

    // Reads ToolPalettePos (used only when three numbers parse).
    void RestorePosition();
    // Writes ToolPalettePos: left and top clamped to the screen, docked flag.
    void SavePosition();
    // True when the stored position said the palette was docked (1 without one).
    bool StoredDocked() const { return storedDocked_; }

    // Switches the settings panel to the tool index's (command - 551):
    // every value is read back first, then only the colour area and the
    // panel's controls are shown, filled from the cache. False when the
    // index is -1 or its panel is already shown.
    bool ShowToolSettings(int toolIndex);
    // The tool index whose panel is shown, -1 at start.
    int SettingsToolIndex() const { return settingsTool_; }
    // Fills a panel's controls from the cached settings.
    void FillSettingsPanel(toolpal::Panel panel);
    // Reads every control that holds a setting back into the cache.
    void SaveSettings();
    int CachedSetting(int id) const;
    // Sets a cached setting and shows it in its control.
    void SetSetting(int id, int value);

    // A settings control by id (400 to 447), or null.
    QWidget* Control(int id) const;
    std::optional<int> ReadControl(int controlId) override;
    void WriteControl(int controlId, int value) override;

    // The current tool index (the program's, command - 551).
    int CurrentToolIndex() const;
    // Makes a tool index current: its button pressed, its panel shown, the
    // palette repainted.
    void SetCurrentTool(int toolIndex);
    // Repaints the buttons and swatches.
    void RefreshCurrentTool();
    // The command action of button i (enabled and checked states).
    QAction* ButtonAction(int button) const;
    // Gives every button the state the frame set itself.
    void ApplyButtonStates(const std::array<toolpal::ButtonState, toolpal::kButtons>& states);
    // The picture button i shows now.
    int ShownImage(int button) const;
    bool ButtonVisible(int button) const;
    // The widget that holds the buttons and controls (client pixels).
    QWidget* Client() const;

    // The steps run after presses and drop-list changes: the line panel's
    // enabling rule, the press counters reset, and the fill source taken
    // over while the fill tool is current.
    void RunTimerSteps();

    Services& GetServices() { return services_; }

    // A selection mode was chosen: the selection button shows its picture
    // and counts its presses afresh.
    void SelectionModeChosen();
    int SelectButtonPresses() const { return selectPresses_; }

private:
    class ClientArea;
    friend class ClientArea;

    void createControls();
    void createButtons();
    PaletteHost* host() const;
    CPelmarkDoc* activeDoc() const;
    void applyLineEnabling();
    void showFillSource();
    QColor drawColor() const;
    QColor backColor() const;
    void paintPreview(class QPainter& p, const QRect& r) const;

    // Mouse of the client area.
    void press(const QPoint& pos);
    void doubleClick(const QPoint& pos);
    void release(const QPoint& pos);
    void editBackgroundColor(CPelmarkDoc* doc);
    void openSelectModePalette();
    void penButtonPressed(int button);
    void startPressTimer();

    QPointer<QWidget> owner_;
    ClientArea* client_ = nullptr;
    QTimer* pressTimer_ = nullptr;
    std::map<int, QPointer<QWidget>> controls_;
    std::map<int, int> cache_;
    std::array<QAction*, toolpal::kButtons> actions_{};
    std::vector<QPixmap> images_, disabledImages_;
    Services services_;
    int settingsTool_ = -1;
    bool filling_ = false;
    int pressedButton_ = -1;
    // Presses since the last timer step: background swatch, selection
    // button, custom pen button (and which one).
    int backPresses_ = 0;
    int selectPresses_ = 0;
    int penPresses_ = 0;
    int penPressButton_ = -1;
    bool storedDocked_ = true;
    bool saved_ = false;
};
