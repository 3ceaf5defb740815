#include "ui/windows/booking_window.h"
#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& bookingWindow() {
    using enum EventKind;
    using namespace booking_window;
    static const WindowDefinition definition{
        .caption = "预订",
        .width = 386,
        .height = 440,
        .events = {{Created, Handler::BookingWindowCreated}},
        .controls =
            {
                label(kRoomLabel, "房    址:", {24, 24, 59, 24}),
                comboBox(kRoomCombo, {93, 22, 250, 24}, {}, -1).tab(1),
                label(kNameLabel, "姓    名:", {24, 60, 59, 24}),
                editBox(kNameEdit, {93, 60, 250, 24}).limit(kNameLimit).tab(2),
                label(kContactLabel, "联系方式:", {24, 96, 59, 24}),
                editBox(kContactEdit, {93, 96, 250, 24}).limit(kContactLimit).tab(3),
                label(kArrivalLabel, "到达日期:", {24, 132, 59, 24}),
                datePicker(kArrivalPicker, {93, 132, 150, 24}).onlyDays().tab(4),
                label(kDepartureLabel, "离开日期:", {24, 168, 59, 24}),
                datePicker(kDeparturePicker, {93, 168, 150, 24}).onlyDays().tab(5),
                label(kDepositLabel, "定    金:", {24, 204, 59, 24}),
                editBox(kDepositEdit, {93, 204, 150, 24})
                    .mode(EditMode::Decimal)
                    .limit(kAmountLimit)
                    .tab(6),
                label(kRemarkLabel, "备    注:", {24, 240, 59, 24}),
                editBox(kRemarkEdit, {93, 240, 250, 80}).multiLineText().limit(kRemarkLimit).tab(7),
                button(kConfirmButton, "确定", {80, 340, 64, 32})
                    .on(Clicked, Handler::SaveBooking)
                    .tab(8),
                button(kCancelButton, "取消", {220, 340, 64, 32})
                    .on(Clicked, Handler::CloseWindow)
                    .tab(9),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
