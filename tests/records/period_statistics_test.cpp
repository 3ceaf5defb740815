#include "records/period_statistics.h"

#include <gmock/gmock.h>

#include "base/text_to_value.h"
#include "records/figure_text.h"
#include "records/statistics_indexes.h"
#include "records/statistics_period.h"
#include "records/stored_dates.h"
#include "records/today_figures.h"
#include "tests/records/records_test_support.h"

namespace tamrivo {
namespace {

using ::testing::ElementsAre;
using ::testing::Field;

std::int64_t day(const char* date) {
    return storedDay(date).value_or(-1);
}

ReportPeriod days(const char* first, const char* last) {
    return {day(first), day(last)};
}

// Two normal rooms and an abandoned one, and leases around March 2024 (a leap year):
//  1 one    27 Feb 14:00 - 3 Mar 11:00   400  crosses the start: 27, 28, 29 Feb; 1, 2 Mar
//  2 two    30 Mar 20:00 - 2 Apr 10:00   300  crosses the end: 30, 31 Mar; paid in April
//  3 one    10 Mar 09:00 - open               rent 100, deposit 50
//  4 three   5 Mar 09:00 - 7 Mar 10:00     0  the abandoned room: 5, 6 Mar
//  5 two    15 Mar 12:00 - 15 Mar 18:00  -50  a refund, no night
//  6 two    10 Feb 00:00 - 12 Feb 09:00  200  10, 11 Feb
//  7 hut    20 Mar 08:00 - 20 Mar 09:00   80  an address that is no room
//  8 hut    "someday"    - open               rent 30, deposit 20: no date, no nights
class PeriodStatisticsTest : public testing::RecordsTest {
protected:
    void SetUp() override {
        makeDatabase();
        execute(
            "INSERT INTO b_fangjian (id, dizhi, zhuangtai, chuzuzhuangtai, danhao) VALUES "
            "(1, 'one', 1, 1, 'L3'), (2, 'two', 1, 0, ''), (3, 'three', 0, 0, '')");
        execute(
            "INSERT INTO b_zulin (id, danhao, fangzhi, dingjin, zujin, ruzhuriqi, "
            "zulinzhuangtai, jiesuanjine, jiesuanriqi) VALUES "
            "(1, 'L1', 'one', 0, 0, '2024-02-27 14:00:00', 1, 400, '2024-03-03 11:00:00'),"
            "(2, 'L2', 'two', 0, 0, '2024-03-30 20:00:00', 1, 300, '2024-04-02 10:00:00'),"
            "(3, 'L3', 'one', 50, 100, '2024-03-10 09:00:00', 0, 0, ''),"
            "(4, 'L4', 'three', 0, 0, '2024-03-05 09:00:00', 1, 0, '2024-03-07 10:00:00'),"
            "(5, 'L5', 'two', 0, 0, '2024-03-15 12:00:00', 1, -50, '2024-03-15 18:00:00'),"
            "(6, 'L6', 'two', 0, 0, '2024-02-10 00:00:00', 1, 200, '2024-02-12 09:00:00'),"
            "(7, 'L7', 'hut', 0, 0, '2024-03-20 08:00:00', 1, 80, '2024-03-20 09:00:00'),"
            "(8, 'L8', 'hut', 20, 30, 'someday', 0, 0, '')");
    }

