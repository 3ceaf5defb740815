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
        .in("分组框_今日");
}

}  // namespace

const WindowDefinition& statisticsWindow() {
    using enum EventKind;
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
                groupBox("分组框_今日", "今日", {8, 4, 1076, 108}),
                todayLabel("标签_正常房间", 0),
                todayLabel("标签_废弃房间", 1),
                todayLabel("标签_在租房间", 2),
                todayLabel("标签_闲置房间", 3),
                todayLabel("标签_未结算租约", 4),
                todayLabel("标签_今日入住", 5),
                todayLabel("标签_今日退房", 6),
                todayLabel("标签_押金合计", 7),
                todayLabel("标签_应收租金", 8),
                label("标签_今日预订", "", {16, 74, 1050, 22}).in("分组框_今日"),
                label("标签1", "期间：", {12, 125, 40, 24}),
                comboBox("组合框_期间", {52, 122, 100, 24},
                         {"本月", "上月", "本年", "去年", "最近30天", "自定义"}, 0)
                    .on(Changed, Handler::ShowStatisticsPeriod),
                datePicker("日期框_起", {160, 122, 120, 24})
                    .onlyDays()
                    .disabledAtStart()
                    .on(Changed, Handler::ShowStatisticsPeriod),
                label("标签2", "至", {286, 125, 16, 24}),
                datePicker("日期框_止", {306, 122, 120, 24})
                    .onlyDays()
                    .disabledAtStart()
                    .on(Changed, Handler::ShowStatisticsPeriod),
                label("标签_期间", "", {440, 125, 440, 24}),
                button("按钮_导出", "导出", {904, 120, 84, 28})
                    .on(Clicked, Handler::ExportStatistics),
                button("按钮_打印", "打印", {996, 120, 84, 28})
                    .on(Clicked, Handler::PrintStatistics),
                table("表格_指标", {8, 158, 428, 200},
                      {
                          {"指标", 124},
                          {"本期", 100, Kind::Number},
                          {"上期", 100, Kind::Number},
                          {"变化", 80, Kind::Number},
                      }),
                table("表格_房间", {8, 366, 428, 314},
                      {
                          {"房间", 120},
                          {"入住次数", 68, Kind::Number},
                          {"出租晚数", 68, Kind::Number},
                          {"出租率", 64, Kind::Number},
                          {"收入", 84, Kind::Number},
                      }),
                chart("图表_收入", "收入", {444, 158, 640, 230}),
                chart("图表_房间", "各房间出租晚数与收入", {444, 396, 640, 284}),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
