#include "app/statistics_window.h"

#include <array>
#include <utility>

#include "app/calendar_page.h"
#include "app/screen.h"
#include "app/single_window.h"
#include "base/date_time.h"
#include "base/replacement_file.h"
#include "base/text_encoding.h"
#include "records/figure_text.h"
#include "records/period_statistics.h"
#include "records/statistics_period.h"
#include "records/stored_dates.h"
#include "records/today_figures.h"
#include "ui/layout_keeper.h"
#include "ui/windows/statistics_window.h"

namespace tamrivo {
namespace {

// Today's labels, in the order todayLines gives the figures.
constexpr std::array kTodayLabels = {
    statistics_window::kNormalRoomsLabel,   statistics_window::kAbandonedRoomsLabel,
    statistics_window::kLetRoomsLabel,      statistics_window::kIdleRoomsLabel,
    statistics_window::kCheckInsTodayLabel, statistics_window::kCheckOutsTodayLabel,
    statistics_window::kOpenLeasesLabel,    statistics_window::kDepositTotalLabel,
    statistics_window::kRentDueLabel,
};

// How the controls follow the window's size (the layout keeper's modes).
constexpr std::pair<const char*, LayoutMode> kLayout[] = {
    {statistics_window::kTodayGroup, LayoutMode::StretchSideways},
    {statistics_window::kExportButton, LayoutMode::FollowRight},
    {statistics_window::kPrintButton, LayoutMode::FollowRight},
    {statistics_window::kRoomsTable, LayoutMode::StretchDown},
    {statistics_window::kIncomeChart, LayoutMode::StretchSideways},
    {statistics_window::kRoomsChart, LayoutMode::Stretch},
};

std::vector<TableRow> tableRows(const TextRows& rows) {
    std::vector<TableRow> shown;
    for (std::size_t row = 1; row < rows.size(); ++row) {
        shown.push_back({static_cast<int>(row - 1), rows[row]});
    }
    return shown;
}

ChartData incomeChart(const PeriodStatistics& statistics) {
    ChartData chart;
    ChartSeries current{"本期", {}};
    ChartSeries previous{"上期", {}};
    for (const IncomeBar& bar : statistics.income) {
        chart.categories.push_back(bar.label);
        current.values.push_back(bar.income);
        previous.values.push_back(bar.previousIncome);
    }
    chart.series = {std::move(current), std::move(previous)};
    return chart;
}

ChartData roomChart(const PeriodStatistics& statistics) {
    ChartData chart;
    chart.horizontal = true;
    ChartSeries income{"收入(元)", {}};
    ChartSeries nights{"出租晚数", {}, 1};
    for (const RoomFigures& room : statistics.rooms) {
        chart.categories.push_back(room.room);
        income.values.push_back(room.income);
        nights.values.push_back(static_cast<double>(room.nightsLet));
    }
    chart.series = {std::move(income), std::move(nights)};
    return chart;
}

// A file name from a period's days, "统计-2024-03-01-2024-03-31".
Text fileStem(const PeriodStatistics& statistics) {
    return "统计-" + dayText(statistics.period.firstDay) + "-" + dayText(statistics.period.lastDay);
}

class StatisticsWindow final : public Screen {
public:
    explicit StatisticsWindow(App& app) : Screen(app), layout_(app.services) {}

private:
    bool onEvent(const WindowEvent& event) override {
        switch (event.handler) {
            case Handler::StatisticsWindowCreated:
                onCreated();
                break;
            case Handler::RelayoutStatisticsWindow:
                layout_.relayout();
                break;
            case Handler::ShowStatisticsPeriod:
                if (!settingDates_) {
                    showPeriod();
                }
                break;
            case Handler::ExportStatistics:
                exportFiles();
                break;
            case Handler::PrintStatistics:
                print();
                break;
            default:
                break;
        }
        return false;
    }

    void onCreated() {
        app().state.statisticsWindow = window();
        layout_.attach(window());
        for (const auto& [control, mode] : kLayout) {
            layout_.add(services().windowHandle(window(), control), mode);
        }
        showToday();
        showPeriod();
    }

    void showToday() {
        today_ = readTodayFigures(database(), currentDateTime());
        if (!today_) {
            showDatabaseError();
            return;
        }
        const std::vector<TodayLine> lines = todayLines(*today_);
        for (std::size_t i = 0; i < lines.size() && i < kTodayLabels.size(); ++i) {
            services().setText(window(), kTodayLabels[i], lines[i].name + "：" + lines[i].value);
        }
        if (const auto bookings = readTodayBookings(database(), today())) {
            services().setText(window(), statistics_window::kBookingsTodayLabel,
                               "预计到达：" + bookings->arrivals + "    应离开：" +
                                   bookings->departures + overstayText(*bookings));
        }
    }

    // The chosen period; a named one is shown in the date boxes, a custom one read from them.
    ReportPeriod chosenPeriod() {
        const auto choice = static_cast<PeriodChoice>(
            std::max(services().selectedIndex(window(), statistics_window::kPeriodCombo), 0));
        const bool custom = choice == PeriodChoice::Custom;
        services().setDisabled(window(), statistics_window::kFirstDayPicker, !custom);
        services().setDisabled(window(), statistics_window::kLastDayPicker, !custom);
        if (custom) {
            return choosePeriod(
                choice, today(),
                {dayNumber(services().dateTime(window(), statistics_window::kFirstDayPicker)),
                 dayNumber(services().dateTime(window(), statistics_window::kLastDayPicker))});
        }
        const ReportPeriod period = choosePeriod(choice, today());
        settingDates_ = true;
        services().setDateTime(window(), statistics_window::kFirstDayPicker,
                               DateTime{static_cast<double>(period.firstDay)});
        services().setDateTime(window(), statistics_window::kLastDayPicker,
                               DateTime{static_cast<double>(period.lastDay)});
        settingDates_ = false;
        return period;
    }

