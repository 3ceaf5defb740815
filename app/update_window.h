#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the update window, which checks for a new version and downloads it on request, or,
// in a build whose releases come with the system's packages, says how to install it.
void openUpdateWindow(App& app);

}  // namespace tamrivo
