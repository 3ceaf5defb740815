#pragma once
// The names of the statistics window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::statistics_window {

inline constexpr char kTodayGroup[] = "分组框_今日";
inline constexpr char kNormalRoomsLabel[] = "标签_正常房间";
inline constexpr char kAbandonedRoomsLabel[] = "标签_废弃房间";
inline constexpr char kLetRoomsLabel[] = "标签_在租房间";
inline constexpr char kIdleRoomsLabel[] = "标签_闲置房间";
inline constexpr char kOpenLeasesLabel[] = "标签_未结算租约";
inline constexpr char kCheckInsTodayLabel[] = "标签_今日入住";
inline constexpr char kCheckOutsTodayLabel[] = "标签_今日退房";
inline constexpr char kDepositTotalLabel[] = "标签_押金合计";
inline constexpr char kRentDueLabel[] = "标签_应收租金";
inline constexpr char kBookingsTodayLabel[] = "标签_今日预订";
inline constexpr char kPeriodPromptLabel[] = "标签1";
inline constexpr char kPeriodCombo[] = "组合框_期间";
inline constexpr char kFirstDayPicker[] = "日期框_起";
inline constexpr char kToLabel[] = "标签2";
inline constexpr char kLastDayPicker[] = "日期框_止";
inline constexpr char kPeriodLabel[] = "标签_期间";
inline constexpr char kExportButton[] = "按钮_导出";
inline constexpr char kPrintButton[] = "按钮_打印";
inline constexpr char kFiguresTable[] = "表格_指标";
inline constexpr char kRoomsTable[] = "表格_房间";
inline constexpr char kIncomeChart[] = "图表_收入";
inline constexpr char kRoomsChart[] = "图表_房间";

}  // namespace tamrivo::statistics_window
