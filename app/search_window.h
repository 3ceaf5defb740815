#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the search over every lease, or brings the open one to the front: there is one.
void openSearchWindow(App& app);

// The most rows the search lists at once; the total and sum count every lease found.
inline constexpr int kShownSearchRows = 2000;

}  // namespace tamrivo
