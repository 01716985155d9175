#include "platform/message_box.h"
#include "platform/message_box_recorder.h"
#include "platform/window_qt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

#include "test_support.h"

namespace {

// Shows the program's own Qt message box and hands it to `act` once it is
// up; `act` must close it. Gives up (closing the box) after a few seconds.
int showAndAct(WinHandle owner, const char* text, const char* caption, unsigned type,
               std::function<void(QMessageBox*)> act) {
    platform::MessageBoxService saved = platform::SetMessageBoxService({});
    int tries = 0;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box) {
            timer.stop();
            act(box);
        } else if (++tries > 500) {
            timer.stop();
            ADD_FAILURE() << "no message box came up";
        }
    });
    timer.start();
    int answer = ShowMessageBox(owner, text, caption, type);
    platform::SetMessageBoxService(std::move(saved));
    return answer;
}

}  // namespace

TEST(QtMessageBox, ShowsTextCaptionButtonsIconAndOwner) {
    QWidget frame;
    WinHandle owner = WinCreate(nullptr, nullptr);
    platform::WinSetWidget(owner, &frame);
    QMessageBox* seen = nullptr;
    int answer = showAndAct(owner, "是否保存色表？", "Kavolt", MB_BTN_YESNOCANCEL | MB_ICON_QUESTION,
                            [&](QMessageBox* box) {
        seen = box;
        EXPECT_EQ(box->text(), QString::fromUtf8("是否保存色表？"));
        EXPECT_EQ(box->windowTitle(), QString("Kavolt"));
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(box->parentWidget(), &frame);
        EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Yes));
        box->button(QMessageBox::No)->click();
    });
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(answer, MB_ANSWER_NO);
    WinDestroy(owner);
}

TEST(QtMessageBox, EachButtonGivesItsAnswer) {
    struct Case { unsigned type; QMessageBox::StandardButton click; int answer; QMessageBox::Icon icon; };
    const Case cases[] = {
        {MB_BTN_OK | MB_ICON_ERROR, QMessageBox::Ok, MB_ANSWER_OK, QMessageBox::Critical},
        {MB_BTN_OKCANCEL | MB_ICON_WARNING, QMessageBox::Cancel, MB_ANSWER_CANCEL, QMessageBox::Warning},
        {MB_BTN_YESNO | MB_ICON_INFORMATION, QMessageBox::Yes, MB_ANSWER_YES, QMessageBox::Information},
        {MB_BTN_YESNOCANCEL, QMessageBox::Cancel, MB_ANSWER_CANCEL, QMessageBox::NoIcon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        int answer = showAndAct(nullptr, "text", "caption", c.type, [&](QMessageBox* box) {
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->parentWidget(), nullptr);
            ASSERT_NE(box->button(c.click), nullptr);
            box->button(c.click)->click();
        });
        EXPECT_EQ(answer, c.answer);
    }
}

TEST(QtMessageBox, EscapeOnAYesNoBoxAnswersNo) {
    int answer = showAndAct(nullptr, "text", "", MB_BTN_YESNO, [](QMessageBox* box) {
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(answer, MB_ANSWER_NO);
}

TEST(QtMessageBox, TheRunRecorderAnswersBoxesNobodyElseRecords) {
    size_t before = kvtest::RunRecorder().Count();
    EXPECT_EQ(ShowMessageBox(nullptr, "unrecorded", "", MB_BTN_YESNO), MB_ANSWER_YES);
    ASSERT_EQ(kvtest::RunRecorder().Count(), before + 1);
    EXPECT_EQ(kvtest::RunRecorder().Requests().back().text, "unrecorded");
}
