#include <gmock/gmock.h>

#include "tests/tools/records/records_tool_test_support.h"
#include "tools/records/text_table.h"

namespace tamrivo::testing {
namespace {

std::string utf8(const char* gbk) {
    return gbkToUtf8(gbk);
}

TEST(TextTable, ChineseCharactersTakeTwoColumns) {
    EXPECT_EQ(displayWidth(utf8("幸福里3号")), 9u);
    EXPECT_EQ(displayWidth(utf8("（元）")), 6u);
    const std::vector<std::vector<std::string>> rows = {{utf8("房屋"), utf8("晚数")}, {"a", "10"}};
    EXPECT_EQ(alignedTable(rows), utf8("房屋  晚数\n") + "a       10\n");
}

class Report : public RecordsToolTest {
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
            "('20240420120000-00001003', '东102', '2024-04-20 12:00:00', 0, 0, '');"
            "UPDATE b_zulin SET zujin=80");
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

// March 2024 against February, a leap month: nights 1 (the lease crossing the start), 3, and
// 2 (the one crossing the end) against 28 and 29 February; two normal rooms offer 62 nights
// against 58.
TEST_F(Report, ACustomPeriodGivesItsFiguresBesideThoseOfThePeriodBefore) {
    const ToolRun run = tool(
        {"report", "--period", "custom", "--from", "2024-03-01", "--to", "2024-03-31", "--csv"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    const std::string figures = utf8(
        "指标,本期,上期,变化\r\n"
        "结算收入,365.50,0.00,—\r\n"
        "入住次数,2,1,+100.0%\r\n"  // a signed percentage is a number, not a formula
        "出租晚数,6,2,+200.0%\r\n"
        "出租率,9.7%,3.4%,+180.6%\r\n"
        "客房收入,480.00,160.00,+200.0%\r\n"  // the nights at 80 each
        "平均房价,80.00,80.00,0.0%\r\n"
        "每间可售房收入,7.74,2.76,+180.6%\r\n"
        "\r\n"
        "房间,入住次数,出租晚数,出租率,收入(元)\r\n"
        "东101,1,4,12.9%,365.50\r\n"
        "东102,1,2,6.5%,0.00\r\n"
        "西1,0,0,0.0%,0.00\r\n");
    EXPECT_THAT(run.out, ::testing::EndsWith(utf8("合计,6\r\n\r\n") + figures));

    const ToolRun table =
        tool({"report", "--period=custom", "--from=2024-03-01", "--to=2024-03-31"});
    ASSERT_EQ(table.status, kExitDone) << table.err;
    EXPECT_THAT(table.out,
                ::testing::StartsWith(utf8("期间：2024-03-01 至 2024-03-31，上期：2024-02-01 至 "
                                           "2024-02-29\n\n月份")));
    EXPECT_THAT(table.out, ::testing::HasSubstr(utf8("出租率            9.7%    3.4%  +180.6%\n")));
}

TEST_F(Report, ANamedPeriodTakesItsOwnDates) {
    const ToolRun run = tool({"report", "--period", "last-year"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_THAT(run.out, ::testing::HasSubstr(utf8("至 ") + "20"));
    EXPECT_THAT(run.out, ::testing::HasSubstr(utf8("-12-31\n")));
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"report", "--period", "fortnight"},
          {"report", "--period", "custom", "--from", "2024-03-01"},
          {"report", "--period", "this-month", "--to", "2024-03-31"}}) {
        EXPECT_EQ(tool(wrong).status, kExitUsage) << wrong[2];
    }
}

TEST_F(Report, AFormulaInAnAddressIsDefusedInTheCsv) {
    ASSERT_TRUE(db.open(databaseFile().string(), schema::kDatabaseKey));
    execute("UPDATE b_fangjian SET dizhi='=1+1' WHERE dizhi='西1'");
    db.close();
    const ToolRun run = tool({"report", "--csv"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_THAT(run.out, ::testing::HasSubstr("\r\n'=1+1,0\r\n"));
    EXPECT_THAT(run.out, ::testing::Not(::testing::HasSubstr("\n=1+1")));
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
