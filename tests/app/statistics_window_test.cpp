#include <QPrinter>

#include <fstream>
#include <iterator>

#include "base/date_time.h"
#include "base/text_to_value.h"
#include "records/bookings.h"
#include "records/statistics_period.h"
#include "records/stored_dates.h"
#include "tests/app/search_fixture.h"
#include "tests/support/pdf_text.h"
#include "ui/windows/statistics_window.h"

namespace tamrivo::testing {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The leases of the records' own statistics test, around March 2024, in the program: two
// normal rooms and an abandoned one, stays crossing the month's start and end, one still
// open, a refund, a zero amount, an address that is no room and a check-in that is no date.
class StatisticsWindow : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        ASSERT_TRUE(
            run("INSERT INTO b_fangjian (dizhi, zhuangtai, chuzuzhuangtai, danhao) VALUES "
                "('one', 1, 1, 'L3'), ('two', 1, 0, ''), ('three', 0, 0, '')"));
        const auto settled = [](Text room, Text in, double amount, Text out) {
            StoredLease lease{.fangzhi = std::move(room), .ruzhuriqi = std::move(in)};
            lease.zulinzhuangtai = 1;
            lease.jiesuanjine = amount;
            lease.jiesuanriqi = std::move(out);
            return lease;
        };
        addLease(settled("one", "2024-02-27 14:00:00", 400, "2024-03-03 11:00:00"));
        addLease(settled("two", "2024-03-30 20:00:00", 300, "2024-04-02 10:00:00"));
        addLease(
            {.fangzhi = "one", .dingjin = 50, .zujin = 100, .ruzhuriqi = "2024-03-10 09:00:00"});
        addLease(settled("three", "2024-03-05 09:00:00", 0, "2024-03-07 10:00:00"));
        addLease(settled("two", "2024-03-15 12:00:00", -50, "2024-03-15 18:00:00"));
        addLease(settled("two", "2024-02-10 00:00:00", 200, "2024-02-12 09:00:00"));
        addLease(settled("hut", "2024-03-20 08:00:00", 80, "2024-03-20 09:00:00"));
        addLease({.fangzhi = "hut", .dingjin = 20, .zujin = 30, .ruzhuriqi = "someday"});
    }

    WindowHandle openStatistics() {
        command(main, -1, "数据统计");
        return only(WindowKind::Statistics);
    }

    // March 2024, chosen as a custom period.
    WindowHandle openMarch() {
        const WindowHandle window = openStatistics();
        pickComboItem(services, window, statistics_window::kPeriodCombo, 5);
        services.setDateTime(window, statistics_window::kFirstDayPicker, toDateTime("2024-03-01"));
        services.setDateTime(window, statistics_window::kLastDayPicker, toDateTime("2024-03-31"));
        processEvents();
        return window;
    }

    Text row(WindowHandle window, const Text& table, int r) {
        Text joined;
        for (int c = 0; !services.listCellText(window, table, r, c).empty() || c == 0; ++c) {
            joined += (c == 0 ? "" : "|") + services.listCellText(window, table, r, c);
        }
        return joined;
    }
};

TEST_F(StatisticsWindow, ShowsTheFiguresOfAPeriodBesideThoseOfThePeriodBefore) {
    const WindowHandle window = openMarch();
    ASSERT_NE(window, 0);
    EXPECT_TEXT_EQ(services.text(window, statistics_window::kPeriodLabel),
                   "期间：2024-03-01 至 2024-03-31，上期：2024-02-01 至 2024-02-29");
    // As worked out by hand in the records' test, and as the records tool prints them.
    EXPECT_TEXT_EQ(row(window, statistics_window::kFiguresTable, 0),
                   "结算收入|430.00|200.00|+115.0%");
    EXPECT_TEXT_EQ(row(window, statistics_window::kFiguresTable, 1), "入住次数|5|2|+150.0%");
    EXPECT_TEXT_EQ(row(window, statistics_window::kFiguresTable, 2), "出租晚数|28|5|+460.0%");
    EXPECT_TEXT_EQ(row(window, statistics_window::kFiguresTable, 3), "出租率|45.2%|8.6%|+423.9%");
    // The nights at their rents: 22 of the open lease at 100, the others' 6 and 5 at 80.
    EXPECT_TEXT_EQ(row(window, statistics_window::kFiguresTable, 4),
                   "客房收入|2680.00|400.00|+570.0%");
    EXPECT_TEXT_EQ(row(window, statistics_window::kFiguresTable, 5), "平均房价|95.71|80.00|+19.6%");
    EXPECT_TEXT_EQ(row(window, statistics_window::kFiguresTable, 6),
                   "每间可售房收入|43.23|6.90|+526.8%");
    EXPECT_TEXT_EQ(row(window, statistics_window::kRoomsTable, 0), "one|1|24|77.4%|400.00");
    EXPECT_TEXT_EQ(row(window, statistics_window::kRoomsTable, 1), "hut|1|0|0.0%|80.00");
    EXPECT_TEXT_EQ(row(window, statistics_window::kRoomsTable, 2), "three|1|2|6.5%|0.00");
    EXPECT_TEXT_EQ(row(window, statistics_window::kRoomsTable, 3), "two|2|2|6.5%|-50.00");
}

