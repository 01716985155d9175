#include <gtest/gtest.h>

#include "document/unused_colors.h"

namespace {

RgbaEntry entry(int i) { return {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), uint8_t(i * 3 + 1)}; }

bool same(const RgbaEntry& a, const RgbaEntry& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

TEST(UnusedColors, UsedEntriesCloseUpAndEqualOnesJoinTheFirst) {
    std::array<RgbaEntry, 256> table;
    for (int i = 0; i < 256; ++i) table[size_t(i)] = entry(i);
    table[5] = table[1];    // used, equal to 1: its pixels go to 1
    table[250] = table[3];  // equal to 3 but in a locked row: stays as it is
    std::array<uint8_t, 256> used{};
    for (int i : {0, 1, 3, 5, 250}) used[size_t(i)] = 1;
    const document::UnusedColorPlan plan = document::PlanUnusedColorRemoval(table, used, uint16_t(1u << 15));

    // 0, 1, 3 and the locked row 240..255 stay, in their order.
    std::vector<int> stay = {0, 1, 3};
    for (int i = 240; i < 256; ++i) stay.push_back(i);
    EXPECT_EQ(plan.removed, 256 - int(stay.size()));
    for (size_t k = 0; k < stay.size(); ++k) {
        EXPECT_TRUE(same(plan.table[k], table[size_t(stay[k])])) << k;
        EXPECT_EQ(plan.map[size_t(stay[k])], k) << stay[k];
    }
    for (size_t k = stay.size(); k < 256; ++k) EXPECT_TRUE(same(plan.table[k], RgbaEntry{})) << k;
    EXPECT_EQ(plan.map[5], 1);
}

TEST(UnusedColors, NothingGoesWhenEveryEntryIsUsedOrLocked) {
    std::array<RgbaEntry, 256> table{};  // all equal
    std::array<uint8_t, 256> used{};
    used[0] = 1;
    EXPECT_EQ(document::PlanUnusedColorRemoval(table, used, 0xFFFF).removed, 0);
    used.fill(1);
    // Equal used entries are not all kept.
    EXPECT_EQ(document::PlanUnusedColorRemoval(table, used, 0).removed, 255);
}

}  // namespace
