#pragma once
// The names of the recovery window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::recovery_window {

inline constexpr char kExplanationLabel[] = "标签_说明";
inline constexpr char kUserNameLabel[] = "标签_用户名";
inline constexpr char kUserNameEdit[] = "编辑框_用户名";
inline constexpr char kRecoveryCodeLabel[] = "标签_恢复码";
inline constexpr char kRecoveryCodeEdit[] = "编辑框_恢复码";
inline constexpr char kNewPasswordLabel[] = "标签_新密码";
inline constexpr char kNewPasswordEdit[] = "编辑框_新密码";
inline constexpr char kConfirmPasswordLabel[] = "标签_确认密码";
inline constexpr char kConfirmPasswordEdit[] = "编辑框_确认密码";
inline constexpr char kConfirmButton[] = "按钮_确定";
inline constexpr char kCancelButton[] = "按钮_取消";

}  // namespace tamrivo::recovery_window
