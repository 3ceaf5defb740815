#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& calendarWindow() {
    using enum EventKind;
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
                label("标签_今日", "", {16, 4, 880, 36}),
                label("标签_今日未上报", "", {16, 40, 880, 18}).inRed(),
                button("按钮_前一周", "前一周", {900, 14, 60, 28})
                    .on(Clicked, Handler::MoveCalendar),
                button("按钮_今天", "今天", {964, 14, 56, 28}).on(Clicked, Handler::MoveCalendar),
                button("按钮_后一周", "后一周", {1024, 14, 60, 28})
                    .on(Clicked, Handler::MoveCalendar),
                roomCalendar("房态表_房态", {16, 60, 1068, 400}),
                table("表格_预订", {16, 470, 1068, 170},
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
                button("按钮_预订", "预订", {16, 650, 80, 28}).on(Clicked, Handler::BookRoom),
                button("按钮_修改", "修改预订", {104, 650, 80, 28})
                    .disabledAtStart()
                    .on(Clicked, Handler::EditBooking),
                button("按钮_取消预订", "取消预订", {192, 650, 80, 28})
                    .disabledAtStart()
                    .on(Clicked, Handler::CancelBooking),
                button("按钮_入住", "入住", {280, 650, 80, 28})
                    .disabledAtStart()
                    .on(Clicked, Handler::ArriveBooking),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
