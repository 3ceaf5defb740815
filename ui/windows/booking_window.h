#pragma once
// The names of the booking window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::booking_window {

inline constexpr char kRoomLabel[] = "标签1";
inline constexpr char kRoomCombo[] = "组合框_房间";
inline constexpr char kNameLabel[] = "标签2";
inline constexpr char kNameEdit[] = "编辑框_姓名";
inline constexpr char kContactLabel[] = "标签3";
inline constexpr char kContactEdit[] = "编辑框_联系方式";
inline constexpr char kArrivalLabel[] = "标签4";
inline constexpr char kArrivalPicker[] = "日期框_到达";
inline constexpr char kDepartureLabel[] = "标签5";
inline constexpr char kDeparturePicker[] = "日期框_离开";
inline constexpr char kDepositLabel[] = "标签6";
inline constexpr char kDepositEdit[] = "编辑框_定金";
inline constexpr char kRemarkLabel[] = "标签7";
inline constexpr char kRemarkEdit[] = "编辑框_备注";
inline constexpr char kConfirmButton[] = "按钮_确定";
inline constexpr char kCancelButton[] = "按钮_取消";

}  // namespace tamrivo::booking_window
