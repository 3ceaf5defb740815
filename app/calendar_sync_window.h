#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the calendar sync's settings (每个房间的平台日历, the automatic pull, the export
// folder), or brings the open one to the front.
void openCalendarSyncWindow(App& app);

}  // namespace tamrivo
