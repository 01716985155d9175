// The animation maker's rules without windows: the edit rule, cell picking,
// the move-range drag, trimming, the list row text and the table packing.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "plugins/cinereel/sheet_frame.h"

namespace cinereel {
namespace {

TEST(EditRule, DigitsUpToTheMaximumAndTheMinimumBelow) {
    struct Case {
        const char* text;
        int min, max;
        bool accepted;
        int value;
        const char* written;  // null: nothing written back
    } cases[] = {
        {"0", 1, 9999, true, 1, "1"},
        {"12000", 1, 9999, true, 9999, "9999"},
        {"250", 1, 9999, true, 250, nullptr},
        {"12a", 1, 9999, false, 77, "77"},
        {"-5", 0, 100, false, 77, "77"},
        {"", 1, 9999, true, 1, nullptr},
        {"2000", 1, 300, true, 300, "300"},
        {"0", 0, 50, true, 0, nullptr},
    };
    for (const Case& c : cases) {
        EditRuleResult r = ApplyEditRule(c.text, "77", 77, c.min, c.max);
        EXPECT_EQ(r.accepted, c.accepted) << c.text;
        EXPECT_EQ(r.value, c.value) << c.text;
        EXPECT_EQ(r.writeBack.has_value(), c.written != nullptr) << c.text;
        if (c.written && r.writeBack) {
            EXPECT_EQ(*r.writeBack, c.written) << c.text;
        }
    }
}

TEST(CellAt, WholeCellsOnly) {
    struct Case {
        int x, y, width, height, cell;
        std::optional<Cell> expected;
    } cases[] = {
        {0, 0, 100, 70, 32, Cell{0, 0}},
        {40, 33, 100, 70, 32, Cell{1, 1}},
        {95, 10, 100, 70, 32, Cell{2, 0}},      // last whole column ends at 96
        {96, 10, 100, 70, 32, std::nullopt},    // beyond it
        {10, 64, 100, 70, 32, std::nullopt},    // row 2 is not whole
        {5, 5, 20, 70, 32, std::nullopt},       // narrower than a cell
        {-1, 5, 100, 70, 32, std::nullopt},
        {5, 5, 100, 70, 0, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CellAt(c.x, c.y, c.width, c.height, c.cell, c.cell), c.expected) << c.x << "," << c.y;
}

TEST(RangeDrag, NewRangeNormalisesAndAMoveShrinksAtTheEdge) {
    MoveRange range;
    RangeDrag drag;
    drag.Press(range, 50, 40, 100, 70);
    drag.Release(range, 20, 10, 100, 70);  // dragged up-left
    EXPECT_EQ(range.Normalised(), (RangeFields{20, 10, 30, 30}));
    drag.Press(range, 30, 20, 100, 70);     // inside: a move
    EXPECT_TRUE(drag.Moving());
    drag.Release(range, 90, 20, 100, 70);   // 60 to the right: x 80..110 hits 100
    EXPECT_EQ(range.Normalised(), (RangeFields{80, 10, 20, 30}));
    drag.Press(range, 150, -5, 100, 70);    // outside the image: clamped corner
    EXPECT_FALSE(drag.Moving());
    EXPECT_EQ(range.Normalised(), (RangeFields{100, 0, 0, 0}));
}

TEST(TrimRange, BoundingBoxEmptyAndCutToTheImage) {
    const int w = 100, h = 70;
    std::vector<uint8_t> pixels(size_t(w * h), 0);
    for (int y = 12; y < 20; ++y)
        for (int x = 30; x < 41; ++x) pixels[size_t(y * w + x)] = 3;
    auto pixel = [&](int x, int y) { return pixels[size_t(y * w + x)] != 0; };
    EXPECT_EQ(TrimRange({20, 5, 40, 40}, w, h, pixel), (RangeFields{30, 12, 11, 8}));
    EXPECT_EQ(TrimRange({60, 30, 20, 20}, w, h, pixel).width, 0);
    // Half outside the image: only its inside is read.
    pixels[size_t(69 * w + 99)] = 1;
    EXPECT_EQ(TrimRange({90, 60, 40, 40}, w, h, pixel), (RangeFields{99, 69, 1, 1}));
    EXPECT_EQ(TrimRange({200, 300, 10, 10}, w, h, pixel).width, 0);
}

TEST(FrameTable, RowTextPackingAndAnInvalidTable) {
    EXPECT_EQ(RowText(7, SheetFrame{32, 0, 64, 32, 100, 0}), "007   0032,0000  0032,0032  0100");
    SheetFrame frames[kSheetFrames]{};
    frames[0] = {3000, 10, 3500, 4000, 16383, 0};
    frames[1] = {1, 2, 3, 4, 5, 0};
    PackedAnimTable table{};
    PackFrames(frames, table);
    EXPECT_TRUE(PackedAnimIsValid(&table));
    SheetFrame back[kSheetFrames]{};
    UnpackFrames(table, back);
    EXPECT_EQ(std::memcmp(back, frames, sizeof back), 0);

    PackedAnimTable invalid;
    std::memset(&invalid, 0x5a, sizeof invalid);
    PackedAnimSetValid(&invalid, 0);
    UnpackFrames(invalid, back);
    for (const SheetFrame& f : back) {
        EXPECT_TRUE(FrameEmpty(f));
        EXPECT_EQ(f.delay, 100);
    }
}

TEST(CountLayers, StopsAtTheFirstNullOrAtTheHundredthSlot) {
    // A table of exactly 100 slots on the heap, every one used.
    auto table = std::make_unique<MemHandle[]>(kMaxSheetLayers);
    for (int i = 0; i < kMaxSheetLayers; ++i) table[size_t(i)] = reinterpret_cast<MemHandle>(uintptr_t(i + 1));
    PluginToolRecord record{};
    record.layers = table.get();
    EXPECT_EQ(CountLayers(&record), 100);
    table[4] = nullptr;
    EXPECT_EQ(CountLayers(&record), 4);
    record.layers = nullptr;
    EXPECT_EQ(CountLayers(&record), 0);
}

TEST(MultiSelection, States) {
    EXPECT_EQ(MultiSelectionState({}), 0);
    EXPECT_EQ(MultiSelectionState({4}), 0);
    EXPECT_EQ(MultiSelectionState({3, 4, 5}), 1);
    EXPECT_EQ(MultiSelectionState({3, 5}), 2);
}

}  // namespace
}  // namespace cinereel
