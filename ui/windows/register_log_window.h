#pragma once
// The names of the register and access log window's controls, as its definition gives them: screens
// and tests reach the controls through these.

namespace tamrivo::register_log_window {

inline constexpr char kExportGroup[] = "分组框1";
inline constexpr char kFromLabel[] = "标签_起";
inline constexpr char kFromPicker[] = "日期框_起";
inline constexpr char kToLabel[] = "标签_止";
inline constexpr char kToPicker[] = "日期框_止";
inline constexpr char kExportButton[] = "按钮_导出";
inline constexpr char kPrintButton[] = "按钮_打印";
inline constexpr char kRetentionLabel[] = "标签_保留年限";
inline constexpr char kRetentionEdit[] = "编辑框_保留年限";
inline constexpr char kSaveRetentionButton[] = "按钮_保存年限";
inline constexpr char kLogTable[] = "表格_日志";
inline constexpr char kCancelButton[] = "按钮_取消";

}  // namespace tamrivo::register_log_window
