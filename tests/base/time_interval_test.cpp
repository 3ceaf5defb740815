#include "base/time_interval.h"

#include <gtest/gtest.h>

#include "base/date_time.h"

namespace tamrivo {
namespace {

DateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return fromCalendar({year, month, day, hour, minute, second}).value();
}

TEST(TimeInterval, DaysKeepTheFraction) {
    EXPECT_EQ(timeInterval(at(2020, 2, 18, 12), at(2020, 2, 17), TimeUnit::Days), 1.5);
    EXPECT_EQ(timeInterval(at(2020, 2, 17), at(2020, 2, 18, 12), TimeUnit::Days), -1.5);
    // Across the epoch, where the stored values count the time of day the other way.
    EXPECT_EQ(timeInterval(at(1899, 12, 31), at(1899, 12, 29, 12), TimeUnit::Days), 1.5);
}

TEST(TimeInterval, EqualValuesGiveZeroInEveryUnit) {
    const DateTime value = at(2020, 2, 17, 9, 5, 3);
    for (int unit = 1; unit <= 8; ++unit) {
        EXPECT_EQ(timeInterval(value, value, static_cast<TimeUnit>(unit)), 0.0) << unit;
    }
}

TEST(TimeInterval, CalendarUnitsCountBoundariesCrossed) {
    const DateTime newYear = at(2021, 1, 1);
    const DateTime newYearsEve = at(2020, 12, 31, 23, 59, 59);
    EXPECT_EQ(timeInterval(newYear, newYearsEve, TimeUnit::Years), 1.0);
    EXPECT_EQ(timeInterval(newYear, newYearsEve, TimeUnit::Quarters), 1.0);
    EXPECT_EQ(timeInterval(newYear, newYearsEve, TimeUnit::Months), 1.0);
    EXPECT_EQ(timeInterval(at(2020, 12, 31), at(2020, 1, 1), TimeUnit::Years), 0.0);
    EXPECT_EQ(timeInterval(at(2020, 3, 31), at(2020, 1, 1), TimeUnit::Quarters), 0.0);
    EXPECT_EQ(timeInterval(at(2020, 4, 1), at(2020, 3, 31), TimeUnit::Quarters), 1.0);
    EXPECT_EQ(timeInterval(at(2019, 12, 1), at(2020, 2, 29), TimeUnit::Months), -2.0);
}

TEST(TimeInterval, WeeksCountSundaysCrossed) {
    const DateTime saturday = at(2020, 2, 22);
    EXPECT_EQ(timeInterval(at(2020, 2, 23), saturday, TimeUnit::Weeks), 1.0);  // one day later
    EXPECT_EQ(timeInterval(saturday, at(2020, 2, 16), TimeUnit::Weeks), 0.0);  // six days later
    EXPECT_EQ(timeInterval(at(2020, 3, 7), at(2020, 2, 22), TimeUnit::Weeks), 2.0);
    EXPECT_EQ(timeInterval(saturday, at(2020, 2, 24), TimeUnit::Weeks), -1.0);
    EXPECT_EQ(timeInterval(at(1899, 12, 31), at(1899, 12, 30), TimeUnit::Weeks), 1.0);
}

TEST(TimeInterval, ClockUnitsAreWholeAndTruncated) {
    const DateTime nine = at(2020, 2, 17, 9);
    EXPECT_EQ(timeInterval(at(2020, 2, 17, 9, 5, 3), at(2020, 2, 17, 9, 5), TimeUnit::Seconds),
              3.0);
    EXPECT_EQ(timeInterval(at(2020, 2, 17, 9, 59, 57), nine, TimeUnit::Hours), 0.0);
    EXPECT_EQ(timeInterval(at(2020, 2, 17, 10), nine, TimeUnit::Hours), 1.0);
    EXPECT_EQ(timeInterval(at(2020, 2, 18, 12), at(2020, 2, 17), TimeUnit::Hours), 36.0);
    EXPECT_EQ(timeInterval(at(2020, 2, 17, 9, 1, 30), nine, TimeUnit::Minutes), 1.0);
}

TEST(TimeInterval, ClockUnitsAreSymmetricForEarlierValues) {
    const DateTime nine = at(2020, 2, 17, 9);
    EXPECT_EQ(timeInterval(nine, at(2020, 2, 17, 10), TimeUnit::Hours), -1.0);
    EXPECT_EQ(timeInterval(nine, at(2020, 2, 17, 9, 1, 30), TimeUnit::Minutes), -1.0);
    EXPECT_EQ(timeInterval(nine, at(2020, 2, 17, 9, 0, 3), TimeUnit::Seconds), -3.0);
}

TEST(TimeInterval, UnitsOutsideTheRangeAreClamped) {
    const DateTime a = at(2021, 3, 1, 0, 0, 5);
    const DateTime b = at(2020, 3, 1);
    EXPECT_EQ(timeInterval(a, b, static_cast<TimeUnit>(0)), 1.0);         // years
    EXPECT_EQ(timeInterval(a, b, static_cast<TimeUnit>(-7)), 1.0);        // years
    EXPECT_EQ(timeInterval(a, b, static_cast<TimeUnit>(9)), 31536005.0);  // seconds
}

}  // namespace
}  // namespace tamrivo
