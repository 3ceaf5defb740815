#include "records/stored_dates.h"

#include <cctype>

#include "base/date_format.h"
#include "base/date_time.h"

namespace tamrivo {
namespace {

constexpr std::string_view kDateShape = "0000-00-00";
constexpr std::string_view kDateTimeShape = "0000-00-00 00:00:00";

// Digits where the shape has 0, the shape's own character everywhere else.
bool hasShape(std::string_view text, std::string_view shape) {
    if (text.size() != shape.size()) {
        return false;
    }
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (shape[i] == '0' ? !digit : text[i] != shape[i]) {
            return false;
        }
    }
    return true;
}

int number(std::string_view text, std::size_t position, std::size_t length) {
    int value = 0;
    for (const char c : text.substr(position, length)) {
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<std::int64_t> dayOf(std::string_view text) {
    CalendarTime time{number(text, 0, 4), number(text, 5, 2), number(text, 8, 2)};
    if (text.size() == kDateTimeShape.size()) {
        time.hour = number(text, 11, 2);
        time.minute = number(text, 14, 2);
        time.second = number(text, 17, 2);
    }
    const std::optional<DateTime> value = fromCalendar(time);
    if (!value) {
        return std::nullopt;
    }
    return dayNumber(*value);
}

}  // namespace

std::optional<std::int64_t> storedDay(std::string_view text) {
    if (!hasShape(text, kDateShape) && !hasShape(text, kDateTimeShape)) {
        return std::nullopt;
    }
    return dayOf(text);
}

std::optional<std::int64_t> typedDay(std::string_view text) {
    return hasShape(text, kDateShape) ? dayOf(text) : std::nullopt;
}

std::string dayText(std::int64_t day, std::string_view picture) {
    return formatDateTime(DateTime{static_cast<double>(day)}, picture);
}

std::int64_t today() {
    return dayNumber(currentDateTime());
}

}  // namespace tamrivo
