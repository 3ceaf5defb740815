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

}  // namespace tamrivo
