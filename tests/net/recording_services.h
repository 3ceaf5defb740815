#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "ui/window_services.h"

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
class RecordingServices : public WindowServices {
public:
    std::vector<ServiceCall> calls();
    // Waits until the calls satisfy the condition (or gives up after a long while, so that
    // a fault fails the test instead of hanging it).
    std::vector<ServiceCall> waitFor(const std::function<bool(const std::vector<ServiceCall>&)>&);

    WindowHandle loadWindow(WindowKind, std::unique_ptr<WindowController>, WindowHandle) override {
        return 0;
    }
    void destroyWindow(WindowHandle window) override;
    WindowHandle windowHandle(WindowHandle, const Text&) override { return 0; }
    int messageBox(const Text& content, int flags, const Text& title, WindowHandle owner) override;
    void doEvents() override {}

    Text text(WindowHandle, const Text&) override { return {}; }
    void setText(WindowHandle window, const Text& control, const Text& text) override;
    void setVisible(WindowHandle, const Text&, bool) override {}
    void setDisabled(WindowHandle window, const Text& control, bool disabled) override;
    void setTimerInterval(WindowHandle, const Text&, int) override {}
    DateTime dateTime(WindowHandle, const Text&) override { return {}; }
    void setDateTime(WindowHandle, const Text&, DateTime) override {}
    int selectedIndex(WindowHandle, const Text&) override { return -1; }
    void setSelectedIndex(WindowHandle, const Text&, int) override {}
    int progressMaximum(WindowHandle, const Text&) override { return 0; }
    void setProgressPosition(WindowHandle, const Text&, int) override {}
    void setProgressBusy(WindowHandle, const Text&, bool) override {}

    int comboAdd(WindowHandle, const Text&, const Text&, int) override { return -1; }
    void comboClear(WindowHandle, const Text&) override {}
    int comboNumber(WindowHandle, const Text&, int) override { return 0; }
    void editAppend(WindowHandle, const Text&, const Text&) override {}
    int listInsertRow(WindowHandle, const Text&, int, const Text&, int, int) override { return -1; }
    Text listCellText(WindowHandle, const Text&, int, int) override { return {}; }
    int listRowNumber(WindowHandle, const Text&, int) override { return 0; }
    void listClear(WindowHandle, const Text&) override {}
    void statusText(WindowHandle window, const Text& statusBar, int part,
                    const Text& text) override;

    Rect frameRect(WindowHandle) override { return {}; }
    Point screenToClient(WindowHandle, Point screen) override { return screen; }
    void placeControl(WindowHandle, Rect, int) override {}

    void sleep(int) override {}
    Text programDirectory() override { return {}; }
    bool runProgram(const std::vector<Text>&, bool, int) override { return false; }
    bool writeFile(const Text&, std::span<const Bytes>) override { return false; }

private:
    void record(ServiceCall call);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<ServiceCall> calls_;
};

}  // namespace tamrivo::testing
