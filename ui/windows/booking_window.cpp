#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& bookingWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "预订",
        .width = 386,
        .height = 440,
        .events = {{Created, Handler::BookingWindowCreated}},
        .controls =
            {
                label("标签1", "房    址:", {24, 24, 59, 24}),
                comboBox("组合框_房间", {93, 22, 250, 24}, {}, -1).tab(1),
                label("标签2", "姓    名:", {24, 60, 59, 24}),
                editBox("编辑框_姓名", {93, 60, 250, 24}).limit(kNameLimit).tab(2),
                label("标签3", "联系方式:", {24, 96, 59, 24}),
                editBox("编辑框_联系方式", {93, 96, 250, 24}).limit(kContactLimit).tab(3),
                label("标签4", "到达日期:", {24, 132, 59, 24}),
                datePicker("日期框_到达", {93, 132, 150, 24}).onlyDays().tab(4),
                label("标签5", "离开日期:", {24, 168, 59, 24}),
                datePicker("日期框_离开", {93, 168, 150, 24}).onlyDays().tab(5),
                label("标签6", "定    金:", {24, 204, 59, 24}),
                editBox("编辑框_定金", {93, 204, 150, 24})
                    .mode(EditMode::Decimal)
                    .limit(kAmountLimit)
                    .tab(6),
                label("标签7", "备    注:", {24, 240, 59, 24}),
                editBox("编辑框_备注", {93, 240, 250, 80})
                    .multiLineText()
                    .limit(kRemarkLimit)
                    .tab(7),
                button("按钮_确定", "确定", {80, 340, 64, 32})
                    .on(Clicked, Handler::SaveBooking)
                    .tab(8),
                button("按钮_取消", "取消", {220, 340, 64, 32})
                    .on(Clicked, Handler::CloseWindow)
                    .tab(9),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
