// The tool settings the drawing tools read by index (GetToolOption): each
// index stands for one control of the tool palette's settings panels. The
// value is re-read from the control when it exists, clamped, written back
// into edit fields, cached, and returned; without the control the cached
// value is returned.
#pragma once

#include <array>
#include <optional>

enum ToolOptionIndex {
    kFillSource = 0,          // 442, kept by the tool palette's timer
    kFeatherEdge = 1,         // 443, check box
    kFeatherWidth = 2,        // 445, 0..50
    kLineType = 3,            // 412
    kLineDiameter = 4,        // 414, 1..100
    kOutlineDiameter = 5,     // 430, 1..100
    kOutlineSizeMode = 6,     // 427
    kOutlineWidth = 7,        // 432, at least 1
    kOutlineHeight = 8,       // 434, at least 1
    kFilledSizeMode = 9,      // 436
    kFilledWidth = 10,        // 438, at least 1
    kFilledHeight = 11,       // 440, at least 1
    kBorderPosition = 12,     // 428
    kHiddenChoice = 13,       // 401
    kHiddenValue = 14,        // 403, at least 1
    kHiddenOffset = 15,       // 405, at least 0
    kLineStyle = 16,          // 415
    kLineThickness = 17,      // 417, at least 1
    kLineGap = 18,            // 419, at least 0
    kSelectionSizeMode = 19,  // 421
    kSelectionWidth = 20,     // 423, at least 1
    kSelectionHeight = 21,    // 425, at least 0
    kToolOptionCount = 22,
};

// The controls behind the options; the tool palette gives its own.
class ToolOptionControls {
public:
    virtual ~ToolOptionControls() = default;
    // An edit field's number, a check box's state, or a combo box's selected
    // index; empty when there is no such control (or nothing is selected).
    virtual std::optional<int> ReadControl(int controlId) = 0;
    // Shows a clamped number in an edit field.
    virtual void WriteControl(int controlId, int value) = 0;
};

class ToolOptions {
public:
    ToolOptions();

    // The value of option `index` (0 for an index outside 0..21).
    int GetToolOption(int index);
    void SetControls(ToolOptionControls* controls) { controls_ = controls; }
    // Index 0 is not read from its control but kept by the tool palette.
    void SetFillSource(int value) { cache_[kFillSource] = value; }
    int Cached(int index) const { return index >= 0 && index < kToolOptionCount ? cache_[size_t(index)] : 0; }

    // The control id of an option and how its value is held.
    enum class Kind { Combo, Check, Edit, Kept };
    struct Rule {
        int control;
        Kind kind;
        int min;
        int max;  // INT_MAX: no upper bound
    };
    static const Rule& RuleOf(int index);

private:
    std::array<int, kToolOptionCount> cache_;
    ToolOptionControls* controls_ = nullptr;
};
