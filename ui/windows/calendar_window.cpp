#include "ui/windows/calendar_window.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& calendarWindow() {
    using enum EventKind;
    using namespace calendar_window;
    using Kind = TableColumn::Kind;
    static const WindowDefinition definition{
        .caption = "房态",
        .width = 1100,
        .height = 720,
        .resizable = true,
        .events = {{Created, Handler::CalendarWindowCreated},
                   {Resized, Handler::RelayoutCalendarWindow}},
        .controls =
            {
                label(kTodayLabel, "", {16, 4, 880, 36}),
                label(kOverdueReportsLabel, "", {16, 40, 880, 18}).inRed(),
                button(kEarlierButton, "前一周", {900, 14, 60, 28})
                    .on(Clicked, Handler::MoveCalendar),
                button(kTodayButton, "今天", {964, 14, 56, 28}).on(Clicked, Handler::MoveCalendar),
                button(kLaterButton, "后一周", {1024, 14, 60, 28})
                    .on(Clicked, Handler::MoveCalendar),
                roomCalendar(kRoomCalendar, {16, 60, 1068, 400}),
                table(kBookingsTable, {16, 470, 1068, 170},
                      {
                          {"编号", 50, Kind::Number},
                          {"房址", 150},
                          {"姓名", 100},
                          {"联系方式", 120},
                          {"到达日期", 100},
                          {"离开日期", 100},
                          {"定金", 70, Kind::Number},
                          {"状态", 60},
                          {"备注", 200},
                      })
                    .on(CurrentItemChanged, Handler::ShowBookingSelection)
                    .on(RowActivated, Handler::EditBooking),
                button(kBookButton, "预订", {16, 650, 80, 28}).on(Clicked, Handler::BookRoom),
                button(kEditButton, "修改预订", {104, 650, 80, 28})
                    .disabledAtStart()
                    .on(Clicked, Handler::EditBooking),
                button(kCancelBookingButton, "取消预订", {192, 650, 80, 28})
                    .disabledAtStart()
                    .on(Clicked, Handler::CancelBooking),
                button(kArriveButton, "入住", {280, 650, 80, 28})
                    .disabledAtStart()
                    .on(Clicked, Handler::ArriveBooking),
                button(kSyncButton, "同步", {380, 650, 64, 28}).on(Clicked, Handler::SyncCalendars),
                button(kSyncSettingsButton, "同步设置", {452, 650, 80, 28})
                    .on(Clicked, Handler::OpenCalendarSync),
                label(kSyncResultLabel, "", {544, 646, 540, 36}),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
