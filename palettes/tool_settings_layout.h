// The tool palette's 48 settings controls (ids 400 to 447) without widgets:
// kind, place, text and items of each, the start values of the settings they
// hold, and which controls make up the panel of each tool.
#pragma once

#include <span>
#include <vector>

#include <QRect>

namespace toolpal {

inline constexpr int kFirstControl = 400;
inline constexpr int kLastControl = 447;
inline constexpr int kControls = kLastControl - kFirstControl + 1;

// Controls by their role.
enum ControlId {
    kColorFrame = 406,
    kDrawColorSwatch = 408,
    kBackColorSwatch = 410,
    kLineFrame = 411,
    kLineType = 412,
    kLineDiameter = 414,
    kLineStyle = 415,
    kLineThickness = 417,
    kLineGap = 419,
    kSelectionFrame = 420,
    kOutlineSizeMode = 427,
    kBorderPosition = 428,
    kFillFrame = 441,
    kFillSource = 442,
    kFeatherEdge = 443,
    kFeatherWidth = 445,
    kFillSourceName = 446,
    kFillPreview = 447,
};

enum class ControlKind { Frame, DropList, Label, Edit, Check, Swatch };

struct ControlLayout {
    int id;
    ControlKind kind;
    // Left, top, right, bottom in client pixels; for a drop list the bottom
    // includes its 120-pixel list.
    QRect rect;
    const char* text;  // label or check box text, else null
    std::vector<const char*> items;  // drop list items
};

// Height of a drop list's box and of the list shown below it.
inline constexpr int kDropListBox = 20;
inline constexpr int kDropListPopup = 120;

// The control of an id 400..447, or null.
const ControlLayout* FindControl(int id);
// All 48, by id.
std::span<const ControlLayout> Controls();
// True for the controls that hold a setting (drop lists, edits, the check box).
bool HoldsValue(const ControlLayout& layout);
// The start value of a setting.
int StartValue(int id);

enum class Panel { None, Selection, Line, Fill, Outline, Filled };
// The panel of a tool index (command - 551): 0 selection, 4 line, 5 fill,
// 6 and 7 outline shapes, 9 and 10 filled shapes; None for the others.
Panel PanelOfTool(int toolIndex);
// The controls a panel shows (None shows only the empty frame 420).
std::vector<int> PanelControls(Panel panel);
// The colour area: frame, labels and the two swatches (406 to 410).
std::vector<int> ColorAreaControls();

// The line panel's enabling rule: with the four-point curve (line type 1)
// the style list and the dash fields are disabled; with a straight line the
// style list is enabled and the dash fields only for the dashed style.
struct LineEnabling {
    bool style;
    bool dash;
};
LineEnabling LinePanelEnabling(int lineType, int lineStyle);

}  // namespace toolpal
