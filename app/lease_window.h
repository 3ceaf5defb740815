#pragma once

#include "app/program_state.h"
#include "records/bookings.h"
#include "records/money_text.h"

namespace tamrivo {

// Opens the lease window for a check-in or an edit, as the program state carries.
void openLeaseWindow(App& app);

// Opens the check-in of a booked guest on the booked room, filled from the booking; its
// confirm marks the booking arrived in the transaction that writes the lease.
void openArrivalWindow(App& app, const Booking& booking);

// A new order number: the moment as yyyyMMddHHmmss, "-", and an 8-digit serial made of the
// largest lease id plus 1000.
Text newOrderNumber(Database& database);

}  // namespace tamrivo