TEST_F(StatisticsWindow, ShowsTodaysRoomsAndWhatTheOpenLeasesHold) {
    const WindowHandle window = openStatistics();
    EXPECT_TEXT_EQ(services.text(window, statistics_window::kNormalRoomsLabel), "正常房间：2");
    EXPECT_TEXT_EQ(services.text(window, statistics_window::kAbandonedRoomsLabel), "废弃房间：1");
    EXPECT_TEXT_EQ(services.text(window, statistics_window::kLetRoomsLabel), "在租房间：1");
    EXPECT_TEXT_EQ(services.text(window, statistics_window::kIdleRoomsLabel), "闲置房间：1");
    EXPECT_TEXT_EQ(services.text(window, statistics_window::kOpenLeasesLabel), "未结算租约：2");
    EXPECT_TEXT_EQ(services.text(window, statistics_window::kDepositTotalLabel), "押金合计：70.00");
    EXPECT_EQ(services.text(window, statistics_window::kRentDueLabel).rfind("应收租金：", 0), 0u);
    // One window at a time.
    command(main, -1, "数据统计");
    EXPECT_EQ(only(WindowKind::Statistics), window);
}

TEST_F(StatisticsWindow, ListsTodaysExpectedArrivalsAndTheBookingsDueToLeave) {
    EXPECT_TEXT_EQ(services.text(openStatistics(), statistics_window::kBookingsTodayLabel),
                   "预计到达：无    应离开：无");
    services.destroyWindow(only(WindowKind::Statistics));
    processEvents();

    const auto book = [&](int room, int arrival, int departure, const Text& guest) {
        Booking booking;
        booking.roomId = room;
        booking.arrival = dayText(today() + arrival);
        booking.departure = dayText(today() + departure);
        booking.guest = guest;
        return saveBooking(state.database, booking).id;
    };
    book(2, 0, 3, "赵一");
    // The open lease in room one is due to leave today.
    ASSERT_TRUE(
        run("UPDATE b_zulin SET danhao='L3', xingming='钱二' WHERE ruzhuriqi='2024-03-10 "
            "09:00:00'"));
    ASSERT_TRUE(run("INSERT INTO b_yujituifang SELECT id, '" + dayText(today()) +
                    "' FROM b_zulin WHERE danhao='L3'"));
    cancelBooking(state.database, book(1, 0, 1, "孙三"));
    EXPECT_TEXT_EQ(services.text(openStatistics(), statistics_window::kBookingsTodayLabel),
                   "预计到达：two 赵一    应离开：one 钱二");
    services.destroyWindow(only(WindowKind::Statistics));
    processEvents();

    // Planned to leave yesterday and still in: named as overstaying, not as due today.
    ASSERT_TRUE(run("UPDATE b_yujituifang SET tuifangriqi='" + dayText(today() - 1) + "'"));
    EXPECT_TEXT_EQ(services.text(openStatistics(), statistics_window::kBookingsTodayLabel),
                   "预计到达：two 赵一    应离开：无  已超期：one 钱二");
}

TEST_F(StatisticsWindow, ANamedPeriodFillsTheDatesAndKeepsThemShut) {
    const WindowHandle window = openStatistics();
    pickComboItem(services, window, statistics_window::kPeriodCombo, 1);  // 上月
    processEvents();
    const std::int64_t lastMonthEnds = choosePeriod(PeriodChoice::LastMonth, today()).lastDay;
    EXPECT_EQ(dayNumber(services.dateTime(window, statistics_window::kLastDayPicker)),
              lastMonthEnds);
    EXPECT_FALSE(services.widget(window, statistics_window::kLastDayPicker)->isEnabled());
    pickComboItem(services, window, statistics_window::kPeriodCombo, 5);
    EXPECT_TRUE(services.widget(window, statistics_window::kLastDayPicker)->isEnabled());
}

