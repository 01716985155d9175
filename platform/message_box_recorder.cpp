#include "platform/message_box_recorder.h"

#include <cstdio>
#include <deque>

namespace platform {

struct MessageBoxRecorder::State {
    std::vector<MessageBoxRequest> requests;
    std::deque<int> script;
    bool echo = false;

    int answer(const MessageBoxRequest& request) {
        requests.push_back(request);
        if (echo)
            std::fprintf(stderr, "[message box %#x] %s%s%s\n", request.type, request.caption.c_str(),
                         request.caption.empty() ? "" : ": ", request.text.c_str());
        if (script.empty()) return DefaultAnswer(request.type);
        int a = script.front();
        script.pop_front();
        return a;
    }
};

MessageBoxRecorder::MessageBoxRecorder() : state_(std::make_shared<State>()) {
    // The service holds the state, not the recorder: a service that outlives
    // its recorder (recorders ended out of order) still points at live data.
    previous_ = SetMessageBoxService(
        [state = state_](const MessageBoxRequest& r) { return state->answer(r); });
}

MessageBoxRecorder::MessageBoxRecorder(std::initializer_list<int> answers) : MessageBoxRecorder() {
    Script(answers);
}

MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxService(std::move(previous_)); }

void MessageBoxRecorder::Script(std::initializer_list<int> answers) {
    state_->script.insert(state_->script.end(), answers.begin(), answers.end());
}

void MessageBoxRecorder::Script(int answer) { state_->script.push_back(answer); }

size_t MessageBoxRecorder::AnswersLeft() const { return state_->script.size(); }

const std::vector<MessageBoxRequest>& MessageBoxRecorder::Requests() const { return state_->requests; }

size_t MessageBoxRecorder::Count() const { return state_->requests.size(); }

void MessageBoxRecorder::Clear() { state_->requests.clear(); }

void MessageBoxRecorder::SetEcho(bool echo) { state_->echo = echo; }

int MessageBoxRecorder::DefaultAnswer(unsigned type) {
    switch (type & MB_BTN_MASK) {
    case MB_BTN_YESNOCANCEL:
    case MB_BTN_YESNO: return MB_ANSWER_YES;
    default: return MB_ANSWER_OK;
    }
}

}  // namespace platform
