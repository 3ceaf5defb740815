#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the room calendar with its bookings, or brings the open one to the front.
void openCalendarWindow(App& app);

// Opens the booking window: a new booking on the state's room, or the state's booking.
void openBookingWindow(App& app);

// How many days one page of the calendar shows, and how many before today it starts.
inline constexpr int kCalendarDays = 68;
inline constexpr int kCalendarDaysBefore = 7;

}  // namespace tamrivo
