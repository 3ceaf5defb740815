#include "tests/support/gbk_printer.h"

#include "base/text_encoding.h"

#include <cstdio>

namespace tamrivo::testing {

std::string readableGbk(std::string_view text) {
    const std::string utf8 = gbkToUtf8(text);
    if (!utf8.empty() || text.empty()) {
        return '"' + utf8 + '"';
    }
    std::string escaped = "bytes \"";
    for (const unsigned char byte : text) {
        if (byte >= 0x20 && byte < 0x7F) {
            escaped += static_cast<char>(byte);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            escaped += hex;
        }
    }
    return escaped + '"';
}

::testing::AssertionResult textsEqual(const char* actualExpression, const char* expectedExpression,
                                      std::string_view actual, std::string_view expected) {
    if (actual == expected) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "Expected equality of these texts:\n  " << actualExpression
           << "\n    Which is: " << readableGbk(actual) << "\n  " << expectedExpression
           << "\n    Which is: " << readableGbk(expected);
}

}  // namespace tamrivo::testing
