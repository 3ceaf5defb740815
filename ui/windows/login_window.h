#pragma once
// The names of the login window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::login_window {

inline constexpr char kPromptsLabel[] = "标签1";
inline constexpr char kUserNameEdit[] = "编辑框_用户名";
inline constexpr char kPasswordEdit[] = "编辑框_密码";
inline constexpr char kConfirmButton[] = "按钮_确认";
inline constexpr char kCancelButton[] = "按钮_取消";
inline constexpr char kClockTimer[] = "时钟1";
inline constexpr char kDefaultsLabel[] = "标签2";
inline constexpr char kStatusBar[] = "状态条1";
inline constexpr char kForgotPasswordButton[] = "按钮_忘记密码";

}  // namespace tamrivo::login_window
