#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tamrivo {

// The program's texts are GBK; SQLite, the script engine and file paths speak UTF-8, the
// window toolkit UTF-16. These are the one place they meet. Each gives the empty text when
// the input cannot be converted.
std::string gbkToUtf8(std::string_view gbk);
std::string utf8ToGbk(std::string_view utf8);

// The window toolkit's UTF-16, written straight into out, which has room for gbk.size()
// units (every GBK character is one unit). The number of units; 0 when the input cannot
// be converted.
std::size_t gbkToUtf16(std::string_view gbk, char16_t* out);

}  // namespace tamrivo
