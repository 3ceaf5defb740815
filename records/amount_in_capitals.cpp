#include "records/amount_in_capitals.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "records/stay_charges.h"

namespace tamrivo {
namespace {

constexpr std::array<const char*, 10> kDigits = {"零", "壹", "贰", "叁", "肆",
                                                 "伍", "陆", "柒", "捌", "玖"};
constexpr std::array<const char*, 4> kPlaces = {"", "拾", "佰", "仟"};
constexpr std::array<std::int64_t, 4> kPlaceValues = {1, 10, 100, 1000};
constexpr double kTooLarge = 1'0000'0000'0000.0;  // a million 亿

// Whole yuan in groups of four digits (亿, 万, ones); one 零 stands for every run of zeros
// between two digits written, across groups too.
Text wholeYuan(std::int64_t yuan) {
    constexpr std::array<std::pair<std::int64_t, const char*>, 3> kGroups = {
        {{1'0000'0000, "亿"}, {1'0000, "万"}, {1, ""}}};
    Text words;
    bool zero = false;  // a zero stands between the last digit written and the next
    for (const auto& [size, name] : kGroups) {
        const std::int64_t group = yuan / size % 1'0000;
        if (group == 0) {
            zero = !words.empty();
            continue;
        }
        for (int place = 3; place >= 0; --place) {
            const std::int64_t digit = group / kPlaceValues[place] % 10;
            if (digit == 0) {
                zero = zero || !words.empty();
                continue;
            }
            words += zero ? kDigits[0] : "";
            words += Text(kDigits[digit]) + kPlaces[place];
            zero = false;
        }
        words += name;
    }
    return words;
}

}  // namespace

std::optional<Text> amountInCapitals(double yuan) {
    if (!std::isfinite(yuan) || yuan >= kTooLarge) {
        return std::nullopt;
    }
    const auto fen = static_cast<std::int64_t>(std::llround(roundToFen(yuan) * 100));
    if (fen < 0) {
        return std::nullopt;
    }
    const std::int64_t jiao = fen / 10 % 10;
    const std::int64_t cents = fen % 10;
    const Text whole = wholeYuan(fen / 100);
    if (whole.empty() && fen == 0) {
        return Text("零元整");
    }
    Text words = whole.empty() ? Text() : whole + "元";
    if (jiao != 0) {
        words += Text(kDigits[jiao]) + "角";
    } else if (cents != 0 && !whole.empty()) {
        words += kDigits[0];
    }
    words += cents != 0 ? Text(kDigits[cents]) + "分" : Text("整");
    return words;
}

}  // namespace tamrivo
