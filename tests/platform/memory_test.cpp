#include "platform/memory.h"

#include <gtest/gtest.h>

TEST(Memory, BlocksAreZeroFilledAndExactlySized) {
    MemHandle h = MemAlloc(13);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(MemSize(h), 13u);
    auto* p = static_cast<unsigned char*>(MemLock(h));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(p[i], 0);
    MemUnlock(h);
    EXPECT_EQ(MemFree(h), nullptr);
}
