#pragma once
// The names of the search window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::search_window {

inline constexpr char kKeywordLabel[] = "标签1";
inline constexpr char kKeywordEdit[] = "编辑框_关键字";
inline constexpr char kStateLabel[] = "标签2";
inline constexpr char kStateCombo[] = "组合框_状态";
inline constexpr char kByDateCheckBox[] = "选择框_日期";
inline constexpr char kFirstDayPicker[] = "日期框_起";
inline constexpr char kToLabel[] = "标签3";
inline constexpr char kLastDayPicker[] = "日期框_止";
inline constexpr char kResultsTable[] = "表格_结果";
inline constexpr char kTotalsLabel[] = "标签_合计";
inline constexpr char kExportButton[] = "按钮_导出";
inline constexpr char kOpenButton[] = "按钮_查看";
inline constexpr char kRegisterButton[] = "按钮_登记";

}  // namespace tamrivo::search_window
