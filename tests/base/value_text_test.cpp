#include "base/value_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace tamrivo {
namespace {

TEST(ValueText, IntegersAreDecimal) {
    EXPECT_TEXT_EQ(toText(-42), "-42");
    EXPECT_TEXT_EQ(toText(short{-32768}), "-32768");
    EXPECT_TEXT_EQ(toText(std::uint8_t{255}), "255");
    EXPECT_TEXT_EQ(toText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(ValueText, BoolsAreChineseWords) {
    EXPECT_TEXT_EQ(toText(true), "真");
    EXPECT_TEXT_EQ(toText(false), "假");
}

TEST(ValueText, DoublesKeepThirteenSignificantDigits) {
    EXPECT_TEXT_EQ(toText(2.5), "2.5");
    EXPECT_TEXT_EQ(toText(0.1), "0.1");
    EXPECT_TEXT_EQ(toText(150.55), "150.55");
    EXPECT_TEXT_EQ(toText(1000.0), "1000");
    EXPECT_TEXT_EQ(toText(1.0 / 3.0), "0.3333333333333");
    EXPECT_TEXT_EQ(toText(1234567890123.0), "1234567890123");
    EXPECT_TEXT_EQ(toText(0.0001), "0.0001");
}

TEST(ValueText, DoubleExponentsHaveAtLeastThreeDigits) {
    EXPECT_TEXT_EQ(toText(1e15), "1e+015");
    EXPECT_TEXT_EQ(toText(123456789012345.0), "1.234567890123e+014");
    EXPECT_TEXT_EQ(toText(1e-5), "1e-005");
    EXPECT_TEXT_EQ(toText(1e-20), "1e-020");
    EXPECT_TEXT_EQ(toText(-2.5e-300), "-2.5e-300");
    EXPECT_TEXT_EQ(toText(1e100), "1e+100");
}

TEST(ValueText, NegativeZeroIsWrittenAsZero) {
    EXPECT_TEXT_EQ(toText(-0.0), "0");
    EXPECT_TEXT_EQ(toText(-0.0f), "0");
}

TEST(ValueText, FloatsRoundHalfAwayFromZeroToSixDigits) {
    EXPECT_TEXT_EQ(toText(0.1f), "0.1");  // not 0.100000001
    EXPECT_TEXT_EQ(toText(150.555f), "150.555");
    EXPECT_TEXT_EQ(toText(0.125f), "0.125");
    // Exactly half in the seventh digit: printf alone would round to even (1.23456).
    EXPECT_TEXT_EQ(toText(1234565.0f), "1.23457e+006");
    EXPECT_TEXT_EQ(toText(-1234565.0f), "-1.23457e+006");
    EXPECT_TEXT_EQ(toText(1e-10f), "1e-010");
    EXPECT_TEXT_EQ(toText(3.4028235e38f), "3.40282e+038");
}

TEST(ValueText, ByteBlockStopsAtTheFirstZeroByte) {
    EXPECT_TEXT_EQ(toText(Bytes{'a', 'b', 0, 'c'}), "ab");
    EXPECT_TEXT_EQ(toText(Bytes{'a', 'b', 'c'}), "abc");
    EXPECT_TEXT_EQ(toText(Bytes{}), "");
}

}  // namespace
}  // namespace tamrivo
