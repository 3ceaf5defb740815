#pragma once

#include <cstdint>
#include <optional>

#include "base/value_types.h"

namespace tamrivo {

// A date-time broken into its calendar fields (proleptic Gregorian calendar, 24-hour clock).
struct CalendarTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// The value as a point on a straight time line, in days since 1899-12-30 00:00, clamped to
// the valid range. Needed because below zero the stored value keeps the time of day as a
// positive fraction: -1.25 is 1899-12-29 06:00, i.e. -0.75 on the line.
double linearDays(DateTime value);

// linearDays rounded to the nearest whole second, in seconds.
std::int64_t linearSeconds(DateTime value);

// The number of the value's calendar day, counting from 1899-12-30 as day 0.
std::int64_t dayNumber(DateTime value);

// The calendar fields of a value, clamped to the valid range and rounded to the second.
CalendarTime toCalendar(DateTime value);

// The value of the calendar fields, or nothing when a field is out of range (years 100 to
// 9999, the month's real length, hours 0-23, minutes and seconds 0-59).
std::optional<DateTime> fromCalendar(const CalendarTime& time);

// The local date and time now, to the second.
DateTime currentDateTime();

}  // namespace tamrivo
