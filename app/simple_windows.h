#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Windows that only show what their definition holds.
void openAboutWindow(App& app);

}  // namespace tamrivo
