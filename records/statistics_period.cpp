#include "records/statistics_period.h"

#include <algorithm>

#include "base/date_time.h"

namespace tamrivo {
namespace {

constexpr std::int64_t kMonthsInYear = 12;
constexpr std::int64_t kRecentDays = 30;

CalendarTime calendarOf(std::int64_t day) {
    return toCalendar(DateTime{static_cast<double>(day)});
}

// [first, last) months as days.
ReportPeriod months(std::int64_t first, std::int64_t pastLast) {
    return {firstDayOfMonth(first), firstDayOfMonth(pastLast) - 1};
}

}  // namespace

std::int64_t monthIndexOf(std::int64_t day) {
    const CalendarTime date = calendarOf(day);
    return date.year * kMonthsInYear + date.month - 1;
}

std::int64_t firstDayOfMonth(std::int64_t monthIndex) {
    const CalendarTime first{static_cast<int>(monthIndex / kMonthsInYear),
                             static_cast<int>(monthIndex % kMonthsInYear) + 1, 1};
    const auto value = fromCalendar(first);
    return value ? dayNumber(*value) : 0;
}

ReportPeriod choosePeriod(PeriodChoice choice, std::int64_t today, ReportPeriod custom) {
    const std::int64_t month = monthIndexOf(today);
    const std::int64_t january = month - month % kMonthsInYear;
    switch (choice) {
        case PeriodChoice::ThisMonth:
            return months(month, month + 1);
        case PeriodChoice::LastMonth:
            return months(month - 1, month);
        case PeriodChoice::ThisYear:
            return months(january, january + kMonthsInYear);
        case PeriodChoice::LastYear:
            return months(january - kMonthsInYear, january);
        case PeriodChoice::Last30Days:
            return {today - kRecentDays + 1, today};
        case PeriodChoice::Custom:
            break;
    }
    return {std::min(custom.firstDay, custom.lastDay), std::max(custom.firstDay, custom.lastDay)};
}

std::int64_t daysIn(ReportPeriod period) {
    return period.lastDay - period.firstDay + 1;
}

ReportPeriod previousPeriod(ReportPeriod period) {
    const std::int64_t first = monthIndexOf(period.firstDay);
    const std::int64_t pastLast = monthIndexOf(period.lastDay) + 1;
    if (firstDayOfMonth(first) == period.firstDay &&
        firstDayOfMonth(pastLast) == period.lastDay + 1) {
        return months(2 * first - pastLast, first);
    }
    return {period.firstDay - daysIn(period), period.firstDay - 1};
}

}  // namespace tamrivo
