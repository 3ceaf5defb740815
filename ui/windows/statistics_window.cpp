#include "ui/windows/statistics_window.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {
namespace {

// Today's figures stand in two rows of five in their group box, today's bookings below them.
ControlDefinition todayLabel(Text name, int place) {
    constexpr int kPerRow = 5;
    constexpr int kWidth = 210;
    constexpr int kRowHeight = 26;
    return label(
               std::move(name), "",
               {16 + place % kPerRow * kWidth, 22 + place / kPerRow * kRowHeight, kWidth - 10, 22})
        .in(statistics_window::kTodayGroup);
}

}  // namespace

const WindowDefinition& statisticsWindow() {
    using enum EventKind;
    using namespace statistics_window;
    using Kind = TableColumn::Kind;
    static const WindowDefinition definition{
        .caption = "数据统计",
        .width = 1100,
        .height = 720,  // within a 1366×768 screen less its panel; it grows from there
        .resizable = true,
        .events = {{Created, Handler::StatisticsWindowCreated},
                   {Resized, Handler::RelayoutStatisticsWindow}},
        .controls =
            {
                groupBox(kTodayGroup, "今日", {8, 4, 1076, 108}),
                todayLabel(kNormalRoomsLabel, 0),
                todayLabel(kAbandonedRoomsLabel, 1),
                todayLabel(kLetRoomsLabel, 2),
                todayLabel(kIdleRoomsLabel, 3),
                todayLabel(kOpenLeasesLabel, 4),
                todayLabel(kCheckInsTodayLabel, 5),
                todayLabel(kCheckOutsTodayLabel, 6),
                todayLabel(kDepositTotalLabel, 7),
                todayLabel(kRentDueLabel, 8),
                label(kBookingsTodayLabel, "", {16, 74, 1050, 22}).in(kTodayGroup),
                label(kPeriodPromptLabel, "期间：", {12, 125, 40, 24}),
                comboBox(kPeriodCombo, {52, 122, 100, 24},
                         {"本月", "上月", "本年", "去年", "最近30天", "自定义"}, 0)
                    .on(Changed, Handler::ShowStatisticsPeriod),
                datePicker(kFirstDayPicker, {160, 122, 120, 24})
                    .onlyDays()
                    .disabledAtStart()
                    .on(Changed, Handler::ShowStatisticsPeriod),
                label(kToLabel, "至", {286, 125, 16, 24}),
                datePicker(kLastDayPicker, {306, 122, 120, 24})
                    .onlyDays()
                    .disabledAtStart()
                    .on(Changed, Handler::ShowStatisticsPeriod),
                label(kPeriodLabel, "", {440, 125, 440, 24}),
                button(kExportButton, "导出", {904, 120, 84, 28})
                    .on(Clicked, Handler::ExportStatistics),
                button(kPrintButton, "打印", {996, 120, 84, 28})
                    .on(Clicked, Handler::PrintStatistics),
                table(kFiguresTable, {8, 158, 428, 200},
                      {
                          {"指标", 124},
                          {"本期", 100, Kind::Number},
                          {"上期", 100, Kind::Number},
                          {"变化", 80, Kind::Number},
                      }),
                table(kRoomsTable, {8, 366, 428, 314},
                      {
                          {"房间", 120},
                          {"入住次数", 68, Kind::Number},
                          {"出租晚数", 68, Kind::Number},
                          {"出租率", 64, Kind::Number},
                          {"收入", 84, Kind::Number},
                      }),
                chart(kIncomeChart, "收入", {444, 158, 640, 230}),
                chart(kRoomsChart, "各房间出租晚数与收入", {444, 396, 640, 284}),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
