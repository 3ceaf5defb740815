#include "records/money_text.h"

#include <cctype>
#include <string_view>

#include "base/number_ops.h"
#include "base/text_to_value.h"

namespace tamrivo {
namespace {

// Whole yuan beyond this are a typing slip, not a rent; it keeps every sum far inside 64 bits.
constexpr std::int64_t kLargestYuan = 1'000'000'000;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<std::int64_t> fenFromText(const Text& text) {
    std::string_view rest = trimmed(text);
    const bool negative = !rest.empty() && rest.front() == '-';
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        rest.remove_prefix(1);
    }
    std::int64_t yuan = 0;
    int digits = 0;
    for (; !rest.empty() && isDigit(rest.front()); rest.remove_prefix(1), ++digits) {
        yuan = yuan * 10 + (rest.front() - '0');
        if (yuan > kLargestYuan) {
            return std::nullopt;
        }
    }
    // The first two places after the point are fen; the third decides the rounding.
    int places[3] = {0, 0, 0};
    if (!rest.empty() && rest.front() == '.') {
        rest.remove_prefix(1);
        for (int place = 0; !rest.empty() && isDigit(rest.front());
             rest.remove_prefix(1), ++place, ++digits) {
            if (place < 3) {
                places[place] = rest.front() - '0';
            }
        }
    }
    if (!rest.empty() || digits == 0) {
        return std::nullopt;
    }
    const std::int64_t fen = yuan * 100 + places[0] * 10 + places[1] + (places[2] >= 5 ? 1 : 0);
    return negative ? -fen : fen;
}

double yuanOfFen(std::int64_t fen) {
    return static_cast<double>(fen) / 100.0;
}

}  // namespace tamrivo

namespace tamrivo {

double moneyFromText(const Text& text, int places) {
    return roundNumber(static_cast<double>(toFloat(text)), places);
}

}  // namespace tamrivo
