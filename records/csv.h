#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tamrivo {

// Put first in a file, it tells spreadsheet programs the text is UTF-8.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// A field as CSV writes it, every one defused as below: between double quotes, with each quote
// doubled, when it holds a comma, a quote or a line break; as it is otherwise.
std::string csvField(std::string_view value);

// The fields joined by commas and ended with CR LF, the line end CSV files use.
std::string csvRecord(std::span<const std::string> fields);

// A text that a spreadsheet would run as a formula (one beginning with = or @, or with + - a
// tab or a carriage return before anything but a plain number) with an apostrophe put before
// it, which makes it a plain text there; -12.5, +100.0% and -65.0% are left as they are.
std::string defuseFormula(std::string text);

}  // namespace tamrivo