TEST_F(StatisticsWindow, ALastDayBeforeTheFirstIsRefusedNotSwapped) {
    const WindowHandle window = openMarch();
    services.setDateTime(window, statistics_window::kLastDayPicker, toDateTime("2024-02-20"));
    processEvents();
    EXPECT_TEXT_EQ(services.text(window, statistics_window::kPeriodLabel),
                   "结束日期早于开始日期,请重新选择");
    EXPECT_TEXT_EQ(services.listCellText(window, statistics_window::kFiguresTable, 0, 0), "");
    EXPECT_EQ(dayNumber(services.dateTime(window, statistics_window::kFirstDayPicker)),
              dayNumber(toDateTime("2024-03-01")));
    const auto boxes = responder.count();
    clickControl(services, window, statistics_window::kPrintButton);  // nothing to print or export
    clickControl(services, window, statistics_window::kExportButton);
    processEvents();
    EXPECT_EQ(responder.count(), boxes);
    services.setDateTime(window, statistics_window::kLastDayPicker, toDateTime("2024-03-31"));
    processEvents();
    EXPECT_NE(services.listCellText(window, statistics_window::kFiguresTable, 0, 0), "");
}

TEST_F(StatisticsWindow, GrowingTheWindowGivesTheChartsAndTheRoomTableTheRoom) {
    const WindowHandle window = openStatistics();
    // Where a control stands within the window, which the system may move meanwhile.
    const auto rect = [&](const Text& control) {
        const Rect frame = services.frameRect(window);
        const Rect placed = services.frameRect(services.windowHandle(window, control));
        return Rect{placed.left - frame.left, placed.top - frame.top, placed.right - frame.left,
                    placed.bottom - frame.top};
    };
    const Rect frame = services.frameRect(window);
    const Rect income = rect(statistics_window::kIncomeChart);
    const Rect rooms = rect(statistics_window::kRoomsChart);
    const Rect table = rect(statistics_window::kRoomsTable);
    const Rect print = rect(statistics_window::kPrintButton);
    services.placeControl(window, {frame.left, frame.top, frame.right + 200, frame.bottom + 100},
                          kPlaceNoMove);
    ASSERT_TRUE(
        waitUntil([&] { return services.frameRect(window).width() == frame.width() + 200; }));
    processEvents();
    EXPECT_EQ(rect(statistics_window::kIncomeChart),
              (Rect{income.left, income.top, income.right + 200, income.bottom}));
    EXPECT_EQ(rect(statistics_window::kRoomsChart),
              (Rect{rooms.left, rooms.top, rooms.right + 200, rooms.bottom + 100}));
    EXPECT_EQ(rect(statistics_window::kRoomsTable),
              (Rect{table.left, table.top, table.right, table.bottom + 100}));
    EXPECT_EQ(rect(statistics_window::kPrintButton).left, print.left + 200);
}

TEST_F(StatisticsWindow, ChartsIncomeByDayAndRoomsBestFirst) {
    const WindowHandle window = openMarch();
    const ChartData income = services.chartData(window, statistics_window::kIncomeChart);
    ASSERT_EQ(income.categories.size(), 31u);
    EXPECT_TEXT_EQ(income.categories[2], "3");
    ASSERT_EQ(income.series.size(), 2u);
    EXPECT_TEXT_EQ(income.series[0].name, "本期");
    EXPECT_DOUBLE_EQ(income.series[0].values[2], 400);
    EXPECT_DOUBLE_EQ(income.series[0].values[14], -50);
    EXPECT_DOUBLE_EQ(income.series[1].values[11], 200);  // 12 February

    const ChartData rooms = services.chartData(window, statistics_window::kRoomsChart);
    EXPECT_TRUE(rooms.horizontal);
    EXPECT_EQ(rooms.categories, (std::vector<Text>{"one", "hut", "three", "two"}));
    ASSERT_EQ(rooms.series.size(), 2u);
    EXPECT_EQ(rooms.series[0].values, (std::vector<double>{400, 80, 0, -50}));
    EXPECT_EQ(rooms.series[1].values, (std::vector<double>{24, 0, 2, 2}));
    EXPECT_EQ(rooms.series[1].axis, 1);
}

