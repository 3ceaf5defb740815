#pragma once
// The names of the password window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::password_window {

inline constexpr char kFormGroup[] = "分组框1";
inline constexpr char kPromptsLabel[] = "标签1";
inline constexpr char kUserCombo[] = "组合框1";
inline constexpr char kPasswordEdit[] = "编辑框1";
inline constexpr char kConfirmButton[] = "按钮1";
inline constexpr char kProtectRecordsButton[] = "按钮_保护记录";

}  // namespace tamrivo::password_window
