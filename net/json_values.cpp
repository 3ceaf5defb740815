#include "net/json_values.h"

#include <array>
#include <charconv>
#include <cmath>

#include "base/text_encoding.h"

namespace tamrivo {
namespace {

std::string toChars(double value, std::chars_format format, int precision) {
    std::array<char, 64> buffer{};
    const auto end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision).ptr;
    return std::string(buffer.data(), end);
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

}  // namespace tamrivo
