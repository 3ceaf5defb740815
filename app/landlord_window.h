#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the window where the landlord keeps the name, address and phone every receipt
// carries, over the window it is opened from.
void openLandlordWindow(App& app, WindowHandle owner);

}  // namespace tamrivo
