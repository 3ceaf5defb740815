#pragma once
// The names of the landlord window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::landlord_window {

inline constexpr char kPayeeGroup[] = "分组框1";
inline constexpr char kNameLabel[] = "标签_姓名";
inline constexpr char kNameEdit[] = "编辑框_姓名";
inline constexpr char kAddressLabel[] = "标签_地址";
inline constexpr char kAddressEdit[] = "编辑框_地址";
inline constexpr char kPhoneLabel[] = "标签_电话";
inline constexpr char kPhoneEdit[] = "编辑框_电话";
inline constexpr char kConfirmButton[] = "按钮_确定";
inline constexpr char kCancelButton[] = "按钮_取消";

}  // namespace tamrivo::landlord_window
