#pragma once

#include "records/bookings.h"

namespace tamrivo {

// A booking as the person knows it: number, guest and days.
Text describeBooking(const Booking& booking);

// A stay as the person knows it: guest, room, check-in day and planned departure.
Text describeStay(const OpenStay& stay);

// Why a booking was not saved; the database's own words for a failed write.
Text bookingRefusal(const BookingOutcome& outcome, const Text& databaseError);

}  // namespace tamrivo
