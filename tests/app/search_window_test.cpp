#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>
#include <vector>

#include "app/search_window.h"
#include "base/text_encoding.h"
#include "base/text_to_value.h"
#include "records/records_file.h"
#include "tests/app/search_fixture.h"
#include "tests/support/temporary_folder.h"
#include "ui/windows/search_window.h"

namespace tamrivo::testing {
namespace {

class SearchWindow : public SearchTest {};

TEST_F(SearchWindow, OpensFromTheToolbarOnceAndASecondClickBringsItBack) {
    const WindowHandle search = openSearch();
    ASSERT_NE(search, 0);
    EXPECT_TEXT_EQ(services.text(search, {}), "搜索数据");
    EXPECT_EQ(services.widget(search)->parentWidget(), services.widget(main));
    EXPECT_EQ(openSearch(), search);
    services.destroyWindow(search);
    processEvents();
    const WindowHandle again = openSearch();
    EXPECT_NE(again, 0);
    EXPECT_NE(again, search);
}

TEST_F(SearchWindow, AnEmptyDatabaseListsNothing) {
    const WindowHandle search = openSearch();
    EXPECT_EQ(rowCount(search), 0);
    EXPECT_TEXT_EQ(totals(search), "共 0 条 实收合计 0 元");
    typeKeyword(search, "张");
    EXPECT_TEXT_EQ(totals(search), "共 0 条 实收合计 0 元");
}

TEST_F(SearchWindow, ASearchThatCannotReadTheLeasesSaysSoInsteadOfListing) {
    ASSERT_TRUE(run("DROP TABLE b_zulin"));
    const WindowHandle search = openSearch();
    EXPECT_EQ(rowCount(search), 0);
    EXPECT_EQ(totals(search).rfind("搜索失败：", 0), 0u) << readableGbk(totals(search));
    EXPECT_EQ(responder.count(), 0u);  // no box to answer at every keystroke
}

TEST_F(SearchWindow, AnEmptySearchListsEveryStayNewestFirstWithItsCells) {
    addLease({.danhao = "OLD", .ruzhuriqi = "2019-05-01 08:00:00"});
    addLease({.danhao = "NEW",
              .fangzhi = "二号房",
              .xingming = "李四",
              .lianxifangshi = "139",
              .dingjin = 50.5,
              .zujin = 120,
              .ruzhuriqi = "2021-03-01 12:00:00",
              .zulinzhuangtai = 1,
              .jiesuanjine = 300,
              .jiesuanriqi = "2021-03-03 00:00:00",
              .beizhu = "靠窗"});
    addLease({.danhao = "MID", .ruzhuriqi = "2020-01-01 00:00:00", .jiesuanjine = 999});
    const WindowHandle search = openSearch();
    EXPECT_TEXT_EQ(orderNumbers(search), "NEW,MID,OLD");
    std::vector<Text> cells;
    for (int c = 0; c < 12; ++c) {
        cells.push_back(services.listCellText(search, kResults, 0, c));
    }
    EXPECT_EQ(cells, (std::vector<Text>{"NEW", "二号房", "李四", "139", "2021-03-01 12:00:00",
                                        "2021-03-03 00:00:00", "1.5", "50.5", "120", "300",
                                        "已结算", "靠窗"}));
    EXPECT_TEXT_EQ(services.listCellText(search, kResults, 1, 5), "");  // open: no check-out
    EXPECT_TEXT_EQ(services.listCellText(search, kResults, 1, 9), "");  // nor an amount
    EXPECT_TEXT_EQ(services.listCellText(search, kResults, 1, 10), "未结算");
    // Only what was received counts: an open lease's stray amount does not.
    EXPECT_TEXT_EQ(totals(search), "共 3 条 实收合计 300 元");
}

TEST_F(SearchWindow, AKeywordIsFoundInEachSearchedColumnIgnoringTheCaseOfLetters) {
    addLease({.danhao = "AB-1"});
    addLease({.danhao = "2", .fangzhi = "幸福小区ab座"});
    addLease({.danhao = "3", .xingming = "Abe"});
    addLease({.danhao = "4", .lianxifangshi = "微信aB"});
    addLease({.danhao = "5", .beizhu = "带AB"});
    addLease({.danhao = "6", .jiesuanbeizhu = "退ab"});
    addLease({.danhao = "7", .xingming = "无关"});
    const WindowHandle search = openSearch();
    typeKeyword(search, "ab");
    EXPECT_EQ(rowCount(search), 6);
    EXPECT_TEXT_EQ(totals(search), "共 6 条 实收合计 0 元");
    typeKeyword(search, "无关");
    EXPECT_TEXT_EQ(orderNumbers(search), "7");
    typeKeyword(search, "无 关");
    EXPECT_EQ(rowCount(search), 0);
    typeKeyword(search, "");
    EXPECT_EQ(rowCount(search), 7);
}

// The records hold GBK alone: a character outside it (an emoji, a rare ideograph), typed or
// pasted, is refused by the box rather than read as "?" and matched against every "?".
TEST_F(SearchWindow, AKeywordTakesNothingTheRecordsCannotHold) {
    addLease({.danhao = "Q", .xingming = "a?b"});
    addLease({.danhao = "Z", .xingming = "张三"});
    const WindowHandle search = openSearch();
    auto* box = qobject_cast<QLineEdit*>(services.widget(search, search_window::kKeywordEdit));
    ASSERT_NE(box, nullptr);
    for (const char* outside : {"\xF0\x9F\x98\x80", "\xF0\xA0\x80\x80", "b\xF0\x9F\x98\x80"}) {
        SCOPED_TRACE(outside);
        typeKeyword(search, "a");
        QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8(outside));
        QApplication::sendEvent(box, &typed);     // as an input method gives it
        box->insert(QString::fromUtf8(outside));  // as a paste does
        processEvents();
        EXPECT_TEXT_EQ(services.text(search, search_window::kKeywordEdit), "a");
        EXPECT_TEXT_EQ(orderNumbers(search), "Q");
    }
    typeKeyword(search, "?");
    EXPECT_TEXT_EQ(orderNumbers(search), "Q");
    typeKeyword(search, "张");
    box->insert(QString::fromUtf8("\xF0\x9F\x98\x80"));
    processEvents();
    EXPECT_TEXT_EQ(orderNumbers(search), "Z");
}

TEST_F(SearchWindow, WildcardsQuotesAndATrailByteLikeABackslashArePlainCharacters) {
    addLease({.danhao = "P", .xingming = "百分之50%"});
    addLease({.danhao = "U", .xingming = "a_b"});
    addLease({.danhao = "Q", .xingming = "O'Brien"});
    addLease({.danhao = "S", .xingming = "淺水湾"});  // 淺 is 9C 5C: its trail byte is "\"
    addLease({.danhao = "B", .xingming = "back\\slash"});
    addLease({.danhao = "X", .xingming = "axb"});
    const WindowHandle search = openSearch();
    typeKeyword(search, "%");
    EXPECT_TEXT_EQ(orderNumbers(search), "P");
    typeKeyword(search, "_");
    EXPECT_TEXT_EQ(orderNumbers(search), "U");
    typeKeyword(search, "a_b");
    EXPECT_TEXT_EQ(orderNumbers(search), "U");
    typeKeyword(search, "'");
    EXPECT_TEXT_EQ(orderNumbers(search), "Q");
    typeKeyword(search, "' OR '1'='1");
    EXPECT_EQ(rowCount(search), 0);
    typeKeyword(search, "淺");
    EXPECT_TEXT_EQ(orderNumbers(search), "S");
    typeKeyword(search, "\\");
    EXPECT_TEXT_EQ(orderNumbers(search), "B");
}

// Three leases: open in March, settled in March, settled in April.
class SearchFilters : public SearchWindow {
protected:
    void SetUp() override {
        SearchWindow::SetUp();
        addLease({.danhao = "OPEN-3", .xingming = "甲", .ruzhuriqi = "2020-03-10 09:00:00"});
        addLease({.danhao = "DONE-3",
                  .xingming = "乙",
                  .ruzhuriqi = "2020-03-31 23:59:59",
                  .zulinzhuangtai = 1,
                  .jiesuanjine = 100,
                  .jiesuanriqi = "2020-04-01 12:00:00"});
        addLease({.danhao = "DONE-4",
                  .xingming = "甲",
                  .ruzhuriqi = "2020-04-01 00:00:00",
                  .zulinzhuangtai = 1,
                  .jiesuanjine = 50,
                  .jiesuanriqi = "2020-04-02 12:00:00"});
        search = openSearch();
    }

