#pragma once
// The names of the lease window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::lease_window {

inline constexpr char kFormGroup[] = "分组框1";
inline constexpr char kOrderNumberLabel[] = "标签1";
inline constexpr char kOrderNumberEdit[] = "编辑框_单号";
inline constexpr char kAddressLabel[] = "标签8";
inline constexpr char kAddressEdit[] = "编辑框_地址";
inline constexpr char kNameLabel[] = "标签2";
inline constexpr char kNameEdit[] = "编辑框_姓名";
inline constexpr char kContactLabel[] = "标签3";
inline constexpr char kContactEdit[] = "编辑框_联系方式";
inline constexpr char kDepositLabel[] = "标签4";
inline constexpr char kDepositEdit[] = "编辑框_定金";
inline constexpr char kRentLabel[] = "标签6";
inline constexpr char kRentEdit[] = "编辑框_租金";
inline constexpr char kCheckInLabel[] = "标签5";
inline constexpr char kCheckInPicker[] = "日期框1";
inline constexpr char kDepartureLabel[] = "标签9";
inline constexpr char kDeparturePicker[] = "日期框_预计退房";
inline constexpr char kRemarkLabel[] = "标签7";
inline constexpr char kRemarkEdit[] = "编辑框_备注";
inline constexpr char kConfirmButton[] = "按钮_确定";
inline constexpr char kCancelButton[] = "按钮_取消";
inline constexpr char kGuestRegisterButton[] = "按钮_住客登记";

}  // namespace tamrivo::lease_window
