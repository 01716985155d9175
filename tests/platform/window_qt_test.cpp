#include "platform/window.h"
#include "platform/window_qt.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

TEST(WindowWidget, AttachedWidgetIsFoundBothWaysUntilDeleted) {
    WinHandle w = WinCreate(nullptr, nullptr);
    auto widget = std::make_unique<QWidget>();
    EXPECT_EQ(platform::WinFromWidget(widget.get()), nullptr);
    ASSERT_TRUE(platform::WinSetWidget(w, widget.get()));
    EXPECT_EQ(platform::WinWidget(w), widget.get());
    EXPECT_EQ(platform::WinFromWidget(widget.get()), w);
    widget.reset();
    EXPECT_EQ(platform::WinWidget(w), nullptr);
    EXPECT_TRUE(WinIsWindow(w));  // the handle outlives its widget
    WinDestroy(w);
}

TEST(WindowWidget, DestroyDetachesTheWidgetButLeavesItAlone) {
    QWidget widget;
    WinHandle w = WinCreate(nullptr, nullptr);
    platform::WinSetWidget(w, &widget);
    WinDestroy(w);
    EXPECT_EQ(platform::WinWidget(w), nullptr);
    EXPECT_EQ(platform::WinFromWidget(&widget), nullptr);
    EXPECT_TRUE(widget.isEnabled());
}

TEST(WindowWidget, EnableActsOnTheWidgetAndSeesDisabledParents) {
    QWidget frame;
    auto* palette = new QWidget(&frame);
    WinHandle w = WinCreate(nullptr, nullptr);
    platform::WinSetWidget(w, palette);
    EXPECT_TRUE(WinIsEnabled(w));
    EXPECT_TRUE(WinEnable(w, false));
    EXPECT_FALSE(palette->isEnabled());
    EXPECT_FALSE(WinIsEnabled(w));
    EXPECT_TRUE(WinEnable(w, true));
    EXPECT_TRUE(WinIsEnabled(w));
    frame.setEnabled(false);
    EXPECT_FALSE(WinIsEnabled(w));
    WinDestroy(w);
}
