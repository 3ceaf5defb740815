#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the statistics (today, a period against the one before, charts and rooms), or
// brings the open one to the front: there is one.
void openStatisticsWindow(App& app);

}  // namespace tamrivo
