// A message-box service for tests: logs every request and answers from a
// script, so no test ever waits on a dialog.
//
//   platform::MessageBoxRecorder boxes({MB_ANSWER_NO});
//   ... code that asks a question ...
//   EXPECT_EQ(boxes.Requests().at(0).text, "是否保存样式？");
//
// The recorder installs itself when it is made and puts the previous service
// back when it goes away; recorders nest. When the script is used up, each
// further request gets the box's first button: OK for MB_BTN_OK and
// MB_BTN_OKCANCEL, Yes for MB_BTN_YESNO and MB_BTN_YESNOCANCEL.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/message_box.h"

namespace platform {

class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    explicit MessageBoxRecorder(std::initializer_list<int> answers);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // Appends answers to the script; each request takes the oldest one.
    void Script(std::initializer_list<int> answers);
    void Script(int answer);
    size_t AnswersLeft() const;

    // Every request since the recorder was made (or last cleared), oldest first.
    const std::vector<MessageBoxRequest>& Requests() const;
    size_t Count() const;
    // Forgets the requests (the script stays).
    void Clear();

    // Also writes each request to stderr (off by default).
    void SetEcho(bool echo);

    // The answer given when the script is empty: the first button of the box.
    static int DefaultAnswer(unsigned type);

private:
    struct State;
    std::shared_ptr<State> state_;
    MessageBoxService previous_;
};

}  // namespace platform
