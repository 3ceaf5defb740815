#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the lease window for a check-in or an edit, as the program state carries.
void openLeaseWindow(App& app);

// A new order number: the moment as yyyyMMddHHmmss, "-", and an 8-digit serial made of the
// largest lease id plus 1000.
Text newOrderNumber(Database& database);

// Money as typed: single precision, then rounded half away from zero.
double moneyFromText(const Text& text, int places);

}  // namespace tamrivo
