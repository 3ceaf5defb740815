#pragma once
// The names of the calendar sync window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::calendar_sync_window {

inline constexpr char kExplanationLabel[] = "标签_说明";
inline constexpr char kFeedsTable[] = "表格_日历";
inline constexpr char kRemoveButton[] = "按钮_删除";
inline constexpr char kRoomLabel[] = "标签1";
inline constexpr char kRoomCombo[] = "组合框_房间";
inline constexpr char kNameLabel[] = "标签2";
inline constexpr char kNameEdit[] = "编辑框_名称";
inline constexpr char kAddressLabel[] = "标签3";
inline constexpr char kAddressEdit[] = "编辑框_地址";
inline constexpr char kAddButton[] = "按钮_添加";
inline constexpr char kAutomaticCheck[] = "选择框_自动";
inline constexpr char kExportLabel[] = "标签4";
inline constexpr char kExportEdit[] = "编辑框_导出";
inline constexpr char kChooseButton[] = "按钮_选择";
inline constexpr char kGuestDetailsCheck[] = "选择框_姓名";
inline constexpr char kResultLabel[] = "标签5";
inline constexpr char kResultEdit[] = "编辑框_结果";
inline constexpr char kSyncButton[] = "按钮_同步";
inline constexpr char kConfirmButton[] = "按钮_确定";
inline constexpr char kCloseButton[] = "按钮_关闭";

}  // namespace tamrivo::calendar_sync_window
