#include "palettes/tool_buttons.h"

namespace toolpal {

namespace {

const char* const kToolNames[kButtons] = {
    "范围选择", "魔棒",     "手 ",     "到",     "线",     "钉",   "矩形",
    "圆",       "缩放",     "填充矩形", "填充圆", "文字",   "水平翻转", "上下反转",
    "上移动",   "左移动",   "右移动",   "下移动", "放大缩小", "翻转", "消除",
};

const char* const kPenNames[kLastPenSize - kFirstPenSize + 1] = {
    "笔尖大小(1像素)",  "笔尖大小(3像素)",  "笔尖大小(5像素)", "笔尖大小(7像素)", "笔尖大小(13像素)",
    "笔尖大小(15像素)", "笔尖大小",         "笔尖大小",         "笔尖大小",
};

constexpr int kFixedDiameters[6] = {1, 3, 5, 7, 13, 15};

bool inRange(int value, int first, int last) { return value >= first && value <= last; }

// Edit buttons and pen sizes are enabled only with the pen current or with
// the selection or wand tool and a selection.
bool editEnabled(const ToolContext& c) {
    if (c.tool == tools::kPenTool) return true;
    return (c.tool == tools::kSelectTool || c.tool == tools::kWandTool) && c.selection;
}

}  // namespace

QRect ButtonRect(int button) {
    if (button < 0 || button >= kButtons) return {};
    int row = button / kColumns;
    int top = row * kRowPitch + (row >= 1 ? kFirstRowGap : 0) +
              (row >= kFirstEditButton / kColumns ? kPanelSpace : 0);
    return QRect((button % kColumns) * kButtonWidth, top, kButtonWidth, kButtonHeight);
}

int ButtonAt(QPoint point) {
    for (int i = 0; i < kButtons; ++i)
        if (ButtonRect(i).contains(point)) return i;
    return -1;
}

QSize GridSize() {
    QRect last = ButtonRect(kButtons - 1);
    return QSize(kColumns * kButtonWidth + 1, last.bottom() + 1);
}

bool ButtonShown(int button, int toolIndex) {
    if (!IsEditButton(button)) return button >= 0 && button < kButtons;
    switch (toolIndex) {
    case 4: case 5: case 6: case 7: case 9: case 10: return false;
    default: return true;
    }
}

int ButtonImage(int button, int toolIndex, int selectionMode) {
    if (IsEditButton(button) && toolIndex == tools::kPenTool - kFirstToolCommand)
        return 27 + button - kFirstEditButton;
    if (button == 0 && selectionMode > 0 && selectionMode < 4) return 23 + selectionMode;
    return button;
}

QString ToolStatusName(int command) {
    if (inRange(command, kFirstToolCommand, kLastButtonCommand))
        return QString::fromUtf8(kToolNames[command - kFirstToolCommand]);
    if (IsPenSize(command)) return QString::fromUtf8(kPenNames[command - kFirstPenSize]);
    return {};
}

int PenButtonDiameter(int button, const std::array<int, 3>& customSizes) {
    int i = button - kFirstEditButton;
    if (i >= 0 && i < 6) return kFixedDiameters[i];
    if (i >= 6 && i < 9) return customSizes[size_t(i - 6)];
    return 1;
}

CommandState ToolCommandState(int command, const ToolContext& c) {
    CommandState state;
    if (!c.hasDocument) return state;
    const bool pen = c.tool == tools::kPenTool;
    const bool penChoice = IsPenSize(command) || (pen && inRange(command, kFirstEditCommand, kLastButtonCommand));
    if (penChoice && pen)
        state.checked = (IsPenSize(command) ? command : command + kFirstPenSize - kFirstEditCommand) == c.penId;
    else
        state.checked = command == c.tool;
    if (c.toolWindowsDisabled || c.toolsLocked || c.guideEditing) return state;
    const bool editRule = inRange(command, kFirstEditCommand, tools::kRotateTool) || IsPenSize(command) ||
                          (command == kLastButtonCommand && pen);
    state.enabled = editRule ? editEnabled(c) : true;
    return state;
}

std::array<ButtonState, kButtons> PluginButtonStates(int command, int tool, int penId, bool selection) {
    std::array<ButtonState, kButtons> states{};
    if (IsPenSize(command)) command += kFirstEditCommand - kFirstPenSize;
    const bool editButton = inRange(command, kFirstEditCommand, kLastButtonCommand);
    int deciding = command;
    if (tool == tools::kPenTool && editButton)
        deciding = tool;
    else if ((tool == tools::kSelectTool || tool == tools::kWandTool) && editButton && command != tools::kScaleTool &&
             command != tools::kRotateTool)
        deciding = tool;
    auto disable = [&](int last) {
        for (int i = kFirstEditButton; i <= last; ++i) states[size_t(i)].enabled = false;
    };
    switch (deciding) {
    case tools::kSelectTool: case tools::kWandTool: case tools::kHandTool: case tools::kZoomTool: case tools::kTextTool:
        if (!selection) disable(19);
        break;
    case tools::kPenTool:
        for (int i = kFirstEditButton; i < kButtons; ++i)
            if (ButtonPenSize(i) == penId) states[size_t(i)].pressed = true;
        break;
    case tools::kScaleTool: case tools::kRotateTool:
        disable(19);
        break;
    default:
        disable(20);
        break;
    }
    if (inRange(deciding, kFirstToolCommand, kLastButtonCommand))
        states[size_t(deciding - kFirstToolCommand)].pressed = true;
    return states;
}

}  // namespace toolpal
