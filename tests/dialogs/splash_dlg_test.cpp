// The splash window: no caption, one picture.
#include <gtest/gtest.h>

#include <QLabel>

#include "dialogs/splash_dlg.h"

namespace {

TEST(SplashDlg, HoldsOnlyThePicture) {
    QWidget owner;
    CSplashDlg splash;
    ASSERT_TRUE(splash.Create(&owner));
    EXPECT_TRUE(splash.windowTitle().isEmpty());
    EXPECT_EQ(splash.TemplateId(), 296);
    QList<QWidget*> children = splash.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(children.size(), 1);
    auto* picture = qobject_cast<QLabel*>(children[0]);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
              CSplashDlg::Picture().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(splash.grab().toImage().convertToFormat(QImage::Format_RGB32),
              CSplashDlg::Picture().convertToFormat(QImage::Format_RGB32));
    splash.DestroyWindow();
}

}  // namespace
