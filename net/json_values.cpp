#include "net/json_values.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "ui/text_encoding.h"

namespace tamrivo {
namespace {

std::string toChars(double value, std::chars_format format, int precision) {
    std::array<char, 64> buffer{};
    const auto end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision).ptr;
    return std::string(buffer.data(), end);
}

std::string_view withoutLeadingBlanks(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\n\v\f\r");
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

}  // namespace

Text resultText(const ScriptValue& value) {
    if (const bool* boolean = std::get_if<bool>(&value)) {
        return *boolean ? "-1" : "0";
    }
    if (const double* number = std::get_if<double>(&value)) {
        return numberText(*number);
    }
    if (const std::string* text = std::get_if<std::string>(&value)) {
        return utf8ToGbk(*text);
    }
    return {};
}

bool resultBool(const ScriptValue& value) {
    if (const bool* boolean = std::get_if<bool>(&value)) {
        return *boolean;
    }
    const double* number = std::get_if<double>(&value);
    return number != nullptr && *number != 0.0 && !std::isnan(*number);
}

Text numberText(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "Infinity" : "-Infinity";
    }
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (std::trunc(value) == value && std::fabs(value) < kTwoTo63) {
        return std::to_string(static_cast<std::int64_t>(value));
    }
    std::array<char, 64> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    return Text(buffer.data(), end);
}

std::string textLiteral(std::string_view utf8) {
    std::string literal = "'";
    for (const char c : utf8) {
        switch (c) {
            case '\'':
                literal += "\\'";
                break;
            case '\\':
                literal += "\\\\";
                break;
            case '\n':
                literal += "\\n";
                break;
            case '\r':
                literal += "\\r";
                break;
            default:
                literal += c;
        }
    }
    return literal + "'";
}

std::string numberLiteral(double value) {
    return toChars(value, std::chars_format::general, 13);
}

std::string singleLiteral(float value) {
    return toChars(value, std::chars_format::general, 6);
}

std::int64_t leadingInt64(std::string_view text) {
    text = withoutLeadingBlanks(text);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) {
        text.remove_prefix(1);
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 63;
    if (error == std::errc::result_out_of_range || magnitude >= kLimit) {
        return negative ? std::numeric_limits<std::int64_t>::min()
                        : std::numeric_limits<std::int64_t>::max();
    }
    const auto signedMagnitude = static_cast<std::int64_t>(magnitude);
    return negative ? -signedMagnitude : signedMagnitude;
}

std::int32_t leadingInt32(std::string_view text) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    const std::int64_t value = leadingInt64(text);
    return static_cast<std::int32_t>(value < kMin ? kMin : (value > kMax ? kMax : value));
}

double leadingDouble(std::string_view text) {
    text = withoutLeadingBlanks(text);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace tamrivo
