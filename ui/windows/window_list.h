#pragma once

#include "ui/window_definition.h"

namespace tamrivo::windows {

// One definition per window, each in its own file beside this one.
const WindowDefinition& mainWindow();
const WindowDefinition& loginWindow();
const WindowDefinition& roomWindow();
const WindowDefinition& leaseWindow();
const WindowDefinition& checkoutWindow();
const WindowDefinition& statisticsWindow();
const WindowDefinition& aboutWindow();
const WindowDefinition& passwordWindow();
const WindowDefinition& updateWindow();
const WindowDefinition& searchWindow();
const WindowDefinition& leaseRecordWindow();
const WindowDefinition& calendarWindow();
const WindowDefinition& bookingWindow();
const WindowDefinition& landlordWindow();
const WindowDefinition& calendarSyncWindow();
const WindowDefinition& recoveryWindow();
const WindowDefinition& protectionWindow();
const WindowDefinition& guestRegisterWindow();
const WindowDefinition& registerLogWindow();

}  // namespace tamrivo::windows
