#include "records/length_of_stay.h"

#include "base/number_ops.h"
#include "base/text_to_value.h"
#include "base/time_interval.h"

namespace tamrivo {

// Text that cannot be read as a date-time gives the minimum date.
std::optional<DateTime> readStayDate(const Text& text) {
    const DateTime value = toDateTime(text);
    return value.days == DateTime::kMinimumDays ? std::nullopt : std::optional(value);
}

double daysOfStay(DateTime checkIn, DateTime checkOut) {
    return roundNumber(timeInterval(checkOut, checkIn, TimeUnit::Days), 2);
}

std::optional<double> daysOfStay(const LeaseRow& lease, DateTime now) {
    const auto checkIn = readStayDate(lease.checkIn);
    const auto checkOut = lease.settled() ? readStayDate(lease.checkOut) : std::optional(now);
    if (!checkIn || !checkOut) {
        return std::nullopt;
    }
    return daysOfStay(*checkIn, *checkOut);
}

}  // namespace tamrivo
