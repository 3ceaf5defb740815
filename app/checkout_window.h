#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the check-out window for the room.
void openCheckoutWindow(App& app, int roomId);

// "入住天数：" + the days from check-in to check-out, to two decimals, + "天".
Text lengthOfStayText(DateTime checkIn, DateTime checkOut);

}  // namespace tamrivo
