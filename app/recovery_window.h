#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the window that sets a forgotten password with the recovery code, over the login window.
void openRecoveryWindow(App& app, WindowHandle owner);

}  // namespace tamrivo
