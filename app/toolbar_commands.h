#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Runs the main window's toolbar command of the clicked item (separators counted).
void dispatchToolbar(App& app, int index);

}  // namespace tamrivo
