#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the room window in the mode and for the room the program state carries.
void openRoomWindow(App& app);

}  // namespace tamrivo
