#include "records/rent_report.h"

#include <gmock/gmock.h>

#include "records/stored_dates.h"

namespace tamrivo {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;

std::int64_t day(const char* date) {
    return storedDay(date).value_or(-1);
}

TEST(RentReport, CountsIncomeBySettlementMonthAndNightsWithinThePeriod) {
    const std::vector<LeaseFacts> leases = {
        {"1", "one", "2024-02-27 14:00:00", true, 400, "2024-03-03 11:00:00"},
        {"2", "two", "2024-03-30 20:00:00", true, 300, "2024-04-02 10:00:00"},
        {"3", "one", "2024-03-10 09:00:00", false, 0, ""},
        {"4", "three", "2024-03-15 09:00:00", true, 150, "2024-03-15 18:00:00"},
        {"5", "two", "2024-03-05 09:00:00", true, 80, "soon"},
        {"6", "two", "yesterday", true, 50, "2024-03-20 12:00:00"},
        {"7", "two", "2024-02-01 09:00:00", true, 999, "2024-02-29 23:59:59"},
    };
    const std::vector<std::string> rooms = {"two", "one", "four"};
    const RentReport march =
        makeRentReport(rooms, leases, {day("2024-03-01"), day("2024-03-31")}, day("2024-04-10"));
    EXPECT_THAT(march.incomeByMonth, ElementsAre(Pair("2024-03", 600)));
    // one: 1 and 2 March, then 10 to 31 March; two: 30 and 31 March; a day let is no night
    EXPECT_THAT(march.nightsByRoom, ElementsAre(Pair("two", 2), Pair("one", 24), Pair("four", 0)));
    EXPECT_THAT(march.leftOut,
                ElementsAre("lease 5: the settlement date 'soon' is no date; the lease is left out",
                            "lease 6: the check-in date 'yesterday' is no date; its nights are "
                            "left out"));

    // Unbounded, an open lease counts up to tonight and rooms found only on leases follow.
    const RentReport all = makeRentReport({}, leases, {}, day("2024-03-12"));
    EXPECT_THAT(all.incomeByMonth,
                ElementsAre(Pair("2024-02", 999), Pair("2024-03", 600), Pair("2024-04", 300)));
    EXPECT_THAT(all.nightsByRoom, ElementsAre(Pair("one", 5 + 3), Pair("two", 3 + 28)));
}

TEST(StoredDates, OnlyRealDatesInTheStoredShapeAreDates) {
    EXPECT_EQ(day("2024-03-01 00:00:00") + 1, day("2024-03-02"));
    EXPECT_EQ(day("2024-02-29") + 1, day("2024-03-01"));
    for (const char* text : {"2023-02-29", "2024-03-01 24:00:00", "2024-3-1", "2024-03-01T10:00:00",
                             "2024-03-01 10:00", " 2024-03-01", "２０２４-03-01", ""}) {
        EXPECT_FALSE(storedDay(text)) << text;
    }
    EXPECT_FALSE(typedDay("2024-03-01 10:00:00"));
    EXPECT_TRUE(typedDay("2024-03-01"));
}

}  // namespace
}  // namespace tamrivo
