#pragma once

#include "app/program_state.h"
#include "records/bookings.h"
#include "records/money_text.h"

namespace tamrivo {

// What the lease window is opened for.
enum class LeaseWindowMode { CheckIn, Edit };

// Opens the lease window on the room: a check-in, or the edit of the room's open lease. With a
// walk-in check-in, acceptedBookingId is the booking of today the person chose to let over
// (0 none), which the window does not ask about again.
void openLeaseWindow(App& app, LeaseWindowMode mode, int roomId, int acceptedBookingId = 0);

// Opens the check-in of a booked guest on the booked room, filled from the booking; its
// confirm marks the booking arrived in the transaction that writes the lease.
void openArrivalWindow(App& app, const Booking& booking);

}  // namespace tamrivo
