#include "base/time_interval.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/date_time.h"

namespace tamrivo {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// The day number of the Sunday that starts the value's week (1899-12-31 was a Sunday).
std::int64_t weekStart(DateTime value) {
    const std::int64_t day = dayNumber(value);
    return day - ((day - 1) % 7 + 7) % 7;
}

double wholeUnits(DateTime a, DateTime b, std::int64_t secondsPerUnit) {
    const std::int64_t seconds = std::llround((linearDays(a) - linearDays(b)) * kSecondsPerDay);
    return static_cast<double>(seconds / secondsPerUnit);  // integer division truncates
}

double calendarInterval(DateTime a, DateTime b, TimeUnit unit) {
    const CalendarTime from = toCalendar(b);
    const CalendarTime to = toCalendar(a);
    const int years = to.year - from.year;
    switch (unit) {
        case TimeUnit::Years:
            return years;
        case TimeUnit::Quarters:
            return years * 4 + (to.month - 1) / 3 - (from.month - 1) / 3;
        default:
            return years * 12 + to.month - from.month;
    }
}

}  // namespace

double timeInterval(DateTime a, DateTime b, TimeUnit unit) {
    unit = std::clamp(unit, TimeUnit::Years, TimeUnit::Seconds);
    switch (unit) {
        case TimeUnit::Years:
        case TimeUnit::Quarters:
        case TimeUnit::Months:
            return calendarInterval(a, b, unit);
        case TimeUnit::Weeks:
            return static_cast<double>((weekStart(a) - weekStart(b)) / 7);
        case TimeUnit::Days:
            return linearDays(a) - linearDays(b);
        case TimeUnit::Hours:
            return wholeUnits(a, b, 3600);
        case TimeUnit::Minutes:
            return wholeUnits(a, b, 60);
        case TimeUnit::Seconds:
            return wholeUnits(a, b, 1);
    }
    return 0.0;
}

}  // namespace tamrivo
