// Feeds arbitrary bytes to the text readers and checks what must hold for any input.
// Input layout: one control byte (bits 0-1: separator length, bit 2: limit the pieces,
// bits 3-7: the limit), the separator bytes, then the text.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "base/date_format.h"
#include "base/text_search.h"
#include "base/text_to_value.h"
#include "base/value_text.h"

namespace {

using namespace tamrivo;

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void checkDateTime(std::string_view text) {
    const DateTime value = toDateTime(text);
    check(value.days >= DateTime::kMinimumDays - 1 && value.days < DateTime::kMaximumDays + 1,
          "date-time within range");
    if (value.days != DateTime::kMinimumDays && value.days <= DateTime::kMaximumDays) {
        check(toDateTime(toText(value)) == value, "toDateTime reads toText");
        check(toDateTime(formatDateTime(value)) == value, "toDateTime reads formatDateTime");
    }
}

void checkNumber(std::string_view text) {
    const double value = toNumber(text);
    check(!std::isnan(value), "toNumber never gives NaN");
    if (std::isfinite(value)) {
        const double again = toNumber(toText(value));
        check(std::abs(again - value) <= std::abs(value) * 1e-12, "toNumber reads toText");
    }
    (void)toInt(text);
    (void)toInt64(text);
}

Text join(const std::vector<Text>& pieces, std::string_view separator) {
    Text joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        joined += (i == 0 ? Text() : Text(separator)) + pieces[i];
    }
    return joined;
}

void checkSplit(std::string_view text, std::string_view separator, std::optional<int> maxPieces) {
    const std::vector<Text> pieces = splitText(text, separator, maxPieces);
    if (maxPieces) {
        check(pieces.size() <= static_cast<std::size_t>(std::max(*maxPieces, 0)),
              "at most maxPieces pieces");
        return;
    }
    if (separator.empty()) {
        check(pieces.size() == (text.empty() ? 0u : 1u), "empty separator gives the whole text");
        return;
    }
    const Text joined = join(pieces, separator);
    check(joined == text || joined + Text(separator) == text, "pieces rejoin to the text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto control = static_cast<unsigned>(data[0]);
    const std::string_view rest = input.substr(1);
    const std::string_view separator = rest.substr(0, control & 3);
    const std::string_view text = rest.substr(separator.size());
    const std::optional<int> maxPieces =
        (control & 4) != 0 ? std::optional<int>(static_cast<int>(control >> 3)) : std::nullopt;

    checkDateTime(text);
    checkNumber(text);
    checkSplit(text, separator, maxPieces);
    return 0;
}
