// Tests of the functions a plug-in's test library (its probe) exports: the
// library is loaded for each test and its functions are found by name.
#pragma once

#include <gtest/gtest.h>

#include "platform/module.h"

namespace kvtest {

class ProbeLibraryTest : public ::testing::Test {
protected:
    explicit ProbeLibraryTest(const char* path) : probe(path) {}
    void SetUp() override { ASSERT_TRUE(probe) << ModLastError(); }
    // The exported function `name` as F; a test failure when it is missing.
    template <class F>
    F Fn(const char* name) {
        F f = probe.symbol<F>(name);
        EXPECT_NE(f, nullptr) << name;
        return f;
    }

    platform::Module probe;
};

}  // namespace kvtest
