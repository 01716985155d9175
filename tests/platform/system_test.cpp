#include "platform/clock.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

namespace {

// Sets an environment variable for one scope (nullptr unsets it).
class EnvVar {
public:
    EnvVar(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~EnvVar() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace

TEST(Paths, ProgramDirectoryHoldsTheRunningExecutable) {
    std::string dir = platform::ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.front(), '/');
    EXPECT_EQ(dir.back(), '/');
    EXPECT_TRUE(QFileInfo(QString::fromStdString(dir + "platform_tests")).isExecutable());
}

TEST(Paths, SettingsFallbackFollowsXdgConfigHome) {
    EnvVar home("HOME", "/home/ann");
    struct Case { const char* xdg; const char* expected; };
    const Case cases[] = {
        {"/cfg", "/cfg/kavolt/"},
        {"/cfg/", "/cfg/kavolt/"},
        {nullptr, "/home/ann/.config/kavolt/"},
        {"", "/home/ann/.config/kavolt/"},
        {"relative/dir", "/home/ann/.config/kavolt/"},  // not absolute: ignored
    };
    for (const Case& c : cases) {
        EnvVar xdg("XDG_CONFIG_HOME", c.xdg);
        EXPECT_EQ(platform::SettingsFallbackDirectory(), c.expected) << (c.xdg ? c.xdg : "(unset)");
    }
}

TEST(Clock, TickCountCountsMilliseconds) {
    uint32_t start = TickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    uint32_t elapsed = TickCount() - start;  // unsigned difference survives the wrap
    EXPECT_GE(elapsed, 30u);
    EXPECT_LT(elapsed, 60000u);
}
