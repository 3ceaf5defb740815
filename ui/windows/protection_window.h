#pragma once
// The names of the protection window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::protection_window {

inline constexpr char kStateLabel[] = "标签_状态";
inline constexpr char kPasswordLabel[] = "标签_密码";
inline constexpr char kPasswordEdit[] = "编辑框_密码";
inline constexpr char kProtectButton[] = "按钮_保护";
inline constexpr char kUnprotectButton[] = "按钮_取消保护";
inline constexpr char kProgressBar[] = "进度条1";
inline constexpr char kRecoveryGroup[] = "分组框_恢复码";
inline constexpr char kRecoveryExplanationLabel[] = "标签_恢复码说明";
inline constexpr char kRecoveryCodeEdit[] = "编辑框_恢复码";
inline constexpr char kPrintButton[] = "按钮_打印";
inline constexpr char kSavePdfButton[] = "按钮_存为PDF";
inline constexpr char kBackupsGroup[] = "分组框_备份";
inline constexpr char kBackupsExplanationLabel[] = "标签_备份说明";
inline constexpr char kBackupsList[] = "超级列表框_备份";
inline constexpr char kRekeyBackupsButton[] = "按钮_重新加密";
inline constexpr char kDeleteBackupsButton[] = "按钮_删除备份";
inline constexpr char kCloseButton[] = "按钮_关闭";

}  // namespace tamrivo::protection_window
