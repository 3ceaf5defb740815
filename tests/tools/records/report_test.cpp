#include <gmock/gmock.h>

#include "tests/tools/records/records_test_support.h"
#include "tools/records/rent_report.h"
#include "tools/records/stored_dates.h"
#include "tools/records/text_table.h"

namespace tamrivo::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;

std::string utf8(const char* gbk) {
    return gbkToUtf8(gbk);
}

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

TEST(TextTable, ChineseCharactersTakeTwoColumns) {
    EXPECT_EQ(displayWidth(utf8("幸福里3号")), 9u);
    EXPECT_EQ(displayWidth(utf8("（元）")), 6u);
    const std::vector<std::vector<std::string>> rows = {{utf8("房屋"), utf8("晚数")}, {"a", "10"}};
    EXPECT_EQ(alignedTable(rows), utf8("房屋  晚数\n") + "a       10\n");
}

class Report : public RecordsTest {
protected:
    void SetUp() override {
        makeDatabase();
        execute(
            "INSERT INTO b_fangjian (dizhi, zhuangtai, chuzuzhuangtai, danhao) VALUES"
            "('东101', 1, 0, ''), ('东102', 1, 1, '20240320120000-00001003'), ('西1', 0, 0, '');"
            "INSERT INTO b_zulin (danhao, fangzhi, ruzhuriqi, zulinzhuangtai, jiesuanjine, "
            "jiesuanriqi) VALUES"
            "('20240228120000-00001000', '东101', '2024-02-28 12:00:00', 1, 240, "
            "'2024-03-02 10:00:00'),"
            "('20240305120000-00001001', '东101', '2024-03-05 12:00:00', 1, 125.5, "
            "'2024-03-08 09:00:00'),"
            "('20240330120000-00001002', '东102', '2024-03-30 12:00:00', 1, 360, "
            "'2024-04-02 09:00:00'),"
            "('20240420120000-00001003', '东102', '2024-04-20 12:00:00', 0, 0, '')");
        db.close();
    }
};

TEST_F(Report, MarchAsCsv) {
    const ToolRun run = tool({"report", "--from", "2024-03-01", "--to=2024-03-31", "--csv"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "\xEF\xBB\xBF" + utf8("月份,结算收入(元)\r\n") + "2024-03,365.50\r\n" +
                           utf8("合计,365.50\r\n") + "\r\n" + utf8("房屋地址,出租晚数\r\n") +
                           utf8("东101,4\r\n东102,2\r\n西1,0\r\n合计,6\r\n"));
}

TEST_F(Report, AllRecordsAsATable) {
    const ToolRun run = tool({"report", "--to", "2024-04-21"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.out, utf8("期间：至 2024-04-21\n\n"
                            "月份     结算收入(元)\n"
                            "2024-03        365.50\n"
                            "2024-04        360.00\n"
                            "合计           725.50\n\n"
                            "房屋地址  出租晚数\n"
                            "东101            6\n"
                            "东102            5\n"
                            "西1              0\n"
                            "合计            11\n"));
}

}  // namespace
}  // namespace tamrivo::testing
