#include <array>
#include <optional>

#include "base/date_time.h"
#include "base/text_to_value.h"

namespace tamrivo {
namespace {

struct DateField {
    int maxDigits;
    std::string_view unit;  // may stand after the field instead of a separator
};

constexpr std::array<DateField, 6> kFields{{
    {4, "年"},
    {2, "月"},
    {2, "日"},
    {2, "时"},
    {2, "分"},
    {2, "秒"},
}};
constexpr std::size_t kDayField = 2;
constexpr std::size_t kSecondField = 5;

bool readNumber(std::string_view text, std::size_t& pos, int maxDigits, int& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < text.size() && pos - start < static_cast<std::size_t>(maxDigits) &&
           text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos++] - '0');
    }
    return pos > start;
}

void skipSeparator(std::string_view text, std::size_t& pos, std::size_t field) {
    const std::string_view unit = kFields[field].unit;
    if (text.substr(pos, unit.size()) == unit) {
        pos += unit.size();
        return;
    }
    if (pos >= text.size() || field == kSecondField) {
        return;
    }
    const char c = text[pos];
    if (c == '-' || c == '/' || c == '.' || c == ':' || (field == kDayField && c == ' ')) {
        ++pos;
    }
}

std::optional<CalendarTime> readFields(std::string_view text) {
    std::array<int, kFields.size()> values{};
    std::size_t pos = 0;
    for (std::size_t field = 0; field < kFields.size(); ++field) {
        if (!readNumber(text, pos, kFields[field].maxDigits, values[field])) {
            break;  // this and the later fields are missing
        }
        skipSeparator(text, pos, field);
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    return CalendarTime{values[0], values[1], values[2], values[3], values[4], values[5]};
}

}  // namespace

DateTime toDateTime(std::string_view text) {
    const std::optional<CalendarTime> fields = readFields(narrowFullWidth(text));
    const std::optional<DateTime> value = fields ? fromCalendar(*fields) : std::nullopt;
    return value.value_or(DateTime{DateTime::kMinimumDays});
}

}  // namespace tamrivo
