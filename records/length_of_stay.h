#pragma once

#include <optional>

#include "base/value_types.h"
#include "records/lease_search.h"

namespace tamrivo {

// A date-time as the records store it; nothing for text that is none.
std::optional<DateTime> readStayDate(const Text& text);

// The days from check-in to check-out, keeping the fraction of a day (12 hours count 0.5),
// rounded to two decimals; negative when the check-out comes first.
double daysOfStay(DateTime checkIn, DateTime checkOut);

// How long the lease has lasted: to its settlement, or while it is open, to now. Nothing when
// a date it needs cannot be read (a settled lease without its settlement date, say).
std::optional<double> daysOfStay(const LeaseRow& lease, DateTime now);

}  // namespace tamrivo
