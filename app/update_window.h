#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the update window, which checks for a new version and downloads it on request.
void openUpdateWindow(App& app);

}  // namespace tamrivo
