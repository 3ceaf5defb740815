#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the window that turns the protection of the records on or off, over the main window.
void openProtectionWindow(App& app);

}  // namespace tamrivo
