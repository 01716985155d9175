#include "plugins/cinereel/sheet_frame.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int CountLayers(const PluginToolRecord* record) {
    if (!record || !record->layers) return 0;
    int count = 0;
    while (count < kMaxSheetLayers && record->layers[count]) ++count;
    return count;
}

namespace cinereel {

std::string RowText(int index, const SheetFrame& f) {
    char text[64];
    std::snprintf(text, sizeof text, "%03d   %04d,%04d  %04d,%04d  %04d", index, f.left, f.top,
                  f.right - f.left, f.bottom - f.top, f.delay);
    return text;
}

void UnpackFrames(const PackedAnimTable& table, SheetFrame* frames) {
    for (int i = 0; i < kSheetFrames; ++i) {
        PackedAnimFrame p = PackedAnimRead(&table, i);
        SheetFrame& f = frames[i];
        f.left = p.x;
        f.top = p.y;
        f.right = p.x + p.width;
        f.bottom = p.y + p.height;
        f.delay = p.delay;
    }
}

void PackFrames(const SheetFrame* frames, PackedAnimTable& table) {
    for (int i = 0; i < kSheetFrames; ++i) {
        const SheetFrame& f = frames[i];
        PackedAnimFrame p{f.left, f.top, f.right - f.left, f.bottom - f.top, f.delay};
        PackedAnimWrite(&table, i, &p);
    }
    PackedAnimSetValid(&table, 1);
}

EditRuleResult ApplyEditRule(const std::string& text, const std::string& accepted, int oldValue,
                             int minimum, int maximum) {
    EditRuleResult result;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        result.accepted = false;
        result.value = oldValue;
        result.writeBack = accepted;
        return result;
    }
    if (text.empty()) {
        result.value = minimum;  // written into the edit when it loses the focus
        return result;
    }
    long long value = 0;
    bool replaced = false;
    for (char c : text) {
        value = value * 10 + (c - '0');
        if (value > maximum) {
            value = maximum;
            replaced = true;
            break;
        }
    }
    if (value < minimum) {
        value = minimum;
        replaced = true;
    }
    result.value = int(value);
    if (replaced) result.writeBack = std::to_string(value);
    return result;
}

int MultiSelectionState(const std::vector<int>& rows) {
    if (rows.size() < 2) return 0;
    return int(rows.size()) + rows.front() == rows.back() + 1 ? 1 : 2;
}

std::optional<Cell> CellAt(int x, int y, int imageWidth, int imageHeight, int cellWidth,
                           int cellHeight) {
    if (cellWidth <= 0 || cellHeight <= 0 || x < 0 || y < 0) return std::nullopt;
    int columns = imageWidth / cellWidth;
    int rows = imageHeight / cellHeight;
    Cell cell{x / cellWidth, y / cellHeight};
    if (cell.column >= columns || cell.row >= rows) return std::nullopt;
    return cell;
}

RangeFields MoveRange::Normalised() const {
    return {std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1)};
}

void RangeDrag::Press(MoveRange& range, int x, int y, int width, int height) {
    RangeFields n = range.Normalised();
    dragging_ = true;
    lastX_ = x;
    lastY_ = y;
    start_ = range;
    moving_ = x > n.x && x < n.x + n.width && y > n.y && y < n.y + n.height;
    if (!moving_) {
        range.x1 = range.x2 = std::clamp(x, 0, width);
        range.y1 = range.y2 = std::clamp(y, 0, height);
    }
}

void RangeDrag::Move(MoveRange& range, int x, int y, int width, int height) {
    if (!dragging_) return;
    if (moving_) {
        int dx = x - lastX_, dy = y - lastY_;
        range.x1 = std::clamp(range.x1 + dx, 0, width);
        range.x2 = std::clamp(range.x2 + dx, 0, width);
        range.y1 = std::clamp(range.y1 + dy, 0, height);
        range.y2 = std::clamp(range.y2 + dy, 0, height);
    } else {
        range.x2 = std::clamp(x, 0, width);
        range.y2 = std::clamp(y, 0, height);
    }
    lastX_ = x;
    lastY_ = y;
}

void RangeDrag::Release(MoveRange& range, int x, int y, int width, int height) {
    Move(range, x, y, width, height);
    dragging_ = false;
    moving_ = false;
}

}  // namespace cinereel
