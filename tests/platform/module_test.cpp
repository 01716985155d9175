#include "platform/module.h"
#include "platform/paths.h"
#include "platform/window_qt.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

using BumpFn = int (*)();
using ReportFn = WinResult (*)(WinHandle, uint32_t);

bool mapped(const std::string& path) {
    std::ifstream maps("/proc/self/maps");
    std::stringstream text;
    text << maps.rdbuf();
    return text.str().find(path) != std::string::npos;
}

}  // namespace

TEST(Module, UnloadingDropsThePluginsStatics) {
    for (int load = 0; load < 2; ++load) {
        ModHandle m = ModLoad(KV_TEST_PLUGIN);
        ASSERT_NE(m, nullptr) << ModLastError();
        EXPECT_STREQ(ModLastError(), "");
        auto bump = reinterpret_cast<BumpFn>(ModSymbol(m, "Bump"));
        ASSERT_NE(bump, nullptr);
        EXPECT_EQ(bump(), 1) << "load " << load;  // afresh at every load
        EXPECT_EQ(bump(), 2);
        EXPECT_TRUE(mapped(KV_TEST_PLUGIN));
        EXPECT_TRUE(ModFree(m));
        EXPECT_FALSE(mapped(KV_TEST_PLUGIN)) << "still in memory after ModFree";
    }
}

TEST(Module, APluginCallsBackIntoThePlatform) {
    platform::Module plugin(KV_TEST_PLUGIN);
    ASSERT_TRUE(plugin) << ModLastError();
    plugin.symbol<BumpFn>("Bump")();
    WinWParam received = 0;
    WinHandle host = platform::WinCreateFunction([&](WinHandle, uint32_t message, WinWParam w, WinLParam) {
        received = w;
        return WinResult(message + 1);
    });
    EXPECT_EQ(plugin.symbol<ReportFn>("Report")(host, 0x405), 0x406);
    EXPECT_EQ(received, 1u);
    WinDestroy(host);
}

TEST(Module, DeadHandlesAndMissingExportsAreRefused) {
    ModHandle m = ModLoad(KV_TEST_PLUGIN);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(ModSymbol(m, "NoSuchExport"), nullptr);
    EXPECT_EQ(ModSymbol(m, "counter"), nullptr);  // not exported
    EXPECT_EQ(ModSymbol(m, nullptr), nullptr);
    EXPECT_TRUE(ModIsLoaded(m));
    EXPECT_TRUE(ModFree(m));
    for (ModHandle h : {m, ModHandle(nullptr), reinterpret_cast<ModHandle>(uintptr_t(0x77))}) {
        EXPECT_FALSE(ModIsLoaded(h));
        EXPECT_EQ(ModSymbol(h, "Bump"), nullptr);
        EXPECT_FALSE(ModFree(h));
    }
}

TEST(Module, LoadFailuresSayWhy) {
    EXPECT_EQ(ModLoad(nullptr), nullptr);
    EXPECT_EQ(ModLoad("/no/such/dir/Missing.FLT"), nullptr);
    EXPECT_NE(std::string(ModLastError()).find("/no/such/dir/Missing.FLT"), std::string::npos);
    // A bare name is looked for beside the program.
    EXPECT_EQ(ModLoad("Missing.FLT"), nullptr);
    EXPECT_NE(std::string(ModLastError()).find(platform::ProgramDirectory() + "Missing.FLT"), std::string::npos);
    // A file that is not a library.
    EXPECT_EQ(ModLoad(__FILE__), nullptr);
    EXPECT_STRNE(ModLastError(), "");
}