    void pickState(int index) {
        pickComboItem(services, search, search_window::kStateCombo, index);
        processEvents();
    }
    void dates(const Text& first, const Text& last) {
        services.setDateTime(search, search_window::kFirstDayPicker, toDateTime(first));
        services.setDateTime(search, search_window::kLastDayPicker, toDateTime(last));
        processEvents();
    }
    void tickDates(bool ticked) {
        auto* box =
            qobject_cast<QCheckBox*>(services.widget(search, search_window::kByDateCheckBox));
        if (box->isChecked() != ticked) {
            clickControl(services, search, search_window::kByDateCheckBox);
        }
        processEvents();
    }

    WindowHandle search = 0;
};

TEST_F(SearchFilters, TheStateAlone) {
    pickState(1);
    EXPECT_TEXT_EQ(orderNumbers(search), "OPEN-3");
    EXPECT_TEXT_EQ(totals(search), "共 1 条 实收合计 0 元");
    pickState(2);
    EXPECT_TEXT_EQ(orderNumbers(search), "DONE-4,DONE-3");
    EXPECT_TEXT_EQ(totals(search), "共 2 条 实收合计 150 元");
    pickState(0);
    EXPECT_EQ(rowCount(search), 3);
}

TEST_F(SearchFilters, TheCheckInDatesAloneCountBothDaysOnlyWhileTicked) {
    dates("2020-03-10 18:00:00", "2020-03-31 00:00:00");
    EXPECT_EQ(rowCount(search), 3);  // not ticked: the dates do nothing
    tickDates(true);
    EXPECT_TEXT_EQ(orderNumbers(search), "DONE-3,OPEN-3");
    dates("2020-04-01 00:00:00", "2020-04-01 00:00:00");
    EXPECT_TEXT_EQ(orderNumbers(search), "DONE-4");
    dates("2020-04-30 00:00:00", "2020-03-31 00:00:00");  // the wrong way round: refused
    EXPECT_EQ(rowCount(search), 0);
    EXPECT_TEXT_EQ(totals(search), "结束日期早于开始日期,请重新选择");
    dates("2020-03-31 00:00:00", "2020-04-30 00:00:00");
    EXPECT_TEXT_EQ(orderNumbers(search), "DONE-4,DONE-3");
    tickDates(false);
    EXPECT_EQ(rowCount(search), 3);
}

TEST_F(SearchFilters, AllTogether) {
    typeKeyword(search, "甲");
    EXPECT_TEXT_EQ(orderNumbers(search), "DONE-4,OPEN-3");
    pickState(2);
    EXPECT_TEXT_EQ(orderNumbers(search), "DONE-4");
    tickDates(true);
    dates("2020-03-01 00:00:00", "2020-03-31 00:00:00");
    EXPECT_EQ(rowCount(search), 0);
    pickState(1);
    EXPECT_TEXT_EQ(orderNumbers(search), "OPEN-3");
    EXPECT_TEXT_EQ(totals(search), "共 1 条 实收合计 0 元");
}

TEST_F(SearchWindow, FollowsWhatChangesWhileItIsOpenHereOrInAnotherProgram) {
    addLease({.danhao = "A1"});
    const WindowHandle search = openSearch();
    typeKeyword(search, "b");
    EXPECT_EQ(rowCount(search), 0);

    addLease({.danhao = "B1"});
    typeKeyword(search, "b");
    EXPECT_TEXT_EQ(orderNumbers(search), "B1");

    Database other;
    ASSERT_EQ(openRecords(other, databaseFile()), "");
    ASSERT_TRUE(other.execute("UPDATE b_zulin SET danhao='B2' WHERE danhao='A1'"));
    other.close();
    typeKeyword(search, "b");
    EXPECT_TEXT_EQ(orderNumbers(search), "B1,B2");
    EXPECT_TEXT_EQ(totals(search), "共 2 条 实收合计 0 元");
}

TEST_F(SearchWindow, ASettledLeaseWithoutItsSettlementDateIsListedWithoutALength) {
    addLease({.danhao = "NODATE", .zulinzhuangtai = 1, .jiesuanjine = 80});
    ASSERT_TRUE(run("UPDATE b_zulin SET jiesuanriqi=NULL"));
    const WindowHandle search = openSearch();
    EXPECT_TEXT_EQ(orderNumbers(search), "NODATE");
    EXPECT_TEXT_EQ(services.listCellText(search, kResults, 0, 5), "");
    EXPECT_TEXT_EQ(services.listCellText(search, kResults, 0, 6), "");
    EXPECT_TEXT_EQ(totals(search), "共 1 条 实收合计 80 元");
}

TEST_F(SearchWindow, EveryColumnSortsByItsTitle) {
    // Numbers chosen so that sorting them as texts would give another order.
    addLease({.danhao = "A",
              .xingming = "乙",
              .dingjin = 9,
              .zujin = 100,
              .ruzhuriqi = "2020-01-01 00:00:00",
              .zulinzhuangtai = 1,
              .jiesuanjine = 1000,
              .jiesuanriqi = "2020-01-11 00:00:00"});
    addLease({.danhao = "C",
              .xingming = "甲",
              .dingjin = 10,
              .zujin = 20,
              .ruzhuriqi = "2020-03-01 00:00:00",
              .zulinzhuangtai = 1,
              .jiesuanjine = 200,
              .jiesuanriqi = "2020-03-03 00:00:00",
              .beizhu = "z"});
    addLease({.danhao = "B",
              .xingming = "丙",
              .dingjin = 100,
              .zujin = 3,
              .ruzhuriqi = "2020-02-01 00:00:00",
              .zulinzhuangtai = 1,
              .jiesuanjine = 30,
              .jiesuanriqi = "2020-02-02 12:00:00",
              .beizhu = "a"});
    const WindowHandle search = openSearch();
    const auto isNumber = [](int c) { return c >= 6 && c <= 9; };
    for (int c = 0; c < 12; ++c) {
        SCOPED_TRACE(c);
        clickTitle(search, c);
        std::vector<Text> cells;
        for (int r = 0; r < rowCount(search); ++r) {
            cells.push_back(services.listCellText(search, kResults, r, c));
        }
        const bool sorted =
            std::is_sorted(cells.begin(), cells.end(), [&](const Text& a, const Text& b) {
                return isNumber(c)
                           ? toNumber(a) < toNumber(b)
                           : QString::fromUtf8(gbkToUtf8(a)) < QString::fromUtf8(gbkToUtf8(b));
            });
        EXPECT_TRUE(sorted) << column(search, c);
    }
    clickTitle(search, 7);
    EXPECT_TEXT_EQ(orderNumbers(search), "A,C,B");  // 9, 10, 100
    clickTitle(search, 7);
    EXPECT_TEXT_EQ(orderNumbers(search), "B,C,A");
    clickTitle(search, 6);
    EXPECT_TEXT_EQ(orderNumbers(search), "B,C,A");  // 1.5, 2, 10 days
}

TEST_F(SearchWindow, ListsTheNewestFewThousandAndCountsThemAll) {
    ASSERT_TRUE(state.database.begin());
    for (int i = 0; i <= kShownSearchRows; ++i) {
        addLease({.danhao = "N" + std::to_string(i),
                  .ruzhuriqi = "2020-01-01 00:00:" + std::string(i % 60 < 10 ? "0" : "") +
                               std::to_string(i % 60),
                  .zulinzhuangtai = 1,
                  .jiesuanjine = 1,
                  .jiesuanriqi = "2020-01-02 00:00:00"});
    }
    ASSERT_TRUE(state.database.commit());
    const WindowHandle search = openSearch();
    EXPECT_EQ(rowCount(search), kShownSearchRows);
    EXPECT_TEXT_EQ(totals(search), "共 2001 条 实收合计 2001 元（列出最新的 2000 条）");

    // The export holds every lease found, not only those listed.
    TemporaryFolder out;
    const std::string exported = exportTo(search, out.file("all.csv"));
    EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), 1 + kShownSearchRows + 1);
    EXPECT_TEXT_EQ(lastBoxText(), "已导出 2001 条");
}

