#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Shows the login window, the first window of the program.
void openLoginWindow(App& app);

}  // namespace tamrivo
