#include "records/password_digest.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

namespace tamrivo {
namespace {

Text digestOf(std::string_view text) {
    return md5Hex(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(Md5Hex, MatchesTheReferenceVectorsInUpperCase) {
    const std::pair<std::string_view, Text> vectors[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const auto& [input, digest] : vectors) {
        EXPECT_TEXT_EQ(digestOf(input), digest) << "input \"" << input << '"';
    }
}

TEST(Md5Hex, DigestsEveryByteIncludingZeros) {
    const std::uint8_t bytes[] = {'a', 0, 'b'};
    EXPECT_TEXT_EQ(md5Hex(bytes), "70350F6027BCE3713F6B76473084309B");
}

}  // namespace
}  // namespace tamrivo
