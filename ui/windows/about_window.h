#pragma once
// The names of the About window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::about_window {

inline constexpr char kAuthorLabel[] = "标签1";

}  // namespace tamrivo::about_window
