#pragma once
// The names of the room calendar's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::calendar_window {

inline constexpr char kTodayLabel[] = "标签_今日";
inline constexpr char kEarlierButton[] = "按钮_前一周";
inline constexpr char kTodayButton[] = "按钮_今天";
inline constexpr char kLaterButton[] = "按钮_后一周";
inline constexpr char kRoomCalendar[] = "房态表_房态";
inline constexpr char kBookingsTable[] = "表格_预订";
inline constexpr char kBookButton[] = "按钮_预订";
inline constexpr char kEditButton[] = "按钮_修改";
inline constexpr char kCancelBookingButton[] = "按钮_取消预订";
inline constexpr char kArriveButton[] = "按钮_入住";
inline constexpr char kSyncButton[] = "按钮_同步";
inline constexpr char kSyncSettingsButton[] = "按钮_同步设置";
inline constexpr char kSyncResultLabel[] = "标签_同步";
inline constexpr char kOverdueReportsLabel[] = "标签_今日未上报";

}  // namespace tamrivo::calendar_window
