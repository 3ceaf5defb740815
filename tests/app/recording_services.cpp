#include "tests/app/recording_services.h"

#include <chrono>

namespace tamrivo::testing {

void PrintTo(const ServiceCall& call, std::ostream* out) {
    *out << call.kind << "(" << call.window << ", " << readableGbk(call.control) << ", "
         << readableGbk(call.text) << ", " << call.number << ")";
}

std::vector<ServiceCall> RecordingServices::calls() {
    const std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<ServiceCall> RecordingServices::waitFor(
    const std::function<bool(const std::vector<ServiceCall>&)>& condition) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(60), [&] { return condition(calls_); });
    return calls_;
}

void RecordingServices::destroyWindow(WindowHandle window) {
    record({.kind = "destroyWindow", .window = window});
}

int RecordingServices::messageBox(const Text& content, int flags, const Text& title,
                                  WindowHandle owner) {
    record({.kind = "messageBox",
            .window = owner,
            .control = title,
            .text = content,
            .number = flags});
    return kAnswerOk;
}

void RecordingServices::setText(WindowHandle window, const Text& control, const Text& text) {
    record({.kind = "setText", .window = window, .control = control, .text = text});
}

void RecordingServices::setDisabled(WindowHandle window, const Text& control, bool disabled) {
    record({.kind = "setDisabled", .window = window, .control = control, .number = disabled});
}

void RecordingServices::statusText(WindowHandle window, const Text& statusBar, int part,
                                   const Text& text) {
    record({.kind = "statusText",
            .window = window,
            .control = statusBar,
            .text = text,
            .number = part});
}

void RecordingServices::record(ServiceCall call) {
    {
        const std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }
    changed_.notify_all();
}

}  // namespace tamrivo::testing