TEST_F(StatisticsWindow, ExportsTheTablesAsCsvAndTheChartsAsPng) {
    const WindowHandle window = openMarch();
    TemporaryFolder out;
    services.setFolderDialogPresenter([&](const Text&) { return utf8ToGbk(out.path().string()); });
    clickControl(services, window, statistics_window::kExportButton);
    processEvents();
    const std::string stem = out.file(gbkToUtf8("统计-2024-03-01-2024-03-31"));
    const std::string csv = readFile(stem + ".csv");
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBF" + gbkToUtf8("指标,本期,上期,变化\r\n结算收入,430.00,200.00,"
                                                   "+115.0%\r\n"),
                        0),
              0u)
        << csv;
    EXPECT_NE(csv.find(gbkToUtf8("\r\n\r\n房间,入住次数,出租晚数,出租率,收入(元)\r\none,1,24,"
                                 "77.4%,400.00\r\n")),
              std::string::npos)
        << csv;
    for (const char* chart : {"-收入.png", "-房间.png"}) {
        EXPECT_EQ(readFile(stem + gbkToUtf8(chart)).substr(0, 8), "\x89PNG\r\n\x1A\n") << chart;
    }
    // The landlord is told where the files went.
    const Text written = utf8ToGbk(stem);
    EXPECT_TEXT_EQ(lastBoxText(), "已导出以下文件：\r\n" + written + ".csv\r\n" + written +
                                      "-收入.png\r\n" + written + "-房间.png");

    // A folder that cannot be written is said so; cancelling writes nothing.
    services.setFolderDialogPresenter([](const Text&) { return Text("/nonexistent-folder"); });
    clickControl(services, window, statistics_window::kExportButton);
    processEvents();
    EXPECT_TEXT_EQ(lastBoxText(),
                   "无法写入文件：/nonexistent-folder/统计-2024-03-01-2024-03-31.csv");
    const auto boxes = responder.count();
    services.setFolderDialogPresenter([](const Text&) { return Text(); });
    clickControl(services, window, statistics_window::kExportButton);
    processEvents();
    EXPECT_EQ(responder.count(), boxes);
}

// A file another user planted under an export's name, a link to the records, is replaced
// only when the landlord says yes, and then the link itself, never the records behind it.
TEST_F(StatisticsWindow, AnExportReplacesAnExistingFileOnlyWhenAskedAndNeverThroughALink) {
    const WindowHandle window = openMarch();
    TemporaryFolder out;
    services.setFolderDialogPresenter([&](const Text&) { return utf8ToGbk(out.path().string()); });
    const std::string stem = out.file(gbkToUtf8("统计-2024-03-01-2024-03-31"));
    const std::string records = readFile(databaseFile().string());
    std::filesystem::create_symlink(databaseFile(), stem + ".csv");

    responder.answer(kAnswerNo);
    clickControl(services, window, statistics_window::kExportButton);
    processEvents();
    EXPECT_TEXT_EQ(lastBoxText(), "以下文件已存在，是否替换？\r\n" + utf8ToGbk(stem) + ".csv");
    EXPECT_TRUE(std::filesystem::is_symlink(stem + ".csv"));
    EXPECT_FALSE(std::filesystem::exists(stem + gbkToUtf8("-收入.png")));

    responder.answer(kAnswerYes);
    clickControl(services, window, statistics_window::kExportButton);
    processEvents();
    EXPECT_FALSE(std::filesystem::is_symlink(stem + ".csv"));
    EXPECT_EQ(readFile(stem + ".csv").rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_EQ(readFile(databaseFile().string()), records);
    for (const char* written : {".csv", "-收入.png", "-房间.png"}) {
        const auto mode = std::filesystem::status(stem + gbkToUtf8(written)).permissions();
        EXPECT_EQ(mode & std::filesystem::perms(0111), std::filesystem::perms::none) << written;
    }
}

TEST_F(StatisticsWindow, PrintsOnePageWithTheFiguresChartsAndRooms) {
    const WindowHandle window = openMarch();
    TemporaryFolder out;
    const std::string file = out.file("statistics.pdf");
    services.setPrintDialogPresenter([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file));
        return true;
    });
    clickControl(services, window, statistics_window::kPrintButton);
    processEvents();
    const PdfText pdf = readPdf(file);
    ASSERT_TRUE(pdf.read) << pdf.text;
    EXPECT_EQ(pdf.pages, 1);
    for (const char* shown : {"结算收入", "430.00", "+115.0%", "每间可售房收入", "43.23", "77.4%",
                              "hut", "正常房间", "本期", "上期"}) {
        EXPECT_NE(pdf.text.find(gbkToUtf8(shown)), std::string::npos) << gbkToUtf8(shown) << "\n"
                                                                      << pdf.text;
    }
}

}  // namespace
}  // namespace tamrivo::testing
