#include "tests/support/recording_controller.h"

#include <algorithm>

namespace tamrivo::testing {

int EventLog::count(EventKind kind) const {
    return static_cast<int>(std::count_if(events.begin(), events.end(),
                                          [kind](const WindowEvent& e) { return e.kind == kind; }));
}

WindowEvent EventLog::last(EventKind kind) const {
    const auto found = std::find_if(events.rbegin(), events.rend(),
                                    [kind](const WindowEvent& e) { return e.kind == kind; });
    return found == events.rend() ? WindowEvent{} : *found;
}

RecordingController::RecordingController(std::shared_ptr<EventLog> log, Reaction react)
    : log_(std::move(log)), react_(std::move(react)) {}

RecordingController::~RecordingController() {
    log_->controllerDestroyed = true;
}

bool RecordingController::handleEvent(const WindowEvent& event) {
    log_->events.push_back(event);
    return react_ ? react_(event) : false;
}

}  // namespace tamrivo::testing