    PeriodStatistics statistics(ReportPeriod period, const char* today = "2024-04-05") {
        const auto read = readPeriodStatistics(db, period, day(today));
        EXPECT_TRUE(read) << db.errorMessage();
        return read.value_or(PeriodStatistics{});
    }
};

TEST_F(PeriodStatisticsTest, CountsAMonthAgainstTheMonthBefore) {
    const PeriodStatistics march = statistics(days("2024-03-01", "2024-03-31"));
    EXPECT_EQ(march.previous.firstDay, day("2024-02-01"));
    EXPECT_EQ(march.previous.lastDay, day("2024-02-29"));
    // 400 + 0 - 50 + 80; stays 2, 3, 4, 5, 7; nights 2 + 2 + 22 (open, to the 31st) + 2.
    EXPECT_DOUBLE_EQ(march.figures.income, 430);
    EXPECT_EQ(march.figures.stays, 5);
    EXPECT_EQ(march.figures.nightsLet, 28);
    EXPECT_EQ(march.figures.nightsOnOffer, 2 * 31);  // the abandoned room offers none
    // February: 200; stays 1 and 6; nights 3 (the leap day among them) + 2.
    EXPECT_DOUBLE_EQ(march.previousFigures.income, 200);
    EXPECT_EQ(march.previousFigures.stays, 2);
    EXPECT_EQ(march.previousFigures.nightsLet, 5);
    EXPECT_EQ(march.previousFigures.nightsOnOffer, 2 * 29);
    EXPECT_THAT(march.leftOut, ElementsAre("lease 8: the check-in date 'someday' is no date; its "
                                           "nights are left out"));

    // Room revenue: lease 3's 22 nights at 100 (the others let at 0) against nothing.
    EXPECT_DOUBLE_EQ(march.figures.roomRevenue, 2200);
    EXPECT_DOUBLE_EQ(march.previousFigures.roomRevenue, 0);

    // 28/62, 2200/28, 2200/62 against 5/58, 0/5, 0/58.
    const auto lines = periodFigureLines(march);
    ASSERT_EQ(lines.size(), 7u);
    const auto line = [&](std::size_t i) {
        return lines[i].name + "|" + lines[i].value + "|" + lines[i].previousValue + "|" +
               lines[i].change;
    };
    EXPECT_EQ(line(0), "结算收入|430.00|200.00|+115.0%");
    EXPECT_EQ(line(1), "入住次数|5|2|+150.0%");
    EXPECT_EQ(line(2), "出租晚数|28|5|+460.0%");
    EXPECT_EQ(line(3), "出租率|45.2%|8.6%|+423.9%");
    EXPECT_EQ(line(4), "客房收入|2200.00|0.00|—");
    EXPECT_EQ(line(5), "平均房价|78.57|0.00|—");
    EXPECT_EQ(line(6), "每间可售房收入|35.48|0.00|—");
}

TEST_F(PeriodStatisticsTest, ListsEveryRoomBestIncomeFirst) {
    const PeriodStatistics march = statistics(days("2024-03-01", "2024-03-31"));
    EXPECT_THAT(march.rooms,
                ElementsAre(Field(&RoomFigures::room, "one"), Field(&RoomFigures::room, "hut"),
                            Field(&RoomFigures::room, "three"), Field(&RoomFigures::room, "two")));
    ASSERT_EQ(march.rooms.size(), 4u);
    const RoomFigures& one = march.rooms[0];
    EXPECT_EQ(one.stays, 1);
    EXPECT_EQ(one.nightsLet, 24);
    EXPECT_DOUBLE_EQ(one.occupancy, 24.0 / 31);
    EXPECT_DOUBLE_EQ(one.income, 400);
    const RoomFigures& two = march.rooms[3];
    EXPECT_EQ(two.stays, 2);
    EXPECT_EQ(two.nightsLet, 2);
    EXPECT_DOUBLE_EQ(two.income, -50);
    EXPECT_EQ(march.rooms[2].nightsLet, 2);  // abandoned now, let then
    EXPECT_DOUBLE_EQ(march.rooms[2].income, 0);
}

TEST_F(PeriodStatisticsTest, ChartsIncomeByDayBesideTheDayOfThePeriodBefore) {
    const PeriodStatistics march = statistics(days("2024-03-01", "2024-03-31"));
    EXPECT_EQ(march.bars, ChartSpan::Day);
    ASSERT_EQ(march.income.size(), 31u);
    EXPECT_EQ(march.income[0].label, "1");
    EXPECT_EQ(march.income[2].label, "3");
    EXPECT_DOUBLE_EQ(march.income[2].income, 400);
    EXPECT_DOUBLE_EQ(march.income[14].income, -50);
    EXPECT_DOUBLE_EQ(march.income[19].income, 80);
    EXPECT_DOUBLE_EQ(march.income[11].previousIncome, 200);  // 12 February
    double total = 0;
    for (const IncomeBar& bar : march.income) {
        total += bar.income;
    }
    EXPECT_DOUBLE_EQ(total, march.figures.income);

    // Longer than 62 days: by month, the year before beside.
    const PeriodStatistics year = statistics(days("2024-01-01", "2024-12-31"));
    EXPECT_EQ(year.bars, ChartSpan::Month);
    ASSERT_EQ(year.income.size(), 12u);
    EXPECT_EQ(year.income[1].label, "2024-02");
    EXPECT_DOUBLE_EQ(year.income[1].income, 200);
    EXPECT_DOUBLE_EQ(year.income[2].income, 430);
    EXPECT_DOUBLE_EQ(year.income[3].income, 300);
    EXPECT_DOUBLE_EQ(year.income[3].previousIncome, 0);
    // The year is on offer only up to tonight: 1 January to 5 April.
    EXPECT_EQ(year.figures.nightsOnOffer, 2 * (31 + 29 + 31 + 5));

    // Ten years and more: by year, so centuries typed into the dates stay a drawable chart.
    const PeriodStatistics decades = statistics(days("2015-06-01", "2024-12-31"));
    EXPECT_EQ(decades.bars, ChartSpan::Month);
    const PeriodStatistics centuries = statistics(days("1900-01-01", "2099-12-31"));
    EXPECT_EQ(centuries.bars, ChartSpan::Year);
    ASSERT_EQ(centuries.income.size(), 200u);
    EXPECT_EQ(centuries.income[124].label, "2024");
    EXPECT_DOUBLE_EQ(centuries.income[124].income, 200 + 430 + 300);
}

TEST_F(PeriodStatisticsTest, AnOpenStayCountsUpToTonight) {
    const PeriodStatistics march = statistics(days("2024-03-01", "2024-03-31"), "2024-03-12");
    // Lease 3: the 10th, 11th and 12th; lease 2 has not begun; and the rest of the month is
    // not on offer yet.
    EXPECT_EQ(march.rooms[0].room, "one");
    EXPECT_EQ(march.rooms[0].nightsLet, 2 + 3);
    EXPECT_EQ(march.figures.nightsOnOffer, 2 * 12);
}

TEST_F(PeriodStatisticsTest, AQuietPeriodHasZerosAndNoChange) {
    const PeriodStatistics june = statistics(days("2023-06-01", "2023-06-30"));
    EXPECT_DOUBLE_EQ(june.figures.income, 0);
    EXPECT_EQ(june.figures.nightsLet, 0);
    EXPECT_EQ(june.figures.nightsOnOffer, 60);
    EXPECT_EQ(june.rooms.size(), 3u);  // the rooms, no address only stays carry
    EXPECT_EQ(june.income.size(), 30u);
    for (const FigureLine& line : periodFigureLines(june)) {
        EXPECT_EQ(line.change, "—") << line.name;
    }
    EXPECT_EQ(periodFigureLines(june)[3].value, "0.0%");

    // A period that has not begun offers nothing and divides by nothing.
    const PeriodStatistics later = statistics(days("2025-01-01", "2025-01-31"));
    EXPECT_EQ(later.figures.nightsOnOffer, 0);
    EXPECT_EQ(periodFigureLines(later)[3].value, "0.0%");
}

TEST_F(PeriodStatisticsTest, TheLeapDayIsANightOfItsOwn) {
    const PeriodStatistics leap = statistics(days("2024-02-29", "2024-02-29"));
    EXPECT_EQ(leap.previous.firstDay, day("2024-02-28"));
    EXPECT_EQ(leap.figures.nightsLet, 1);
    EXPECT_EQ(leap.previousFigures.nightsLet, 1);
    EXPECT_EQ(leap.figures.nightsOnOffer, 2);
}

TEST_F(PeriodStatisticsTest, TodayCountsRoomsMovementsAndWhatTheOpenLeasesHold) {
    const auto today = readTodayFigures(db, toDateTime("2024-03-20 12:00:00"));
    ASSERT_TRUE(today) << db.errorMessage();
    const auto lines = todayLines(*today);
    Text shown;
    for (const TodayLine& line : lines) {
        shown += line.name + "=" + line.value + " ";
    }
    // Lease 3 has run 10 days 3 hours, 10.13 days as the check-out counts it; lease 8's
    // check-in is no date and accrues nothing, but its deposit is held.
    EXPECT_EQ(shown,
              "正常房间=2 废弃房间=1 在租房间=1 闲置房间=1 今日入住=1 今日退房=1 "
              "未结算租约=2 押金合计=70.00 应收租金=1013.00 ");
}

TEST_F(PeriodStatisticsTest, OpeningGivesAnOlderFileItsIndexesAndNothingElse) {
    const std::string before = testing::recordsOf(databaseFile());
    const auto indexes = [&] {
        TextTable rows;
        int rowCount = 0;
        int columnCount = 0;
        Text error;
        db.getTable(
            "SELECT name FROM sqlite_master WHERE type='index' AND name LIKE 'b_zulin_%' "
            "ORDER BY name",
            &rows, rowCount, columnCount, error);
        return rowCount;
    };
    EXPECT_EQ(indexes(), 0);
    EXPECT_TRUE(addStatisticsIndexes(db));
    EXPECT_TRUE(addStatisticsIndexes(db));  // once there, left alone
    EXPECT_EQ(indexes(), 4);                // check-in, settlement, open ones, order number
    EXPECT_EQ(testing::recordsOf(databaseFile()), before);
    EXPECT_DOUBLE_EQ(statistics(days("2024-03-01", "2024-03-31")).figures.income, 430);
}

TEST(StatisticsPeriods, ChoicesAroundTodayAndThePeriodBefore) {
    const std::int64_t today = day("2024-03-15");
    const auto is = [](ReportPeriod period, const char* first, const char* last) {
        return period.firstDay == day(first) && period.lastDay == day(last);
    };
    EXPECT_TRUE(is(choosePeriod(PeriodChoice::ThisMonth, today), "2024-03-01", "2024-03-31"));
    EXPECT_TRUE(is(choosePeriod(PeriodChoice::LastMonth, today), "2024-02-01", "2024-02-29"));
    EXPECT_TRUE(is(choosePeriod(PeriodChoice::ThisYear, today), "2024-01-01", "2024-12-31"));
    EXPECT_TRUE(is(choosePeriod(PeriodChoice::LastYear, today), "2023-01-01", "2023-12-31"));
    EXPECT_TRUE(is(choosePeriod(PeriodChoice::Last30Days, today), "2024-02-15", "2024-03-15"));
    EXPECT_TRUE(is(choosePeriod(PeriodChoice::Custom, today, days("2024-05-02", "2024-05-01")),
                   "2024-05-01", "2024-05-02"));
    EXPECT_TRUE(
        is(choosePeriod(PeriodChoice::LastMonth, day("2024-01-10")), "2023-12-01", "2023-12-31"));

    EXPECT_TRUE(is(previousPeriod(days("2024-03-01", "2024-03-31")), "2024-02-01", "2024-02-29"));
    EXPECT_TRUE(is(previousPeriod(days("2024-01-01", "2024-12-31")), "2023-01-01", "2023-12-31"));
    EXPECT_TRUE(is(previousPeriod(days("2024-02-01", "2024-03-31")), "2023-12-01", "2024-01-31"));
    EXPECT_TRUE(is(previousPeriod(days("2024-03-02", "2024-03-31")), "2024-02-01", "2024-03-01"));
}

TEST(FigureText, MoneyAndSharesRoundToWhatIsShown) {
    EXPECT_EQ(moneyText(0.1 + 0.2), "0.30");
    EXPECT_EQ(moneyText(-0.001), "0.00");
    EXPECT_EQ(moneyText(-12.3), "-12.30");
    EXPECT_EQ(percentText(1.0 / 3), "33.3%");
    EXPECT_EQ(changeText(50, -100), "+150.0%");  // from a loss to a gain is a rise
    EXPECT_EQ(changeText(5, 10), "-50.0%");
    EXPECT_EQ(changeText(10, 10), "0.0%");
    EXPECT_EQ(changeText(10, 0), "—");
}

TEST(FigureText, CsvTablesDefuseFormulasAndQuoteWhatNeedsIt) {
    const std::array tables = {
        TextRows{{"指标"}}, TextRows{{"房间", "收入(元)"}, {"=1+1", "-5.00"}, {"a,\"b\"", "1.00"}}};
    EXPECT_EQ(csvTables(tables), "\xEF\xBB\xBF" + gbkToUtf8("指标\r\n\r\n房间,收入(元)\r\n") +
                                     "'=1+1,-5.00\r\n\"a,\"\"b\"\"\",1.00\r\n");
}

}  // namespace
}  // namespace tamrivo
