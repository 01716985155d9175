#include "platform/memory.h"
#include "platform/window.h"
#include "platform/window_qt.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct Call {
    void* context;
    WinHandle window;
    uint32_t message;
    WinWParam wparam;
    WinLParam lparam;
};

WinResult record(void* context, WinHandle window, uint32_t message, WinWParam wparam, WinLParam lparam) {
    static_cast<std::vector<Call>*>(context)->push_back({context, window, message, wparam, lparam});
    return WinResult(wparam) + lparam;
}

}  // namespace

TEST(Window, SendCallsTheReceiverAtOnceAndReturnsItsResult) {
    std::vector<Call> calls;
    WinHandle w = WinCreate(&record, &calls);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(WinIsWindow(w));
    EXPECT_EQ(WinSendMessage(w, 0x405, 40, 2), 42);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].context, &calls);
    EXPECT_EQ(calls[0].window, w);
    EXPECT_EQ(calls[0].message, 0x405u);
    // Parameters are pointer-sized: a pointer goes through unchanged.
    int value = 0;
    EXPECT_EQ(WinSendMessage(w, 1, 0, reinterpret_cast<WinLParam>(&value)), reinterpret_cast<WinLParam>(&value));
    WinDestroy(w);
}

TEST(Window, DeadNullAndUnknownHandlesAreRefused) {
    std::vector<Call> calls;
    WinHandle dead = WinCreate(&record, &calls);
    WinDestroy(dead);
    WinHandle live = WinCreate(&record, &calls);  // may reuse the dead one's slot
    EXPECT_NE(live, dead);
    MemHandle block = MemAlloc(16);
    auto raw = [](uint64_t v) { return reinterpret_cast<WinHandle>(static_cast<uintptr_t>(v)); };
    const WinHandle refused[] = {
        nullptr, dead, raw(0x1234), raw(~uint64_t(0)),
        reinterpret_cast<WinHandle>(block),                              // another kind of handle
        raw(reinterpret_cast<uintptr_t>(live) + (uint64_t(1) << 32)),   // a later generation
        raw(reinterpret_cast<uintptr_t>(live) + 1000),                  // an index never used
    };
    for (WinHandle h : refused) {
        SCOPED_TRACE(reinterpret_cast<uintptr_t>(h));
        EXPECT_FALSE(WinIsWindow(h));
        EXPECT_EQ(WinSendMessage(h, 1, 2, 3), 0);
        EXPECT_FALSE(WinEnable(h, false));
        EXPECT_FALSE(WinIsEnabled(h));
        EXPECT_FALSE(platform::WinSetWidget(h, nullptr));
        WinDestroy(h);  // no effect
    }
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(WinIsWindow(live));
    EXPECT_EQ(WinSendMessage(live, 1, 2, 3), 5);
    WinDestroy(live);
    MemFree(block);
}

TEST(Window, ReceiversMaySendCreateAndDestroyDuringASend) {
    // The receiver counts down by sending to itself, creates windows (which
    // may move the table), and destroys itself at the bottom of the
    // recursion; it keeps using its captured state afterwards.
    auto log = std::make_shared<std::vector<std::string>>();
    std::vector<WinHandle> created;
    WinHandle self = nullptr;
    self = platform::WinCreateFunction(
        [log, &created, &self](WinHandle w, uint32_t message, WinWParam depth, WinLParam) -> WinResult {
            std::string note = "depth " + std::to_string(depth);
            if (depth == 0) {
                for (int i = 0; i < 100; ++i) created.push_back(platform::WinCreateFunction({}));
                WinDestroy(w);
                log->push_back(note + " destroyed");
                // Sends to the destroyed window now fail, even from inside.
                return WinSendMessage(self, message, 5, 0) + 100;
            }
            WinResult inner = WinSendMessage(w, message, depth - 1, 0);
            log->push_back(note);
            return inner + 1;
        });
    EXPECT_EQ(WinSendMessage(self, 7, 3, 0), 103);
    EXPECT_EQ(*log, (std::vector<std::string>{"depth 0 destroyed", "depth 1", "depth 2", "depth 3"}));
    EXPECT_FALSE(WinIsWindow(self));
    EXPECT_EQ(WinSendMessage(self, 7, 3, 0), 0);
    for (WinHandle h : created) {
        EXPECT_TRUE(WinIsWindow(h));
        EXPECT_EQ(WinSendMessage(h, 1, 1, 1), 0);  // an empty function answers 0
        WinDestroy(h);
    }
}

TEST(Window, DestroyReleasesAFunctionReceiver) {
    auto token = std::make_shared<int>(0);
    WinHandle w = platform::WinCreateFunction([token](WinHandle, uint32_t, WinWParam, WinLParam) { return WinResult(*token); });
    EXPECT_EQ(token.use_count(), 2);
    WinDestroy(w);
    EXPECT_EQ(token.use_count(), 1);
}

TEST(Window, AWindowWithoutWidgetCountsAsEnabled) {
    WinHandle w = WinCreate(nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(WinSendMessage(w, 1, 2, 3), 0);
    EXPECT_TRUE(WinIsEnabled(w));
    EXPECT_FALSE(WinEnable(w, false));  // nothing to disable
    EXPECT_EQ(platform::WinWidget(w), nullptr);
    WinDestroy(w);
}
