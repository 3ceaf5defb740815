#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the window in which any user's password can be replaced.
void openPasswordWindow(App& app);

}  // namespace tamrivo
