#pragma once

#include <cstdint>
#include <string_view>

#include "base/value_types.h"

namespace tamrivo {

// Full-width ASCII forms ("２", "－", "：" and the full-width space) become their ASCII
// characters; every other character stays as it is.
Text narrowFullWidth(std::string_view text);

// The conversions of text to values never fail: text they cannot read gives 0 (or the minimum
// date). Each narrows full-width characters first.

// The longest leading C decimal floating-point literal (after white space) as a number; no
// digits give 0, a literal too large for a double gives an infinity.
double toNumber(std::string_view text);
float toFloat(std::string_view text);

// The leading C decimal integer (after white space); no digits give 0; values beyond the range
// of the result type give its nearest end.
int toInt(std::string_view text);
std::int64_t toInt64(std::string_view text);

// Truncated toward zero; NaN gives 0, values beyond the range give its nearest end.
int toInt(double value);
std::int64_t toInt64(double value);

// Reads year, month, day, hour, minute and second, each field optionally followed by a
// separator ("-", "/", ".", ":" or the field's Chinese unit; between day and hour also a
// space; after the second only "秒"). Missing trailing fields are 0. Text that cannot be read
// to its end, or a field out of range, gives the minimum date.
DateTime toDateTime(std::string_view text);

}  // namespace tamrivo
