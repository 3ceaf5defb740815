#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& calendarSyncWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "同步设置",
        .width = 780,
        .height = 680,
        .events = {{Created, Handler::CalendarSyncCreated}},
        .controls =
            {
                label("标签_说明",
                      "每个房间可以跟随预订平台（Airbnb、Booking.com、途家等）的iCalendar日历："
                      "填入平台给出的http或https地址，或本机的.ics文件。",
                      {16, 10, 748, 36}),
                table("表格_日历", {16, 50, 748, 220},
                      {
                          {"房址", 120},
                          {"名称", 90},
                          {"地址或文件", 220},
                          {"上次读取", 140},
                          {"结果", 160},
                      })
                    .on(CurrentItemChanged, Handler::ShowFeedSelection)
                    .tab(1),
                button("按钮_删除", "删除日历", {16, 278, 90, 28})
                    .disabledAtStart()
                    .on(Clicked, Handler::RemoveFeed)
                    .tab(2),
                label("标签1", "房    间:", {16, 322, 70, 24}),
                comboBox("组合框_房间", {90, 320, 200, 24}, {}, -1).tab(3),
                label("标签2", "名称:", {310, 322, 40, 24}),
                editBox("编辑框_名称", {354, 320, 160, 24}).limit(20).tab(4),
                label("标签3", "地址或文件:", {16, 356, 70, 24}),
                editBox("编辑框_地址", {90, 354, 560, 24})
                    .limit(1000)
                    .on(KeyPressed, Handler::AddFeed)
                    .tab(5),
                button("按钮_添加", "添加日历", {660, 352, 104, 28})
                    .on(Clicked, Handler::AddFeed)
                    .tab(6),
                checkBox("选择框_自动", "程序运行时每30分钟同步一次", {16, 396, 300, 24}).tab(7),
                label("标签4", "导出文件夹:", {16, 432, 70, 24}),
                editBox("编辑框_导出", {90, 430, 474, 24}).limit(1000).tab(8),
                button("按钮_选择", "选择…", {574, 428, 76, 28})
                    .on(Clicked, Handler::ChooseExportFolder)
                    .tab(9),
                checkBox("选择框_姓名", "导出的日历写入客人姓名和电话", {16, 464, 300, 24}).tab(10),
                label("标签5", "同步结果:", {16, 496, 70, 24}),
                editBox("编辑框_结果", {90, 496, 674, 80})
                    .multiLineText()
                    .mode(EditMode::ReadOnly)
                    .tab(11),
                button("按钮_同步", "立即同步", {90, 590, 90, 32})
                    .on(Clicked, Handler::SyncCalendars)
                    .tab(12),
                button("按钮_确定", "确定", {560, 590, 90, 32})
                    .on(Clicked, Handler::SaveSyncSettings)
                    .tab(13),
                button("按钮_关闭", "关闭", {674, 590, 90, 32})
                    .on(Clicked, Handler::CloseWindow)
                    .tab(14),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
