#pragma once
// The names of the room window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::room_window {

inline constexpr char kRoomGroup[] = "分组框1";
inline constexpr char kAddressLabel[] = "标签1";
inline constexpr char kAddressEdit[] = "编辑框_地址";
inline constexpr char kConditionLabel[] = "标签2";
inline constexpr char kConditionCombo[] = "组合框1";
inline constexpr char kConfirmButton[] = "按钮_确定";
inline constexpr char kCancelButton[] = "按钮_取消";

}  // namespace tamrivo::room_window
