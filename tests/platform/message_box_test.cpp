#include "platform/message_box.h"
#include "platform/message_box_recorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Puts the program's own service in place for one test (there is no
// QApplication in this test program).
struct OwnService {
    platform::MessageBoxService saved = platform::SetMessageBoxService({});
    ~OwnService() { platform::SetMessageBoxService(std::move(saved)); }
};

}  // namespace

TEST(MessageBox, RecorderLogsEachRequestAndAnswersFromItsScript) {
    platform::MessageBoxRecorder boxes({MB_ANSWER_NO, MB_ANSWER_CANCEL});
    WinHandle owner = WinCreate(nullptr, nullptr);
    EXPECT_EQ(ShowMessageBox(owner, "是否保存样式？", "Kavolt", MB_BTN_YESNOCANCEL | MB_ICON_QUESTION), MB_ANSWER_NO);
    EXPECT_EQ(ShowMessageBox(nullptr, "second", nullptr, MB_BTN_OKCANCEL), MB_ANSWER_CANCEL);
    EXPECT_EQ(boxes.AnswersLeft(), 0u);
    // Script used up: the first button of each box.
    EXPECT_EQ(ShowMessageBox(nullptr, "a", "", MB_BTN_OK | MB_ICON_ERROR), MB_ANSWER_OK);
    EXPECT_EQ(ShowMessageBox(nullptr, "b", "", MB_BTN_OKCANCEL), MB_ANSWER_OK);
    EXPECT_EQ(ShowMessageBox(nullptr, "c", "", MB_BTN_YESNO), MB_ANSWER_YES);
    EXPECT_EQ(ShowMessageBox(nullptr, "d", "", MB_BTN_YESNOCANCEL), MB_ANSWER_YES);

    ASSERT_EQ(boxes.Count(), 6u);
    const platform::MessageBoxRequest& first = boxes.Requests()[0];
    EXPECT_EQ(first.owner, owner);
    EXPECT_EQ(first.text, "是否保存样式？");
    EXPECT_EQ(first.caption, "Kavolt");
    EXPECT_EQ(first.type, unsigned(MB_BTN_YESNOCANCEL | MB_ICON_QUESTION));
    EXPECT_EQ(boxes.Requests()[1].caption, "");  // a null caption
    boxes.Clear();
    EXPECT_EQ(boxes.Count(), 0u);
    WinDestroy(owner);
}

TEST(MessageBox, RecordersNestAndPutThePreviousServiceBack) {
    platform::MessageBoxRecorder outer({MB_ANSWER_NO});
    {
        platform::MessageBoxRecorder inner({MB_ANSWER_CANCEL});
        EXPECT_EQ(ShowMessageBox(nullptr, "inner", "", MB_BTN_YESNOCANCEL), MB_ANSWER_CANCEL);
        EXPECT_EQ(inner.Count(), 1u);
    }
    EXPECT_EQ(ShowMessageBox(nullptr, "outer", "", MB_BTN_YESNO), MB_ANSWER_NO);
    ASSERT_EQ(outer.Count(), 1u);
    EXPECT_EQ(outer.Requests()[0].text, "outer");
}

TEST(MessageBox, TextsInGbkReachTheServiceAsUtf8) {
    platform::MessageBoxRecorder boxes;
    ShowMessageBox(nullptr, "\xC4\xDA\xB4\xE6\xB2\xBB\xD7\xE3\xA1\xA3", "\xCC\xE1\xCA\xBE", MB_BTN_OK);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "内存不足。");
    EXPECT_EQ(boxes.Requests()[0].caption, "提示");
}

TEST(MessageBox, WithoutAnApplicationTheTextGoesToStderrAndNothingWaits) {
    OwnService own;
    struct Case { unsigned type; int answer; };
    const Case cases[] = {
        {MB_BTN_OK | MB_ICON_WARNING, MB_ANSWER_OK},
        {MB_BTN_OKCANCEL, MB_ANSWER_CANCEL},
        {MB_BTN_YESNOCANCEL, MB_ANSWER_CANCEL},
        {MB_BTN_YESNO, MB_ANSWER_NO},  // no Cancel button: the answer that changes nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        testing::internal::CaptureStderr();
        int answer = ShowMessageBox(nullptr, "工作内存不足", "Kavolt", c.type);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(err, "Kavolt: 工作内存不足\n");
    }
}
