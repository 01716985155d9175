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

TEST(Memory, DeadNullAndUnknownHandlesAreRefused) {
    MemHandle freed = MemAlloc(8);
    ASSERT_EQ(MemFree(freed), nullptr);
    MemHandle live = MemAlloc(8);
    auto raw = [](uint64_t v) { return reinterpret_cast<MemHandle>(static_cast<uintptr_t>(v)); };
    const MemHandle refused[] = {nullptr, freed, raw(0xdeadbeef), raw(~uint64_t(0)),
                                 raw(reinterpret_cast<uintptr_t>(live) + (uint64_t(1) << 32))};
    for (MemHandle h : refused) {
        SCOPED_TRACE(reinterpret_cast<uintptr_t>(h));
        EXPECT_FALSE(MemIsValid(h));
        EXPECT_EQ(MemLock(h), nullptr);
        EXPECT_EQ(MemUnlock(h), 0);
        EXPECT_EQ(MemSize(h), 0u);
        EXPECT_EQ(MemReAlloc(h, 16), nullptr);
        EXPECT_EQ(MemFree(h), h);  // nothing freed
    }
    EXPECT_EQ(MemAlloc(0), nullptr);
    EXPECT_TRUE(MemIsValid(live));
    MemFree(live);
}

TEST(Memory, ReAllocKeepsTheBytesAndZeroFillsTheGrowth) {
    MemHandle h = MemAlloc(4);
    {
        MemLockGuard g(h);
        for (int i = 0; i < 4; ++i) g.get()[i] = static_cast<unsigned char>(i + 1);
    }
    ASSERT_EQ(MemReAlloc(h, 4096), h);
    {
        MemLockGuard g(h);
        ASSERT_EQ(g.size(), 4096u);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(g.get()[i], i + 1);
        for (int i = 4; i < 4096; ++i) ASSERT_EQ(g.get()[i], 0) << i;
    }
    ASSERT_EQ(MemReAlloc(h, 2), h);
    EXPECT_EQ(MemSize(h), 2u);
    EXPECT_EQ(MemReAlloc(h, 0), nullptr);  // refused; the block stays
    EXPECT_EQ(MemSize(h), 2u);
    MemFree(h);
}

TEST(Memory, LocksNest) {
    MemHandle h = MemAlloc(1);
    void* p = MemLock(h);
    EXPECT_EQ(MemLock(h), p);
    EXPECT_EQ(MemUnlock(h), 1);
    EXPECT_EQ(MemUnlock(h), 0);
    EXPECT_EQ(MemUnlock(h), 0);  // an extra unlock does no harm
    MemFree(h);
}

TEST(Memory, TheLimitRefusesAllocationsAndLeavesBlocksAsTheyWere) {
    size_t savedLimit = MemLimit();
    size_t inUse = MemBytesInUse();
    size_t count = MemBlockCount();
    MemSetLimit(inUse + 100);
    MemHandle h = MemAlloc(60);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(MemBytesInUse(), inUse + 60);
    EXPECT_EQ(MemBlockCount(), count + 1);
    EXPECT_EQ(MemAlloc(41), nullptr);
    EXPECT_EQ(MemReAlloc(h, 101), nullptr);
    EXPECT_EQ(MemSize(h), 60u);
    EXPECT_EQ(MemReAlloc(h, 100), h);
    MemSetLimit(MEM_NO_LIMIT);
    MemFree(h);
    EXPECT_EQ(MemBytesInUse(), inUse);
    EXPECT_EQ(MemBlockCount(), count);
    MemSetLimit(savedLimit);
}
