#include "ui/windows/search_window.h"
#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& searchWindow() {
    using enum EventKind;
    using namespace search_window;
    using Kind = TableColumn::Kind;
    static const WindowDefinition definition{
        .caption = "搜索数据",
        // Every column in view on a 1366×768 screen; larger ones let it grow.
        .width = 1340,
        .height = 660,
        .resizable = true,
        .events = {{Created, Handler::SearchWindowCreated},
                   {Resized, Handler::RelayoutSearchWindow}},
        .controls =
            {
                label(kKeywordLabel, "关键字：", {16, 17, 56, 24}),
                // A keyword read as "?" would find every stay with a "?" in it.
                editBox(kKeywordEdit, {72, 14, 250, 24})
                    .limit(kKeywordLimit)
                    .onlyGbk()
                    .on(Changed, Handler::RunSearch),
                label(kStateLabel, "状态：", {340, 17, 40, 24}),
                comboBox(kStateCombo, {384, 14, 96, 24}, {"全部", "未结算", "已结算"}, 0)
                    .on(Changed, Handler::RunSearch),
                checkBox(kByDateCheckBox, "入住日期：", {500, 14, 92, 24})
                    .on(Changed, Handler::RunSearch),
                datePicker(kFirstDayPicker, {596, 14, 120, 24})
                    .onlyDays()
                    .on(Changed, Handler::RunSearch),
                label(kToLabel, "至", {724, 17, 16, 24}),
                datePicker(kLastDayPicker, {744, 14, 120, 24})
                    .onlyDays()
                    .on(Changed, Handler::RunSearch),
                table(kResultsTable, {16, 50, 1302, 528},
                      {
                          {"单号", 188},
                          {"房址", 124},
                          {"姓名", 70},
                          {"联系方式", 100},
                          {"入住日期", 142},
                          {"退房日期", 142},
                          {"入住天数", 70, Kind::Number},
                          {"定金", 70, Kind::Number},
                          {"租金", 70, Kind::Number},
                          {"实收金额", 80, Kind::Number},
                          {"状态", 60},
                          {"备注", 160},
                      })
                    .on(CurrentItemChanged, Handler::ShowSearchSelection)
                    .on(RowActivated, Handler::OpenFoundLease),
                label(kTotalsLabel, "", {16, 592, 700, 24}),
                button(kRegisterButton, "导出登记/安全日志", {988, 588, 152, 28})
                    .on(Clicked, Handler::OpenRegisterLog),
                button(kExportButton, "导出", {1148, 588, 80, 28})
                    .on(Clicked, Handler::ExportFoundLeases),
                button(kOpenButton, "查看", {1236, 588, 80, 28})
                    .disabledAtStart()
                    .on(Clicked, Handler::OpenFoundLease),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
