#include "tests/support/message_box_responder.h"

namespace tamrivo::testing {

MessageBoxResponder::MessageBoxResponder(QtWindowServices& services, int defaultAnswer)
    : services_(services), defaultAnswer_(defaultAnswer) {
    services_.setMessageBoxPresenter(
        [this](const MessageBoxRequest& request) { return respond(request); });
}

MessageBoxResponder::~MessageBoxResponder() {
    services_.setMessageBoxPresenter({});
}

void MessageBoxResponder::answer(int code) {
    const std::lock_guard lock(mutex_);
    answers_.push_back(code);
}

void MessageBoxResponder::whileShown(std::function<void(const MessageBoxRequest&)> action) {
    const std::lock_guard lock(mutex_);
    whileShown_ = std::move(action);
}

std::vector<MessageBoxRequest> MessageBoxResponder::boxes() const {
    const std::lock_guard lock(mutex_);
    return boxes_;
}

std::size_t MessageBoxResponder::count() const {
    const std::lock_guard lock(mutex_);
    return boxes_.size();
}

int MessageBoxResponder::respond(const MessageBoxRequest& request) {
    std::function<void(const MessageBoxRequest&)> action;
    int code = defaultAnswer_;
    {
        const std::lock_guard lock(mutex_);
        boxes_.push_back(request);
        action = whileShown_;
        if (!answers_.empty()) {
            code = answers_.front();
            answers_.pop_front();
        }
    }
    if (action) {
        action(request);
    }
    return code;
}

}  // namespace tamrivo::testing
