#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tamrivo {

// The day number (days since 1899-12-30) of a date as the records store it,
// "yyyy-MM-dd HH:mm:ss", or of a bare "yyyy-MM-dd"; nothing for any other text or for a
// date or time that does not exist.
std::optional<std::int64_t> storedDay(std::string_view text);

// Like storedDay, but only the bare "yyyy-MM-dd" a person types.
std::optional<std::int64_t> typedDay(std::string_view text);

// A day number as the bare date, "2024-03-05", or in another picture of formatDateTime.
std::string dayText(std::int64_t day, std::string_view picture = "yyyy-MM-dd");

// The day number of today, local time.
std::int64_t today();

}  // namespace tamrivo
