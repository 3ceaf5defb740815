#include "base/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "base/date_format.h"
#include "base/text_to_value.h"
#include "base/value_text.h"

namespace tamrivo {
namespace {

DateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return fromCalendar({year, month, day, hour, minute, second}).value();
}

constexpr DateTime kMinimum{DateTime::kMinimumDays};

TEST(Calendar, KnownDays) {
    EXPECT_EQ(at(1899, 12, 30).days, 0.0);
    EXPECT_EQ(at(2020, 2, 17).days, 43878.0);
    EXPECT_EQ(at(2020, 2, 18, 12).days, 43879.5);
    EXPECT_EQ(at(100, 1, 1).days, DateTime::kMinimumDays);
    EXPECT_EQ(at(9999, 12, 31).days, DateTime::kMaximumDays);
}

TEST(Calendar, BeforeTheEpochTheTimeOfDayCountsForward) {
    EXPECT_EQ(at(1899, 12, 29, 6).days, -1.25);
    EXPECT_EQ(toCalendar(DateTime{-1.25}), (CalendarTime{1899, 12, 29, 6, 0, 0}));
    EXPECT_EQ(toCalendar(DateTime{-0.5}), (CalendarTime{1899, 12, 30, 12, 0, 0}));
}

TEST(Calendar, FieldsRoundTripToTheSecond) {
    const CalendarTime times[] = {
        {2020, 2, 17, 9, 5, 3}, {2020, 12, 31, 23, 59, 59}, {1899, 12, 29, 23, 59, 59},
        {100, 1, 1, 0, 0, 1},   {2000, 2, 29, 12, 30, 30},  {9999, 12, 31, 0, 0, 0},
        {1970, 1, 1, 0, 0, 0},  {1600, 3, 1, 1, 1, 1},      {2400, 2, 29, 13, 14, 15},
    };
    for (const CalendarTime& time : times) {
        EXPECT_EQ(toCalendar(fromCalendar(time).value()), time) << time.year << "-" << time.month;
    }
}

TEST(Calendar, NearlyWholeSecondsRoundToTheSecond) {
    const double justBefore = at(2020, 2, 17, 9, 5, 3).days - 0.4 / 86400;
    EXPECT_EQ(toCalendar(DateTime{justBefore}), (CalendarTime{2020, 2, 17, 9, 5, 3}));
    const double lastMoment = at(2020, 2, 18).days - 0.2 / 86400;  // rounds into the next day
    EXPECT_EQ(toCalendar(DateTime{lastMoment}), (CalendarTime{2020, 2, 18, 0, 0, 0}));
}

TEST(Calendar, ValuesOutsideTheRangeAreClamped) {
    EXPECT_EQ(toCalendar(DateTime{-1e9}), (CalendarTime{100, 1, 1, 0, 0, 0}));
    EXPECT_EQ(toCalendar(DateTime{1e9}), (CalendarTime{9999, 12, 31, 0, 0, 0}));
    EXPECT_EQ(toCalendar(DateTime{std::nan("")}), (CalendarTime{100, 1, 1, 0, 0, 0}));
    EXPECT_EQ(toCalendar(DateTime{INFINITY}), (CalendarTime{9999, 12, 31, 0, 0, 0}));
    EXPECT_EQ(toCalendar(DateTime{DateTime::kMaximumDays + 0.5}),
              (CalendarTime{9999, 12, 31, 0, 0, 0}));
    // Noon of the first day lies inside the range even though -657434.5 < -657434.0.
    EXPECT_EQ(toCalendar(DateTime{-657434.5}), (CalendarTime{100, 1, 1, 12, 0, 0}));
    EXPECT_EQ(toCalendar(DateTime{-657435.0}), (CalendarTime{100, 1, 1, 0, 0, 0}));
}

TEST(Calendar, LeapDays) {
    EXPECT_TRUE(fromCalendar({2020, 2, 29}));
    EXPECT_TRUE(fromCalendar({2000, 2, 29}));
    EXPECT_FALSE(fromCalendar({2019, 2, 29}));
    EXPECT_FALSE(fromCalendar({1900, 2, 29}));
    EXPECT_FALSE(fromCalendar({2100, 2, 29}));
    EXPECT_EQ(toCalendar(DateTime{at(1900, 2, 28).days + 1}), (CalendarTime{1900, 3, 1}));
    EXPECT_EQ(toCalendar(DateTime{at(2020, 2, 28).days + 1}), (CalendarTime{2020, 2, 29}));
}

TEST(Calendar, FieldsOutOfRangeAreRejected) {
    const CalendarTime invalid[] = {
        {2020, 13, 1},          {2020, 0, 1},     {2020, 4, 31},          {2020, 1, 0},
        {99, 12, 31},           {10000, 1, 1},    {2020, 1, 1, 24},       {2020, 1, 1, 0, 60},
        {2020, 1, 1, 0, 0, 60}, {2020, 1, 1, -1}, {2020, 1, 1, 0, 0, -1},
    };
    for (const CalendarTime& time : invalid) {
        EXPECT_FALSE(fromCalendar(time)) << time.year << "-" << time.month << "-" << time.day;
    }
}

TEST(Calendar, CurrentDateTimeFollowsTheLocalClock) {
    const auto toValue = [](std::time_t moment) {
        std::tm local{};
        localtime_r(&moment, &local);
        return at(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec);
    };
    const std::time_t before = std::time(nullptr);
    const DateTime now = currentDateTime();
    const std::time_t after = std::time(nullptr);
    EXPECT_GE(now.days, toValue(before).days);
    EXPECT_LE(now.days, toValue(after).days);
}

TEST(DateTimeText, TrailingZeroUnitsAreLeftOut) {
    EXPECT_TEXT_EQ(toText(at(2020, 2, 17, 9, 5, 3)), "2020年2月17日9时5分3秒");
    EXPECT_TEXT_EQ(toText(at(2020, 2, 17, 9, 5, 0)), "2020年2月17日9时5分");
    EXPECT_TEXT_EQ(toText(at(2020, 2, 17, 9, 0, 0)), "2020年2月17日9时");
    EXPECT_TEXT_EQ(toText(at(2020, 2, 17, 0, 0, 0)), "2020年2月17日");
    EXPECT_TEXT_EQ(toText(at(2020, 2, 17, 0, 0, 7)), "2020年2月17日0时0分7秒");
    EXPECT_TEXT_EQ(toText(at(2020, 2, 17, 0, 4, 0)), "2020年2月17日0时4分");
}

TEST(ToDateTime, EverySeparatorFormGivesTheSameValue) {
    const DateTime expected = at(2020, 2, 17, 9, 5, 3);
    for (const char* text : {"2020-02-17 09:05:03", "2020/2/17 9:5:3", "2020年2月17日9时5分3秒",
                             "2020.02.17.09.05.03", "20200217090503", "2020-02-17 09:05:03秒",
                             "2020-2-17:9-5/3", "２０２０－０２－１７　０９：０５：０３"}) {
        EXPECT_EQ(toDateTime(text), expected) << text;
    }
}

TEST(ToDateTime, MissingTrailingFieldsAreZero) {
    EXPECT_EQ(toDateTime("2020-02-17"), at(2020, 2, 17));
    EXPECT_EQ(toDateTime("2020年2月17日"), at(2020, 2, 17));
    EXPECT_EQ(toDateTime("2020-02-17 "), at(2020, 2, 17));
    EXPECT_EQ(toDateTime("2020-02-17 9"), at(2020, 2, 17, 9));
    EXPECT_EQ(toDateTime("2020年2月17日9时5分"), at(2020, 2, 17, 9, 5));
    EXPECT_EQ(toDateTime("2020-02-17 09:05:"), at(2020, 2, 17, 9, 5));
}

TEST(ToDateTime, TheEndsOfTheRangeAreRead) {
    EXPECT_EQ(toDateTime("100-01-01"), kMinimum);
    EXPECT_EQ(toDateTime("100-01-01 00:00:01"), at(100, 1, 1, 0, 0, 1));
    EXPECT_EQ(toDateTime("9999-12-31"), DateTime{DateTime::kMaximumDays});
    EXPECT_EQ(toDateTime("2020-02-29"), at(2020, 2, 29));
}

TEST(ToDateTime, FieldsOutOfRangeGiveTheMinimum) {
    for (const char* text :
         {"2020-02-30", "2019-02-29", "1900-02-29", "2020-13-01", "2020-00-10", "2020-01-00",
          "2020-02-17 24:00:00", "2020-02-17 09:60", "2020-02-17 09:05:60", "99-01-01", "2020"}) {
        EXPECT_EQ(toDateTime(text), kMinimum) << text;
    }
}

TEST(ToDateTime, TextNotReadToItsEndGivesTheMinimum) {
    for (const char* text :
         {"", "abc", " 2020-02-17", "2020-02-17x", "2020-02-17 09:05:03:", "2020-02-17  09",
          "2020--02-17", "2020月02月17日", "2020-02-17 09:05:03.5", "2020-02-17 09:05:033",
          "2020-02-17 9:5:3 ", "2020-02-17\t09", "2020-02-17 09 05", "2020年2月17日 9时",
          "2020-02-17\xB0"}) {
        EXPECT_EQ(toDateTime(text), kMinimum) << text;
    }
}

TEST(ToDateTime, ReadsWhatToTextWrites) {
    for (const DateTime value : {at(2020, 2, 17, 9, 5, 3), at(2020, 2, 17, 9, 5), at(2020, 2, 17),
                                 at(100, 1, 1, 23, 59, 59), at(9999, 12, 31)}) {
        EXPECT_EQ(toDateTime(toText(value)), value) << toText(value);
        EXPECT_EQ(toDateTime(formatDateTime(value)), value);
    }
}

TEST(FormatDateTime, DefaultPictureIsTheStorageForm) {
    EXPECT_TEXT_EQ(formatDateTime(at(2020, 2, 17, 9, 5, 3)), "2020-02-17 09:05:03");
    EXPECT_TEXT_EQ(formatDateTime(at(2020, 2, 17, 21, 5, 3), ""), "2020-02-17 21:05:03");
    EXPECT_TEXT_EQ(formatDateTime(at(100, 1, 1)), "0100-01-01 00:00:00");
}

TEST(FormatDateTime, PictureLetters) {
    const DateTime value = at(2020, 2, 7, 9, 5, 3);
    EXPECT_TEXT_EQ(formatDateTime(value, "yyyyMMddHHmmss"), "20200207090503");
    EXPECT_TEXT_EQ(formatDateTime(value, "yy/M/d H:m:s"), "20/2/7 9:5:3");
    EXPECT_TEXT_EQ(formatDateTime(value, "yyyy年M月d日"), "2020年2月7日");
    EXPECT_TEXT_EQ(formatDateTime(at(2005, 1, 1, 13), "yy hh h HH"), "05 01 1 13");
    EXPECT_TEXT_EQ(formatDateTime(at(2005, 1, 1, 0), "hh h H"), "12 12 0");
    EXPECT_TEXT_EQ(formatDateTime(value, "[y] T"), "[y] T");
}

TEST(FormatDateTime, TrailBytesThatLookLikeLettersAreCopied) {
    // The second bytes of 盡 and 癲 are 'M' and 'd'.
    EXPECT_TEXT_EQ(formatDateTime(at(2020, 2, 7), "盡dd癲"), "盡07癲");
}

}  // namespace
}  // namespace tamrivo
