#include "palettes/tool_settings_layout.h"

#include <algorithm>
#include <array>

namespace toolpal {

namespace {

using K = ControlKind;

// Labels and edits beside each other: labels from x 10 up to the edit at 40.
QRect label(int top) { return QRect(QPoint(10, top), QPoint(39, top + 17)); }
QRect box(int left, int top, int right, int bottom) { return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)); }

const std::vector<ControlLayout>& table() {
    static const std::vector<ControlLayout> layouts = {
        {400, K::Frame, box(4, 187, 78, 267), nullptr, {}},
        {401, K::DropList, box(10, 191, 76, 311), nullptr, {}},
        {402, K::Label, label(221), "", {}},
        {403, K::Edit, box(40, 221, 76, 239), nullptr, {}},
        {404, K::Label, label(241), "", {}},
        {405, K::Edit, box(40, 241, 76, 259), nullptr, {}},
        {406, K::Frame, box(4, 114, 78, 182), nullptr, {}},
        {407, K::Label, box(10, 126, 49, 146), "描画色", {}},
        {408, K::Swatch, box(49, 122, 73, 142), nullptr, {}},
        {409, K::Label, box(10, 156, 49, 176), "背景色", {}},
        {410, K::Swatch, box(49, 152, 73, 172), nullptr, {}},
        {411, K::Frame, box(4, 187, 78, 347), nullptr, {}},
        {412, K::DropList, box(10, 191, 76, 311), nullptr, {"标准", "４点式"}},
        {413, K::Label, label(221), "直径：", {}},
        {414, K::Edit, box(40, 221, 76, 239), nullptr, {}},
        {415, K::DropList, box(8, 251, 76, 371), nullptr, {"实线", "虚线"}},
        {416, K::Label, label(281), "粗细：", {}},
        {417, K::Edit, box(40, 281, 76, 299), nullptr, {}},
        {418, K::Label, label(301), "间隔：", {}},
        {419, K::Edit, box(40, 301, 76, 319), nullptr, {}},
        {420, K::Frame, box(4, 187, 78, 267), nullptr, {}},
        {421, K::DropList, box(8, 191, 76, 311), nullptr, {"任意", "比率", "固定"}},
        {422, K::Label, label(221), "幅：", {}},
        {423, K::Edit, box(40, 221, 76, 239), nullptr, {}},
        {424, K::Label, label(241), "高：", {}},
        {425, K::Edit, box(40, 241, 76, 259), nullptr, {}},
        {426, K::Frame, box(4, 187, 78, 327), nullptr, {}},
        {427, K::DropList, box(8, 191, 76, 311), nullptr, {"任意", "比率", "固定"}},
        {428, K::DropList, box(8, 231, 76, 351), nullptr, {"内侧", "中央", "外侧"}},
        {429, K::Label, label(261), "直径：", {}},
        {430, K::Edit, box(40, 261, 76, 279), nullptr, {}},
        {431, K::Label, label(281), "横：", {}},
        {432, K::Edit, box(40, 281, 76, 299), nullptr, {}},
        {433, K::Label, label(301), "纵：", {}},
        {434, K::Edit, box(40, 301, 76, 319), nullptr, {}},
        {435, K::Frame, box(4, 187, 78, 267), nullptr, {}},
        {436, K::DropList, box(8, 191, 76, 311), nullptr, {"任意", "比率", "固定"}},
        {437, K::Label, label(221), "横：", {}},
        {438, K::Edit, box(40, 221, 76, 239), nullptr, {}},
        {439, K::Label, label(241), "纵：", {}},
        {440, K::Edit, box(40, 241, 76, 259), nullptr, {}},
        {441, K::Frame, box(4, 187, 78, 347), nullptr, {}},
        {442, K::DropList, box(8, 191, 76, 311), nullptr, {"描画色", "模型"}},
        {443, K::Check, box(10, 217, 75, 237), "羽化边界", {}},
        {444, K::Label, label(241), "幅：", {}},
        {445, K::Edit, box(40, 241, 76, 259), nullptr, {}},
        {446, K::Label, box(20, 273, 70, 289), "", {}},
        {447, K::Swatch, box(19, 291, 67, 339), nullptr, {}},
    };
    return layouts;
}

std::vector<int> range(int first, int last) {
    std::vector<int> ids;
    for (int id = first; id <= last; ++id) ids.push_back(id);
    return ids;
}

}  // namespace

const ControlLayout* FindControl(int id) {
    if (id < kFirstControl || id > kLastControl) return nullptr;
    return &table()[size_t(id - kFirstControl)];
}

std::span<const ControlLayout> Controls() { return table(); }

bool HoldsValue(const ControlLayout& layout) {
    return layout.kind == K::DropList || layout.kind == K::Edit || layout.kind == K::Check;
}

int StartValue(int id) {
    switch (id) {
    case 403: case 414: case 417: case 423: case 425: case 428: case 430: case 432:
    case 434: case 438: case 440:
        return 1;
    default:
        return 0;  // the drop lists, 405, 419, the feather edge and width
    }
}

Panel PanelOfTool(int toolIndex) {
    switch (toolIndex) {
    case 0: return Panel::Selection;
    case 4: return Panel::Line;
    case 5: return Panel::Fill;
    case 6: case 7: return Panel::Outline;
    case 9: case 10: return Panel::Filled;
    default: return Panel::None;
    }
}

std::vector<int> PanelControls(Panel panel) {
    switch (panel) {
    case Panel::Selection: return range(420, 425);
    case Panel::Line: return range(411, 419);
    case Panel::Fill: return range(441, 447);
    case Panel::Outline: return range(426, 434);
    case Panel::Filled: return range(435, 440);
    case Panel::None: break;
    }
    return {kSelectionFrame};
}

std::vector<int> ColorAreaControls() { return range(406, 410); }

LineEnabling LinePanelEnabling(int lineType, int lineStyle) {
    if (lineType == 1) return {false, false};
    return {true, lineStyle == 1};
}

}  // namespace toolpal
