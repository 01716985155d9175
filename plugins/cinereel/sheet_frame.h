// One animation frame on the sheet and the rules that work on frames, cells
// and ranges without any window: the numeric edit rule, cell picking, the
// move-range drag, trimming, the list row text and the frame table packing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "plugin_api/plugin_api.h"

// Image coordinates, y from the top, right and bottom exclusive; the layer
// index is always 0.
struct SheetFrame {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    int32_t delay;
    int32_t layer;
};
static_assert(sizeof(SheetFrame) == 24, "SheetFrame is six 32-bit values");

inline constexpr int kSheetFrames = 128;
inline constexpr int kDefaultDelay = 100;
inline constexpr int kMaxDelay = 9999;
inline constexpr int kMaxCellSize = 1024;
inline constexpr int kMaxSheetLayers = 100;

inline bool FrameEmpty(const SheetFrame& f) { return f.left == f.right || f.top == f.bottom; }

// The layers of a record's table before the first null, at most 100 (the
// table has 100 slots, all used by a 100-layer document).
int CountLayers(const PluginToolRecord* record);

namespace cinereel {

// The list row of frame `index`: "%03d   %04d,%04d  %04d,%04d  %04d".
std::string RowText(int index, const SheetFrame& frame);

// The frames of a table: 128 empty frames with delay 100 when its valid
// bit is clear. The layer fields are left as they are.
void UnpackFrames(const PackedAnimTable& table, SheetFrame* frames);
// The frames into the table (empty ones too), then the valid bit.
void PackFrames(const SheetFrame* frames, PackedAnimTable& table);

// The numeric edit rule. `text` is the edit's text now, `accepted` the last
// text the rule took.
struct EditRuleResult {
    bool accepted = true;      // false: a character other than a digit
    int value = 0;             // the value to apply (the old one when refused)
    std::optional<std::string> writeBack;  // text to put into the edit
};
EditRuleResult ApplyEditRule(const std::string& text, const std::string& accepted, int oldValue,
                             int minimum, int maximum);

// 0 for fewer than two rows, 1 for contiguous rows, 2 otherwise; rows in
// ascending order.
int MultiSelectionState(const std::vector<int>& rows);

// The cell under an image point: whole cells only. Column and row, or
// nothing beyond the last whole column or row (or outside the image).
struct Cell {
    int column;
    int row;
    bool operator==(const Cell&) const = default;
};
std::optional<Cell> CellAt(int x, int y, int imageWidth, int imageHeight, int cellWidth,
                           int cellHeight);

// A rectangle as x, y, width, height.
struct RangeFields {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const RangeFields&) const = default;
};

// The move range: two corners in image pixels and the drag that changes it.
struct MoveRange {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    RangeFields Normalised() const;
    static MoveRange From(const RangeFields& f) { return {f.x, f.y, f.x + f.width, f.y + f.height}; }
};

class RangeDrag {
public:
    // Button down at an image point: a point strictly inside the range
    // starts a move, any other a new range there (clamped into the image).
    void Press(MoveRange& range, int x, int y, int width, int height);
    // The pointer moved (and the button is up at the end: the same).
    void Move(MoveRange& range, int x, int y, int width, int height);
    void Release(MoveRange& range, int x, int y, int width, int height);
    bool Dragging() const { return dragging_; }
    bool Moving() const { return moving_; }

private:
    bool dragging_ = false;
    bool moving_ = false;
    int lastX_ = 0, lastY_ = 0;
    MoveRange start_;
};

// The range cut to the image, then shrunk while its outer rows and columns
// hold only index 0. `pixel(x, y)` reads layer 0 at an image point (y from
// the top) inside the image.
template <class Pixel>
RangeFields TrimRange(RangeFields r, int imageWidth, int imageHeight, Pixel pixel);

}  // namespace cinereel

#include "plugins/cinereel/sheet_frame_trim.h"
