#pragma once

#include <cstdint>

#include "base/value_types.h"

namespace tamrivo {

// The nights a stay is charged for: each date from the check-in day up to the day before the
// check-out day, whatever the hours (as the statistics count nights let), and at least one, so
// that a guest leaving on the day of arrival still pays for a night.
std::int64_t billedNights(DateTime checkIn, DateTime checkOut);

// An amount of money rounded to the fen, halves away from zero.
double roundToFen(double yuan);

// What a stay comes to at check-out: its nights at the rent per night, less the deposit held.
struct StayCharges {
    std::int64_t nights = 0;
    double rentTotal = 0;  // nights × rent, to the fen
    double deposit = 0;
    double due() const { return roundToFen(rentTotal - deposit); }  // negative: to refund
};

StayCharges stayCharges(DateTime checkIn, DateTime checkOut, double rentPerNight, double deposit);

}  // namespace tamrivo
