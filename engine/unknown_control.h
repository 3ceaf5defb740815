#pragma once

#include <functional>

#include "base/value_types.h"
#include "ui/window_services.h"

namespace tamrivo {

// A control name the window's definition lacks is a fault of the program, never of the
// person: the call still does nothing and reads as empty, and the fault is reported. Reports
// go to the log unless a reporter is installed (tests install one that fails the test). The
// report is UTF-8.
using UnknownControlReporter = std::function<void(const std::string& report)>;

// For the whole process; an empty reporter restores the log.
void setUnknownControlReporter(UnknownControlReporter reporter);
void reportUnknownControl(WindowHandle window, const Text& control);

}  // namespace tamrivo
