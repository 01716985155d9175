// The records, codes and packing helpers of the plug-in contract.
#include <climits>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "plugin_api/plugin_api.h"

extern "C" int KvPluginApiFromC(void);

TEST(PluginApi, BuildsAsC) { EXPECT_EQ(KvPluginApiFromC(), 1); }

TEST(PluginApi, ResultMessages) {
    struct Case {
        unsigned code;
        const char* open;
        const char* save;
    };
    const Case cases[] = {
        {1, "文件无法打开。", "文件无法打开。"},
        {2, "文件读取失败。", "文件读取失败。"},
        {3, "文件写入失败。", "文件写入失败。"},
        {4, "内存不足。", "内存不足。"},
        {5, "文件格式不正确。", "文件格式不正确。"},
        {7, "文件无法读取。", "文件不能保存。"},
        {0xffff, "文件无法读取。", "文件不能保存。"},
    };
    EXPECT_EQ(PluginResultMessage(0, 0), nullptr);
    EXPECT_EQ(PluginResultMessage(0, 1), nullptr);
    // A cancel by the user has no message.
    EXPECT_EQ(PluginResultMessage(PLUGIN_RESULT_CANCELLED, 0), nullptr);
    EXPECT_EQ(PluginResultMessage(PLUGIN_RESULT_CANCELLED, 1), nullptr);
    for (const Case& c : cases) {
        EXPECT_STREQ(PluginResultMessage(c.code, 0), c.open) << c.code;
        EXPECT_STREQ(PluginResultMessage(c.code, 1), c.save) << c.code;
    }
}

TEST(PackedAnimTable, AllZeroReadsAsEmptyFramesWithDelay100) {
    PackedAnimTable table{};
    for (int i : {0, 1, 127}) {
        PackedAnimFrame f = PackedAnimRead(&table, i);
        EXPECT_EQ(f.x + f.y + f.width + f.height, 0);
        EXPECT_EQ(f.delay, 100);
    }
}

TEST(PackedAnimTable, FrameAtX300StoresLowByteAndNibble) {
    PackedAnimTable table{};
    PackedAnimFrame f{300, 0, 0, 0, 0};
    PackedAnimWrite(&table, 0, &f);
    EXPECT_EQ(table.a[0][0], 44);
    EXPECT_EQ(table.a[1][0] & 0x0f, 1);
}

TEST(PackedAnimTable, RoundTripsEveryFieldAtItsBits) {
    PackedAnimTable table{};
    const PackedAnimFrame frames[] = {
        {0, 0, 0, 0, 0}, {2047, 2047, 2047, 2047, 16383}, {300, 1025, 256, 513, 257}, {1, 2, 3, 4, 5}};
    for (int i = 0; i < 4; ++i) PackedAnimWrite(&table, 10 + i, &frames[i]);
    PackedAnimSetValid(&table, 1);
    for (int i = 0; i < 4; ++i) {
        PackedAnimFrame g = PackedAnimRead(&table, 10 + i);
        EXPECT_EQ(std::memcmp(&g, &frames[i], sizeof g), 0) << i;
    }
    // Only entry 0 carries the valid bit; bit 7 stays clear everywhere.
    EXPECT_EQ(table.a[7][0], PACKED_ANIM_VALID_BIT);
    for (int i = 0; i < 128; ++i) EXPECT_EQ(table.a[7][i] & 0x80, 0);
    // The delay's high bits sit in A7 bits 0-5, y's in A1 bits 4-7.
    EXPECT_EQ(table.a[7][11], 0x3f);
    EXPECT_EQ(table.a[1][11], 0x77);
}

TEST(PackedAnimTable, WritingClampsToTwelveAndFourteenBits) {
    PackedAnimTable table{};
    PackedAnimFrame f{5000, -3, 4096, 2048, 70000};
    PackedAnimWrite(&table, 0, &f);
    PackedAnimFrame g = PackedAnimReadRaw(&table, 0);
    EXPECT_EQ(g.x, 4095);  // clamped, not wrapped to 5000 & 0xfff
    EXPECT_EQ(g.y, 0);
    EXPECT_EQ(g.width, 4095);
    EXPECT_EQ(g.height, 2048);
    EXPECT_EQ(g.delay, 16383);
    // A frame past x = 2047 on a 4096-wide image keeps its place.
    PackedAnimFrame wide{3000, 4000, 1096, 95, 100};
    PackedAnimWrite(&table, 1, &wide);
    PackedAnimFrame back = PackedAnimReadRaw(&table, 1);
    EXPECT_EQ(std::memcmp(&back, &wide, sizeof back), 0);
    EXPECT_FALSE(PackedAnimIsValid(&table));  // writing a frame never sets the bit
}

TEST(PackedAnimTable, ReadersTakeTwelveBitValues) {
    PackedAnimTable table{};
    table.a[0][2] = 0xff;
    table.a[1][2] = 0xff;
    PackedAnimSetValid(&table, 1);
    PackedAnimFrame f = PackedAnimRead(&table, 2);
    EXPECT_EQ(f.x, 4095);
    EXPECT_EQ(f.y, 0xf00);
}

TEST(PluginPathBuffer, HoldsAFullPathAndRefusesLonger) {
    PluginPathBuffer buffer;
    std::string longest(PLUGIN_PATH_MAX - 1, 'a');
    ASSERT_EQ(PluginPathBufferSet(&buffer, longest.c_str()), 1);
    EXPECT_EQ(std::strlen(buffer.path), longest.size());
    EXPECT_EQ(buffer.status, 0);
    std::string tooLong(PLUGIN_PATH_MAX, 'b');
    EXPECT_EQ(PluginPathBufferSet(&buffer, tooLong.c_str()), 0);
    EXPECT_EQ(buffer.path[0], '\0');
    EXPECT_EQ(PLUGIN_PATH_MAX, PATH_MAX);
}

namespace {
int32_t g_inits = 0;
int32_t FakeInit(int32_t, int32_t, int32_t colors, int32_t) { return ++g_inits + colors; }
}  // namespace

TEST(ColorReduceTable, SlotsTravelByIndex) {
    ColorReduceTable lent{};
    lent.init = FakeInit;
    ColorReduceTable received{};
    for (int32_t i = 0; i < COLOR_REDUCE_SLOTS; ++i)
        ColorReduceTableSet(&received, ColorReduceTableGet(&lent, i), i);
    ColorReduceTableSet(&received, ColorReduceTableGet(&lent, COLOR_REDUCE_INIT), 10);  // ignored
    EXPECT_EQ(ColorReduceTableGet(&lent, -1), nullptr);
    ASSERT_NE(received.init, nullptr);
    EXPECT_EQ(received.init(1, 1, 256, 24), 257);
    EXPECT_EQ(received.freeBuffers, nullptr);
}
