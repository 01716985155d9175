// The editor's two control bars: modeless dialogs whose controls are found
// by id, with the command table the editor gives them.
#pragma once

#include <functional>

#include "framework/dialog.h"

class CaBar : public framework::Dialog {
    Q_OBJECT
public:
    using Declare = std::function<void(framework::CommandTable&)>;
    CaBar(int templateId, Declare declare, QWidget* parent);

protected:
    void DeclareCommands(framework::CommandTable& table) override;
    // Enter and Escape do not end a bar.
    void OnOK() override {}
    void OnCancel() override {}

private:
    Declare declare_;
};

// Control ids of bar 16016.
enum : int {
    IDC_FRAME_LIST = 14012,
    IDC_FINISH = 14013,
    IDC_RESET = 14014,
    IDC_PREVIEW = 14018,
    IDC_SAVE_LIST = 14050,
    IDC_LOAD_LIST = 14051,
    IDC_WRITE_GIF = 14019,
    IDC_REPEAT = 14022,
    IDC_TRANSPARENT = 14021,
    IDC_INTERLACE = 14020,
    IDC_MODE_FRAME = 14023,
    IDC_MODE_RANGE = 14024,
    IDC_CELL_WIDTH = 14025,
    IDC_CELL_HEIGHT = 14026,
    IDC_CELL_WIDTH_SPIN = 14029,
    IDC_CELL_HEIGHT_SPIN = 14032,
    IDC_FRAME_DELAY = 14027,
    IDC_RANGE_X = 14043,
    IDC_RANGE_Y = 14045,
    IDC_RANGE_X_SPIN = 14044,
    IDC_RANGE_Y_SPIN = 14046,
    IDC_RANGE_WIDTH = 14028,
    IDC_RANGE_HEIGHT = 14041,
    IDC_RANGE_WIDTH_SPIN = 14031,
    IDC_RANGE_HEIGHT_SPIN = 14042,
    IDC_RANGE_DELAY = 14047,
    IDC_REGISTER_FILLED = 14048,
    IDC_REGISTER_AS_IS = 14049,
    IDC_FILE_NAME = 14007,
    IDC_ZOOM_FIRST = 16000,
    IDC_ZOOM_LAST = 16005,
};

// The base-position radios in tab order (index 0 to 8).
inline constexpr int kBasePositionIds[9] = {14030, 14035, 14038, 14033, 14036, 14039, 14034, 14037, 14040};
inline constexpr int kZooms[6] = {1, 2, 4, 6, 8, 16};

// Lays out bar 16016 (its list box is the given one) and bar 16017.
void CreateEditBarControls(CaBar& bar, QWidget* list);
void CreateZoomBarControls(CaBar& bar);
