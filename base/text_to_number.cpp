#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "base/text_to_value.h"

namespace tamrivo {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
    }
    return pos;
}

// Skips leading white space and reads an optional sign; pos is left on what follows them.
bool readLeadingSign(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) {
        ++pos;
    }
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        return text[pos++] == '-';
    }
    return false;
}

struct DecimalLiteral {
    bool negative = false;
    std::string_view body;  // digits, point and exponent, without the sign
};

// The end of an exponent part starting at pos, or pos when there is no complete one.
std::size_t exponentEnd(std::string_view text, std::size_t pos) {
    if (pos >= text.size() || (text[pos] != 'e' && text[pos] != 'E')) {
        return pos;
    }
    std::size_t digits = pos + 1;
    if (digits < text.size() && (text[digits] == '+' || text[digits] == '-')) {
        ++digits;
    }
    const std::size_t end = skipDigits(text, digits);
    return end > digits ? end : pos;
}

std::optional<DecimalLiteral> readDecimalLiteral(std::string_view text) {
    std::size_t pos = 0;
    DecimalLiteral literal;
    literal.negative = readLeadingSign(text, pos);
    const std::size_t start = pos;
    pos = skipDigits(text, pos);
    std::size_t digitCount = pos - start;
    if (pos < text.size() && text[pos] == '.') {
        const std::size_t fraction = pos + 1;
        pos = skipDigits(text, fraction);
        digitCount += pos - fraction;
    }
    if (digitCount == 0) {
        return std::nullopt;
    }
    literal.body = text.substr(start, exponentEnd(text, pos) - start);
    return literal;
}

// The value of a literal's exponent part (0 when it has none), held within +-1000000.
long long exponentOf(std::string_view body) {
    const std::size_t mark = body.find_first_of("eE");
    if (mark == std::string_view::npos) {
        return 0;
    }
    std::size_t pos = mark + 1;
    const bool negative = body[pos] == '-';
    pos += body[pos] == '+' || negative ? 1 : 0;
    long long value = 0;
    for (; pos < body.size(); ++pos) {
        value = std::min(value * 10 + (body[pos] - '0'), 1000000LL);
    }
    return negative ? -value : value;
}

// Whether a literal out of the range of a double is too large rather than too small: its
// first significant digit stands above the tenths.
bool isTooLarge(std::string_view body) {
    const std::string_view mantissa = body.substr(0, body.find_first_of("eE"));
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) {
        return false;
    }
    // 1 for the units, 0 for the tenths, -1 for the hundredths, ...
    const long long position =
        static_cast<long long>(point) - static_cast<long long>(first) + (first > point ? 1 : 0);
    return position + exponentOf(body) > 0;
}

// The leading decimal integer, its magnitude held at 2^63 at most.
std::int64_t readSaturatedInteger(std::string_view text) {
    std::size_t pos = 0;
    const bool negative = readLeadingSign(text, pos);
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 63;
    std::uint64_t magnitude = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        const auto digit = static_cast<std::uint64_t>(text[pos] - '0');
        magnitude = magnitude > (kLimit - digit) / 10 ? kLimit : magnitude * 10 + digit;
    }
    if (negative) {
        return magnitude == kLimit ? std::numeric_limits<std::int64_t>::min()
                                   : -static_cast<std::int64_t>(magnitude);
    }
    return magnitude == kLimit ? std::numeric_limits<std::int64_t>::max()
                               : static_cast<std::int64_t>(magnitude);
}

}  // namespace

double toNumber(std::string_view text) {
    const Text narrowed = narrowFullWidth(text);
    const std::optional<DecimalLiteral> literal = readDecimalLiteral(narrowed);
    if (!literal) {
        return 0.0;
    }
    double value = 0.0;
    const auto result =
        std::from_chars(literal->body.data(), literal->body.data() + literal->body.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = isTooLarge(literal->body) ? HUGE_VAL : 0.0;
    }
    return literal->negative ? -value : value;
}

float toFloat(std::string_view text) {
    return static_cast<float>(toNumber(text));
}

int toInt(std::string_view text) {
    const std::int64_t value = readSaturatedInteger(narrowFullWidth(text));
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

std::int64_t toInt64(std::string_view text) {
    return readSaturatedInteger(narrowFullWidth(text));
}

int toInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483648.0) {
        return std::numeric_limits<int>::max();
    }
    if (value <= -2147483649.0) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

std::int64_t toInt64(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 9223372036854775808.0) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (value < -9223372036854775808.0) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(value);
}

}  // namespace tamrivo
