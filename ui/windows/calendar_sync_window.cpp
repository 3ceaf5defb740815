#include "ui/windows/calendar_sync_window.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& calendarSyncWindow() {
    using enum EventKind;
    using namespace calendar_sync_window;
    static const WindowDefinition definition{
        .caption = "同步设置",
        .width = 780,
        .height = 680,
        .events = {{Created, Handler::CalendarSyncCreated}},
        .controls =
            {
                label(calendar_sync_window::kExplanationLabel,
                      "每个房间可以跟随预订平台（Airbnb、Booking.com、途家等）的iCalendar日历："
                      "填入平台给出的http或https地址，或本机的.ics文件。",
                      {16, 10, 748, 36}),
                table(calendar_sync_window::kFeedsTable, {16, 50, 748, 220},
                      {
                          {"房址", 120},
                          {"名称", 90},
                          {"地址或文件", 220},
                          {"上次读取", 140},
                          {"结果", 160},
                      })
                    .on(CurrentItemChanged, Handler::ShowFeedSelection)
                    .tab(1),
                button(calendar_sync_window::kRemoveButton, "删除日历", {16, 278, 90, 28})
                    .disabledAtStart()
                    .on(Clicked, Handler::RemoveFeed)
                    .tab(2),
                label(calendar_sync_window::kRoomLabel, "房    间:", {16, 322, 70, 24}),
                comboBox(calendar_sync_window::kRoomCombo, {90, 320, 200, 24}, {}, -1).tab(3),
                label(calendar_sync_window::kNameLabel, "名称:", {310, 322, 40, 24}),
                editBox(calendar_sync_window::kNameEdit, {354, 320, 160, 24}).limit(20).tab(4),
                label(calendar_sync_window::kAddressLabel, "地址或文件:", {16, 356, 70, 24}),
                editBox(calendar_sync_window::kAddressEdit, {90, 354, 560, 24})
                    .limit(1000)
                    .on(KeyPressed, Handler::AddFeed)
                    .tab(5),
                button(calendar_sync_window::kAddButton, "添加日历", {660, 352, 104, 28})
                    .on(Clicked, Handler::AddFeed)
                    .tab(6),
                checkBox(calendar_sync_window::kAutomaticCheck, "程序运行时每30分钟同步一次",
                         {16, 396, 300, 24})
                    .tab(7),
                label(calendar_sync_window::kExportLabel, "导出文件夹:", {16, 432, 70, 24}),
                editBox(calendar_sync_window::kExportEdit, {90, 430, 474, 24}).limit(1000).tab(8),
                button(calendar_sync_window::kChooseButton, "选择…", {574, 428, 76, 28})
                    .on(Clicked, Handler::ChooseExportFolder)
                    .tab(9),
                checkBox(calendar_sync_window::kGuestDetailsCheck, "导出的日历写入客人姓名和电话",
                         {16, 464, 300, 24})
                    .tab(10),
                label(calendar_sync_window::kResultLabel, "同步结果:", {16, 496, 70, 24}),
                editBox(calendar_sync_window::kResultEdit, {90, 496, 674, 80})
                    .multiLineText()
                    .mode(EditMode::ReadOnly)
                    .tab(11),
                button(calendar_sync_window::kSyncButton, "立即同步", {90, 590, 90, 32})
                    .on(Clicked, Handler::SyncCalendars)
                    .tab(12),
                button(calendar_sync_window::kConfirmButton, "确定", {560, 590, 90, 32})
                    .on(Clicked, Handler::SaveSyncSettings)
                    .tab(13),
                button(calendar_sync_window::kCloseButton, "关闭", {674, 590, 90, 32})
                    .on(Clicked, Handler::CloseWindow)
                    .tab(14),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
