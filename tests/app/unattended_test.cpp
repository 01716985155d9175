// Unattended mode: message boxes go to the log file and get their first button.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/unattended_mode.h"
#include "app_fixture.h"
#include "platform/message_box.h"

namespace apptest {
namespace {

TEST(MessageLog, OneEscapedRecordPerBox) {
    platform::MessageBoxRequest request;
    request.caption = "Kavolt";
    request.text = "/a\\b\tc.gif\n 是不支持的文件格式。\r";
    EXPECT_EQ(MessageLogRecord(request), "Kavolt\t/a\\\\b\\tc.gif\\n 是不支持的文件格式。\\r");

    QTemporaryDir dir;
    QString log = dir.filePath("boxes.log");
    platform::MessageBoxService previous = InstallMessageLog(log);
    EXPECT_EQ(ShowMessageBox(nullptr, "工作内存不足", "Kavolt", MB_BTN_OK), MB_ANSWER_OK);
    EXPECT_EQ(ShowMessageBox(nullptr, "是否保存色表？", "", MB_BTN_YESNOCANCEL), MB_ANSWER_YES);
    EXPECT_EQ(ShowMessageBox(nullptr, "减色开始。", "Kavolt", MB_BTN_OKCANCEL), MB_ANSWER_OK);
    platform::SetMessageBoxService(previous);
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()),
              "Kavolt\t工作内存不足\n\t是否保存色表？\nKavolt\t减色开始。\n");
}

TEST(MessageLog, FromTheEnvironment) {
    QTemporaryDir dir;
    {
        ScopedEnv env(kMessageLogVariable, "");
        EXPECT_FALSE(InstallMessageLogFromEnvironment());
    }
    QString log = dir.filePath("env.log");
    ScopedEnv env(kMessageLogVariable, QFile::encodeName(log));
    platform::MessageBoxService previous = platform::SetMessageBoxService({});
    ASSERT_TRUE(InstallMessageLogFromEnvironment());
    ShowMessageBox(nullptr, "错误", "Kavolt", MB_BTN_OK);
    platform::SetMessageBoxService(previous);
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("Kavolt\t错误\n"));
}

}  // namespace
}  // namespace apptest
