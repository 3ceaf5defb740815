#pragma once
// Driving the window engine from tests: the offscreen application, waiting on the event
// loop, and acting as the person at the keyboard and mouse.

#include <functional>
#include <string>

#include "engine/qt_window_services.h"

class QApplication;

namespace tamrivo::testing {

// The one application object of the test program, made on first use.
QApplication& application();

// While it lives, control names a window lacks are counted (with what the engine reported
// last) rather than failing the test.
class UnknownControlCounter {
public:
    UnknownControlCounter();
    ~UnknownControlCounter();
    UnknownControlCounter(const UnknownControlCounter&) = delete;
    UnknownControlCounter& operator=(const UnknownControlCounter&) = delete;

    int count() const { return count_; }
    const std::string& lastReport() const { return lastReport_; }

private:
    int count_ = 0;
    std::string lastReport_;
};

// Runs the event loop (posted calls, timers, deferred deletions) until the condition holds
// or the time limit passes; the condition's last value.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
// Handles whatever is queued now, deferred deletions included.
void processEvents();

// Each returns false when the window has no such control of that kind.
bool clickControl(QtWindowServices& services, WindowHandle window, const Text& control);
// Sends one key press carrying each character, as an input method does: Chinese too.
bool typeText(QtWindowServices& services, WindowHandle window, const Text& control,
              const Text& text);
bool pressKey(QtWindowServices& services, WindowHandle window, const Text& control, int qtKey);
bool pickComboItem(QtWindowServices& services, WindowHandle window, const Text& combo, int index);
bool selectListRow(QtWindowServices& services, WindowHandle window, const Text& list, int row);
// A double click on a cell of the table's row, as a mouse gives it: a click, then the second.
bool doubleClickTableRow(QtWindowServices& services, WindowHandle window, const Text& table,
                         int row, int column = 0);
bool clickToolbarItem(QtWindowServices& services, WindowHandle window, const Text& toolbar,
                      const Text& caption);

}  // namespace tamrivo::testing
