#include "base/date_time.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace tamrivo {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// 1899-12-30, where date-times count from, is this many days after 1970-01-01.
constexpr std::int64_t kDateTimeEpochDay = -25569;

std::int64_t floorDivide(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar (H. Hinnant's method).
std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = floorDivide(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(std::int64_t days, CalendarTime& time) {
    days += 719468;
    const std::int64_t era = floorDivide(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // March = 0
    time.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    time.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    time.year = static_cast<int>(yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0));
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kLengths[month - 1];
}

bool fieldsInRange(const CalendarTime& time) {
    return time.year >= 100 && time.year <= 9999 && time.month >= 1 && time.month <= 12 &&
           time.day >= 1 && time.day <= daysInMonth(time.year, time.month) && time.hour >= 0 &&
           time.hour <= 23 && time.minute >= 0 && time.minute <= 59 && time.second >= 0 &&
           time.second <= 59;
}

}  // namespace

double linearDays(DateTime value) {
    const double days = value.days;
    if (!std::isfinite(days)) {
        return days > 0 ? DateTime::kMaximumDays : DateTime::kMinimumDays;  // NaN too
    }
    const double wholeDays = std::trunc(days);
    const double line = wholeDays + std::abs(days - wholeDays);
    return std::clamp(line, DateTime::kMinimumDays, DateTime::kMaximumDays);
}

std::int64_t linearSeconds(DateTime value) {
    return std::llround(linearDays(value) * kSecondsPerDay);
}

std::int64_t dayNumber(DateTime value) {
    return floorDivide(linearSeconds(value), kSecondsPerDay);
}

CalendarTime toCalendar(DateTime value) {
    const std::int64_t days = dayNumber(value);
    const auto secondOfDay = static_cast<int>(linearSeconds(value) - days * kSecondsPerDay);
    CalendarTime time;
    civilFromDays(days + kDateTimeEpochDay, time);
    time.hour = secondOfDay / 3600;
    time.minute = secondOfDay / 60 % 60;
    time.second = secondOfDay % 60;
    return time;
}

std::optional<DateTime> fromCalendar(const CalendarTime& time) {
    if (!fieldsInRange(time)) {
        return std::nullopt;
    }
    const auto day =
        static_cast<double>(daysFromCivil(time.year, time.month, time.day) - kDateTimeEpochDay);
    const double fraction =
        (time.hour * 3600 + time.minute * 60 + time.second) / static_cast<double>(kSecondsPerDay);
    // Before the epoch the time of day still counts forward: see linearDays.
    return DateTime{day < 0 ? day - fraction : day + fraction};
}

DateTime currentDateTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        return DateTime{DateTime::kMinimumDays};
    }
    const CalendarTime time{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                            local.tm_hour,        local.tm_min,     std::min(local.tm_sec, 59)};
    return fromCalendar(time).value_or(DateTime{DateTime::kMinimumDays});
}

}  // namespace tamrivo
