// The tool palette's 21 buttons without widgets: their commands and status
// names, where they lie, which picture each shows, and the enabled and
// pressed states the tool commands get from the document's tool.
//
// Buttons 0 to 11 choose a tool (commands 551 to 562); buttons 12 to 20 are
// the edit buttons 563 to 571, which stand for the pen sizes 600 to 608
// while the pen is the current tool.
#pragma once

#include <array>

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include "tools/pen_stamps.h"
#include "tools/tool_dispatch.h"

namespace toolpal {

inline constexpr int kFirstToolCommand = 551;
inline constexpr int kFirstEditCommand = 563;
inline constexpr int kLastButtonCommand = 571;
inline constexpr int kToneFlagCommand = 572;
inline constexpr int kFirstPenSize = tools::kPenSingle;
inline constexpr int kLastPenSize = tools::kPenCustomLast;
inline constexpr int kButtons = 21;
inline constexpr int kColumns = 3;
inline constexpr int kFirstEditButton = 12;
inline constexpr int kFirstCustomPenButton = 18;


// Button geometry: 29 x 27 buttons whose rows overlap by one pixel, 4 pixels
// between the first and the second row, and 162 pixels left free above
// button 12 for the colour swatches and the settings panel.
inline constexpr int kButtonWidth = 29;
inline constexpr int kButtonHeight = 27;
inline constexpr int kRowPitch = 26;
inline constexpr int kFirstRowGap = 4;
inline constexpr int kPanelSpace = 162;
// Presses in this band (from the top) are ignored while the selection tool
// or the pen is current.
inline constexpr int kPanelBandTop = 106;
inline constexpr int kPanelBandBottom = 271;

// The command of button i (551 + i).
constexpr int ButtonCommand(int button) { return kFirstToolCommand + button; }
// The pen size a button stands for while the pen is current (600 + i - 12).
constexpr int ButtonPenSize(int button) { return kFirstPenSize + button - kFirstEditButton; }
constexpr bool IsEditButton(int button) { return button >= kFirstEditButton && button < kButtons; }
constexpr bool IsPenSize(int command) { return command >= kFirstPenSize && command <= kLastPenSize; }

// The rectangle of button i in client pixels.
QRect ButtonRect(int button);
// The button under the point, or -1.
int ButtonAt(QPoint point);
// The size of the whole button grid.
QSize GridSize();
// Buttons 12 to 20 are not drawn while the tool index (command - 551) is one
// with a settings panel that covers them (line, fill, outline and filled
// shapes).
bool ButtonShown(int button, int toolIndex);
// The picture of button i in the palette strip: the pen sizes (27 to 35) for
// buttons 12 to 20 while the pen is current, 23 + mode for the selection
// button when a mode other than 0 is chosen, else i.
int ButtonImage(int button, int toolIndex, int selectionMode);

// The name of a tool command or pen size in the status text ("范围选择",
// "笔尖大小(5像素)"); empty for others.
QString ToolStatusName(int command);
// The diameter a pen-size button gives the line tool: 1, 3, 5, 7, 13, 15,
// or the size of custom pen 0..2 (`customSizes`).
int PenButtonDiameter(int button, const std::array<int, 3>& customSizes);

// What decides a tool command's state.
struct ToolContext {
    bool hasDocument = false;
    bool toolWindowsDisabled = false;
    bool toolsLocked = false;   // lock 0
    bool guideEditing = false;
    int tool = tools::kHandTool;       // the document's current tool
    int penId = kFirstPenSize;  // the document's pen
    bool selection = false;     // a selection is present
};
struct CommandState {
    bool enabled = false;
    bool checked = false;
};
// The menu and button state of a command 551 to 572 or 600 to 608.
CommandState ToolCommandState(int command, const ToolContext& context);

// The states the frame gives the 21 buttons itself while a plug-in runs
// (the idle update does not reach the palette then), after `command` with
// the document's tool, pen and selection.
struct ButtonState {
    bool enabled = true;
    bool pressed = false;
};
std::array<ButtonState, kButtons> PluginButtonStates(int command, int tool, int penId, bool selection);

}  // namespace toolpal
