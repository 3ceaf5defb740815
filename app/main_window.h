#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the main window; its handle is kept in the program state for the other screens.
void openMainWindow(App& app);

// Reloads the room list of the main window, then its statistics.
void refreshRoomList(App& app);

// Room counts and settled and unsettled totals in the main window's status bar.
void refreshStatistics(App& app);

}  // namespace tamrivo
