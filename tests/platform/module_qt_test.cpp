#include "platform/module.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

TEST(ModuleQt, PendingDeletesOfThePluginRunBeforeItIsUnloaded) {
    int deleted = 0;
    ModHandle m = ModLoad(KV_TEST_PLUGIN);
    ASSERT_NE(m, nullptr) << ModLastError();
    reinterpret_cast<void (*)(int*)>(ModSymbol(m, "DeleteLater"))(&deleted);
    EXPECT_EQ(deleted, 0);
    ASSERT_TRUE(ModFree(m));
    EXPECT_EQ(deleted, 1);
    QCoreApplication::processEvents();  // nothing of the plug-in is left to run
    EXPECT_EQ(deleted, 1);
}
