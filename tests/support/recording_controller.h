#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "ui/window_services.h"

namespace tamrivo::testing {

// What a window's controller saw; shared with the test, which outlives the controller.
struct EventLog {
    std::vector<WindowEvent> events;
    bool controllerDestroyed = false;

    int count(EventKind kind) const;
    // The last event of that kind; a default event when there was none.
    WindowEvent last(EventKind kind) const;
};

// A window controller that records every event and lets the test react to it; the
// reaction's result says whether the event is consumed.
class RecordingController : public WindowController {
public:
    using Reaction = std::function<bool(const WindowEvent&)>;

    explicit RecordingController(std::shared_ptr<EventLog> log, Reaction react = {});
    ~RecordingController() override;
    bool handleEvent(const WindowEvent& event) override;

private:
    std::shared_ptr<EventLog> log_;
    Reaction react_;
};

}  // namespace tamrivo::testing
