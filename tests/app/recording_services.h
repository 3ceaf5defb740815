#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/null_window_services.h"

namespace tamrivo::testing {

// One call the application made on the services, for the calls a report consists of.
struct ServiceCall {
    std::string kind;  // "statusText", "setText", "setDisabled", "destroyWindow", "messageBox"
    WindowHandle window = 0;
    Text control = {};
    Text text = {};
    int number = 0;  // status part, disabled flag or message box flags
    friend bool operator==(const ServiceCall&, const ServiceCall&) = default;
};

void PrintTo(const ServiceCall& call, std::ostream* out);

// Window services without windows: they record what is reported into windows, from any
// thread, and let a test wait for it.
class RecordingServices : public NullWindowServices {
public:
    std::vector<ServiceCall> calls();
    // Waits until the calls satisfy the condition (or gives up after a long while, so that
    // a fault fails the test instead of hanging it).
    std::vector<ServiceCall> waitFor(const std::function<bool(const std::vector<ServiceCall>&)>&);

    void destroyWindow(WindowHandle window) override;
    int messageBox(const Text& content, int flags, const Text& title, WindowHandle owner) override;
    void setText(WindowHandle window, const Text& control, const Text& text) override;
    void setDisabled(WindowHandle window, const Text& control, bool disabled) override;
    void statusText(WindowHandle window, const Text& statusBar, int part,
                    const Text& text) override;

private:
    void record(ServiceCall call);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<ServiceCall> calls_;
};

}  // namespace tamrivo::testing
