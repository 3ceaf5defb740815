#pragma once

#include <optional>
#include <vector>

#include "data/database.h"
#include "records/outside_bookings.h"
#include "records/planned_departures.h"
#include "records/schema.h"
#include "records/stored_dates.h"

namespace tamrivo {

// One row of b_yuding. Days are "yyyy-MM-dd"; the room is taken from the arrival day up to,
// not including, the departure day.
struct Booking {
    int id = 0;  // 0 for one not yet saved
    int roomId = 0;
    Text guest;
    Text contact;
    Text arrival;
    Text departure;
    double deposit = 0;
    Text remark;
    int state = schema::kBookingBooked;
    Text orderNumber;  // of the lease it became
    Text created;

    bool booked() const { return state == schema::kBookingBooked; }
};

enum class BookingResult {
    Saved,
    BadDays,      // a day that does not exist, or a departure not after the arrival
    BlankGuest,   // no name, or only blanks
    PastArrival,  // an arrival before today (one already stored may stay as it is)
    HeldByStay,   // a guest staying in the room holds some of the nights: see `stay`
    HeldOutside,  // a booking platform's guest or block holds some of them: see `outside`
    NoRoom,       // the room has no row, or is abandoned
    Overlaps,     // another booked stay holds some of the days: see `other`
    NotBooked,    // the booking is gone, or has arrived or been cancelled meanwhile
    Failed        // the database refused; its errorMessage says why
};

struct BookingOutcome {
    BookingResult result = BookingResult::Failed;
    int id = 0;              // of the saved booking
    Booking other;           // the booking in the way, for Overlaps
    OpenStay stay;           // the stay in the way, for HeldByStay
    OutsideBooking outside;  // the platform's stay in the way, for HeldOutside
};

// Writes a new booking (id 0) or rewrites a booked one with the days, guest and money given.
// The look for a clashing booking or stay and the write are one transaction that keeps every
// other connection from writing in between, so two people booking the same days cannot both
// win. `currentDay` is today's day number.
BookingOutcome saveBooking(Database& database, const Booking& booking,
                           std::int64_t currentDay = today());

// The first booked booking of this one's room, other than this one (by id; 0 is none), that
// holds one of its nights, its arrival up to the night before its departure ("yyyy-MM-dd").
std::optional<Booking> clashingBooking(Database& database, const Booking& booking);

// Marks a booked booking cancelled; it stays, shown struck through, and frees its days.
BookingOutcome cancelBooking(Database& database, int bookingId);

// Marks a booked booking arrived with the order number of its lease. Runs inside the caller's
// transaction, which writes the lease too; false when the booking is no longer booked.
bool markBookingArrived(Database& database, int bookingId, const Text& orderNumber);

std::optional<Booking> findBooking(Database& database, int bookingId);

// Every booking, of any state, that has a day from firstDay to lastDay ("yyyy-MM-dd"), by
// room and arrival. Nothing when the bookings cannot be read.
std::optional<std::vector<Booking>> bookingsBetween(Database& database, const Text& firstDay,
                                                    const Text& lastDay);

// The booked booking that holds the room on the day, if there is one.
std::optional<Booking> bookingOnDay(Database& database, int roomId, const Text& day);

}  // namespace tamrivo
