#include "base/value_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/date_time.h"

namespace tamrivo {
namespace {

// Widens the exponent of a printed number to at least three digits: "1e+15" -> "1e+015".
void widenExponent(Text& number) {
    const std::size_t e = number.find('e');
    if (e == Text::npos) {
        return;
    }
    const std::size_t digits = number.size() - (e + 2);  // after 'e' and its sign
    if (digits < 3) {
        number.insert(e + 2, 3 - digits, '0');
    }
}

Text printGeneral(double value, int significantDigits) {
    if (value == 0.0) {
        value = 0.0;  // negative zero would print as "-0"
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, significantDigits);
    Text text(buffer, result.ptr);
    widenExponent(text);
    return text;
}

// r * 10^exponent with one rounding step where the power of ten is exact.
double scaleByPowerOfTen(double r, int exponent) {
    return exponent >= 0 ? r * std::pow(10.0, exponent) : r / std::pow(10.0, -exponent);
}

// Rounds to six significant digits, halves away from zero. The six digits are found with one
// scaling step, so a value exactly half-way in decimal stays exactly half-way.
double roundToSixDigits(double value) {
    if (value == 0.0 || !std::isfinite(value)) {
        return value;
    }
    const double magnitude = std::abs(value);
    int exponent = static_cast<int>(std::trunc(std::ilogb(magnitude) * std::log10(2.0)));
    double digits = scaleByPowerOfTen(magnitude, 5 - exponent);
    if (digits >= 1e6 || digits < 1e5) {
        exponent += digits >= 1e6 ? 1 : -1;
        digits = scaleByPowerOfTen(magnitude, 5 - exponent);
    }
    double whole = std::floor(digits);
    if (digits - whole >= 0.5) {
        whole += 1.0;
    }
    return std::copysign(scaleByPowerOfTen(whole, exponent - 5), value);
}

}  // namespace

Text toText(int value) {
    return std::to_string(value);
}

Text toText(short value) {
    return std::to_string(value);
}

Text toText(std::uint8_t value) {
    return std::to_string(value);
}

Text toText(std::int64_t value) {
    return std::to_string(value);
}

Text toText(bool value) {
    return value ? "真" : "假";
}

Text toText(double value) {
    return printGeneral(value, 13);
}

Text toText(float value) {
    return printGeneral(roundToSixDigits(value), 6);
}

Text toText(DateTime value) {
    const CalendarTime time = toCalendar(value);
    Text text = toText(time.year) + "年" + toText(time.month) + "月" + toText(time.day) + "日";
    if (time.second != 0) {
        return text + toText(time.hour) + "时" + toText(time.minute) + "分" + toText(time.second) +
               "秒";
    }
    if (time.minute != 0) {
        return text + toText(time.hour) + "时" + toText(time.minute) + "分";
    }
    if (time.hour != 0) {
        return text + toText(time.hour) + "时";
    }
    return text;
}

Text toText(const Bytes& value) {
    const auto end = std::find(value.begin(), value.end(), std::uint8_t{0});
    return Text(value.begin(), end);
}

}  // namespace tamrivo