class SearchExport : public SearchTest {};

TEST_F(SearchExport, WritesTheLeasesFoundAsTheTableShowsThemWithFormulasDefused) {
    addLease({.danhao = "A1",
              .xingming = "=HYPERLINK(\"http://x\")",
              .lianxifangshi = "+86 139",
              .dingjin = -50,
              .ruzhuriqi = "2021-03-01 12:00:00",
              .zulinzhuangtai = 1,
              .jiesuanjine = 300.5,
              .jiesuanriqi = "2021-03-03 00:00:00",
              .beizhu = "靠窗,\"大\"床"});
    addLease({.danhao = "A2", .xingming = "李四", .ruzhuriqi = "2020-01-01 00:00:00"});
    addLease({.danhao = "B1", .ruzhuriqi = "2022-01-01 00:00:00"});
    const WindowHandle search = openSearch();
    typeKeyword(search, "a");
    TemporaryFolder out;
    const std::string file = out.file(gbkToUtf8("导出 \"结果\".csv"));
    const std::string expected =
        "\xEF\xBB\xBF" +
        gbkToUtf8(
            "单号,房址,姓名,联系方式,入住日期,退房日期,入住天数,定金,租金,实收金额,状态,备注\r\n"
            "A1,一号房,\"'=HYPERLINK(\"\"http://x\"\")\",'+86 139,2021-03-01 12:00:00,"
            "2021-03-03 00:00:00,1.5,-50,80,300.5,已结算,\"靠窗,\"\"大\"\"床\"\r\n");
    EXPECT_EQ(exportTo(search, file).substr(0, expected.size()), expected);
    const std::string written = readFile(file);
    // The open lease's days count up to now.
    const std::string open = gbkToUtf8("A2,一号房,李四,13800000000,2020-01-01 00:00:00,,");
    EXPECT_EQ(written.find(open), expected.size()) << written;
    EXPECT_NE(written.find(gbkToUtf8(",100,80,,未结算,\r\n")), std::string::npos) << written;
    EXPECT_EQ(written.find("B1"), std::string::npos);
    EXPECT_TEXT_EQ(lastBoxText(), "已导出 2 条");
}

