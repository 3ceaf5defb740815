#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "engine/qt_window_services.h"

namespace tamrivo::testing {

// Stands in for the person in front of message boxes: records every box and answers it at
// once with the next scripted code, so no test ever blocks on a box.
class MessageBoxResponder {
public:
    explicit MessageBoxResponder(QtWindowServices& services, int defaultAnswer = kAnswerOk);
    ~MessageBoxResponder();
    MessageBoxResponder(const MessageBoxResponder&) = delete;
    MessageBoxResponder& operator=(const MessageBoxResponder&) = delete;

    // Queues the answer of a coming box; boxes beyond the script get the default answer.
    void answer(int code);
    // Runs while each box is up (before it is answered), on the window thread.
    void whileShown(std::function<void(const MessageBoxRequest&)> action);

    std::vector<MessageBoxRequest> boxes() const;
    std::size_t count() const;

private:
    int respond(const MessageBoxRequest& request);

    QtWindowServices& services_;
    int defaultAnswer_;
    mutable std::mutex mutex_;
    std::deque<int> answers_;
    std::vector<MessageBoxRequest> boxes_;
    std::function<void(const MessageBoxRequest&)> whileShown_;
};

}  // namespace tamrivo::testing