    // A custom period whose last day comes before its first is refused in the period's line,
    // its figures and charts emptied: the boxes change one at a time.
    bool refuseBackwardsPeriod() {
        const bool custom = static_cast<PeriodChoice>(services().selectedIndex(
                                window(), statistics_window::kPeriodCombo)) == PeriodChoice::Custom;
        if (!custom ||
            dayNumber(services().dateTime(window(), statistics_window::kLastDayPicker)) >=
                dayNumber(services().dateTime(window(), statistics_window::kFirstDayPicker))) {
            return false;
        }
        statistics_.reset();
        services().setText(window(), statistics_window::kPeriodLabel, kEndBeforeStart);
        services().tableSetRows(window(), statistics_window::kFiguresTable, {});
        services().tableSetRows(window(), statistics_window::kRoomsTable, {});
        services().chartSetData(window(), statistics_window::kIncomeChart, {});
        services().chartSetData(window(), statistics_window::kRoomsChart, {});
        return true;
    }

    void showPeriod() {
        if (refuseBackwardsPeriod()) {
            services().setDisabled(window(), statistics_window::kFirstDayPicker, false);
            services().setDisabled(window(), statistics_window::kLastDayPicker, false);
            return;
        }
        statistics_ = readPeriodStatistics(database(), chosenPeriod(), today());
        if (!statistics_) {
            showDatabaseError();
            return;
        }
        services().setText(window(), statistics_window::kPeriodLabel, periodText(*statistics_));
        services().tableSetRows(window(), statistics_window::kFiguresTable,
                                tableRows(figureTable(*statistics_)));
        services().tableSetRows(window(), statistics_window::kRoomsTable,
                                tableRows(roomTable(*statistics_)));
        services().chartSetData(window(), statistics_window::kIncomeChart,
                                incomeChart(*statistics_));
        services().chartSetData(window(), statistics_window::kRoomsChart, roomChart(*statistics_));
    }

    // The figures and rooms as CSV, the charts as PNG, into a folder the landlord picks.
    void exportFiles() {
        if (!statistics_) {
            return;
        }
        const Text folder = services().askFolder(window(), "导出到文件夹");
        if (folder.empty()) {
            return;
        }
        const Text stem = folder + "/" + fileStem(*statistics_);
        if (!mayReplace({stem + ".csv", stem + "-收入.png", stem + "-房间.png"})) {
            return;
        }
        const std::array tables = {figureTable(*statistics_), roomTable(*statistics_)};
        const std::string csv = csvTables(tables);
        const std::array blocks = {Bytes(csv.begin(), csv.end())};
        const std::pair<Text, bool> written[] = {
            {stem + ".csv", services().writeFile(stem + ".csv", blocks)},
            {stem + "-收入.png",
             services().saveChartImage(window(), statistics_window::kIncomeChart,
                                       stem + "-收入.png")},
            {stem + "-房间.png", services().saveChartImage(window(), statistics_window::kRoomsChart,
                                                           stem + "-房间.png")},
        };
        Text done = "已导出以下文件：";
        for (const auto& [file, ok] : written) {
            if (!ok) {
                showMessage("无法写入文件：" + file, kMessageTitle);
                return;
            }
            done += "\r\n" + file;
        }
        showMessage(done, kMessageTitle);
    }

    // Files of these names already there are replaced only when the landlord says so.
    bool mayReplace(const std::vector<Text>& files) {
        Text existing;
        for (const Text& file : files) {
            if (nameTaken(gbkToUtf8(file))) {
                existing += "\r\n" + file;
            }
        }
        return existing.empty() ||
               services().messageBox("以下文件已存在，是否替换？" + existing, kMessageYesNo,
                                     kMessageTitle) == kAnswerYes;
    }

    void print() {
        if (!statistics_) {
            return;
        }
        PrintedReport report{"数据统计  " + periodText(*statistics_), {}};
        if (today_) {
            TextRows today = {{"今日", ""}};
            for (const TodayLine& line : todayLines(*today_)) {
                today.push_back({line.name, line.value});
            }
            report.parts.push_back({today, {}});
        }
        report.parts.insert(report.parts.end(), {{figureTable(*statistics_), {}},
                                                 {{}, statistics_window::kIncomeChart},
                                                 {{}, statistics_window::kRoomsChart},
                                                 {roomTable(*statistics_), {}}});
        if (services().printReport(window(), report) == PrintOutcome::Failed) {
            showMessage("打印失败,请检查打印机", kMessageTitle);
        }
    }

    LayoutKeeper layout_;
    std::optional<TodayFigures> today_;  // as shown since the window opened
    std::optional<PeriodStatistics> statistics_;
    bool settingDates_ = false;
};

}  // namespace

void openStatisticsWindow(App& app) {
    openOrRaise<StatisticsWindow>(app, WindowKind::Statistics, app.state.statisticsWindow);
}

}  // namespace tamrivo
