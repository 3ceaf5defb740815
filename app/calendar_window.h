#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the room calendar with its bookings, or brings the open one to the front.
void openCalendarWindow(App& app);

// Opens the booking window: with bookingId 0 a new booking that starts on the room (0 the
// first), otherwise that booking to change.
void openBookingWindow(App& app, int bookingId, int roomId);

// How many days one page of the calendar shows, and how many before today it starts.
inline constexpr int kCalendarDays = 68;
inline constexpr int kCalendarDaysBefore = 7;

}  // namespace tamrivo
