#pragma once

#include <cstdint>

#include "base/value_types.h"

namespace tamrivo {

// The one conversion of values to text, used wherever a value is shown or written into a
// statement.
Text toText(int value);
Text toText(short value);
Text toText(std::uint8_t value);
Text toText(std::int64_t value);
Text toText(bool value);  // "真" or "假"
// At most 13 significant digits, no trailing zeros; the exponent form writes at least three
// exponent digits ("1e+015"). Negative zero is written "0".
Text toText(double value);
// Rounded half away from zero to 6 significant digits, then written as a double is with 6.
Text toText(float value);
// "2020年2月17日9时5分3秒"; trailing zero units of the time are left out.
Text toText(DateTime value);
// The bytes up to the first zero byte.
Text toText(const Bytes& value);

// A pointer would otherwise silently become a bool ("真").
template <typename T>
Text toText(const T*) = delete;

}  // namespace tamrivo
