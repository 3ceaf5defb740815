#pragma once

#include <string_view>

#include "base/value_types.h"

namespace tamrivo {

inline constexpr std::string_view kDefaultDateTimePicture = "yyyy-MM-dd HH:mm:ss";

// Writes a date-time after a picture: yyyy (four-digit year), yy (two-digit year), MM / M
// (month), dd / d (day), HH / H (hour, 24-hour clock), hh / h (hour, 12-hour clock), mm / m
// (minute), ss / s (second); the doubled letters give two digits, the single ones no leading
// zero. Every other character is copied. An empty picture means the default picture.
Text formatDateTime(DateTime value, std::string_view picture = kDefaultDateTimePicture);

}  // namespace tamrivo
