#pragma once

#include <string>
#include <string_view>

namespace tamrivo {

// The program's texts are GBK; SQLite, the window toolkit, the script engine and file
// paths speak UTF-8. These are the one place the two meet. Both give the empty text when
// the input cannot be converted.
std::string gbkToUtf8(std::string_view gbk);
std::string utf8ToGbk(std::string_view utf8);

}  // namespace tamrivo
