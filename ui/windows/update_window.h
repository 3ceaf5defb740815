#pragma once
// The names of the update window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::update_window {

inline constexpr char kLogEdit[] = "编辑框1";
inline constexpr char kProgressBar[] = "进度条_进度";
inline constexpr char kUpgradeButton[] = "按钮_升级";

}  // namespace tamrivo::update_window