TEST_F(SearchExport, ACancelledDialogWritesNothingAndAFailedWriteSaysSoAndLeavesNothing) {
    addLease({.danhao = "A1"});
    const WindowHandle search = openSearch();
    services.setSaveDialogPresenter([](const SaveDialogRequest&) { return Text(); });
    clickControl(services, search, search_window::kExportButton);
    processEvents();
    EXPECT_EQ(responder.count(), 0u);

    TemporaryFolder out;
    const std::string missing = out.file(gbkToUtf8("no-such-folder/结果.csv"));
    EXPECT_TRUE(exportTo(search, missing).empty());
    EXPECT_TEXT_EQ(lastBoxText(), "无法写入文件：" + utf8ToGbk(missing));
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

TEST_F(SearchExport, ReplacesTheFileThePersonChoseAndSaysWhenTheLeasesCannotBeRead) {
    addLease({.danhao = "A1"});
    const WindowHandle search = openSearch();
    TemporaryFolder out;
    const std::string file = out.file("chosen.csv");
    writeFile(file, "old contents");
    EXPECT_NE(exportTo(search, file).find("A1"), std::string::npos);

    ASSERT_TRUE(run("DROP TABLE b_zulin"));
    EXPECT_NE(exportTo(search, file).find("A1"), std::string::npos);  // left as it was
    EXPECT_EQ(lastBoxText().rfind("导出失败：", 0), 0u) << readableGbk(lastBoxText());
}

}  // namespace
}  // namespace tamrivo::testing
