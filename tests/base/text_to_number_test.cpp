#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/text_to_value.h"

namespace tamrivo {
namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

TEST(NarrowFullWidth, FullWidthAsciiFormsBecomeAscii) {
    EXPECT_TEXT_EQ(narrowFullWidth("ＡＢｃ１２３．－＋"), "ABc123.-+");
    EXPECT_TEXT_EQ(narrowFullWidth("　＄～｝"), " $~}");
}

TEST(NarrowFullWidth, OtherCharactersStay) {
    EXPECT_TEXT_EQ(narrowFullWidth("房间￥"), "房间￥");  // the yuan sign has no ASCII form
    EXPECT_TEXT_EQ(narrowFullWidth("１\xA3"), "1\xA3");   // lone lead byte at the end
}

TEST(ToNumber, ReadsTheLeadingDecimalLiteral) {
    EXPECT_EQ(toNumber("12.5abc"), 12.5);
    EXPECT_EQ(toNumber(" \t-3e2x"), -300.0);
    EXPECT_EQ(toNumber("+7"), 7.0);
    EXPECT_EQ(toNumber(".5"), 0.5);
    EXPECT_EQ(toNumber("5."), 5.0);
    EXPECT_EQ(toNumber("1e"), 1.0);  // an exponent without digits is not part of it
    EXPECT_EQ(toNumber("2E+3"), 2000.0);
    EXPECT_EQ(toNumber("1,5"), 1.0);
}

TEST(ToNumber, NoDigitsGiveZero) {
    for (const char* text : {"", "abc", "-", ".", "e5", "inf", "nan", "元12"}) {
        EXPECT_EQ(toNumber(text), 0.0) << text;
    }
    EXPECT_EQ(toNumber("0x1A"), 0.0);  // hexadecimal is not read
}

TEST(ToNumber, FullWidthDigitsAreRead) {
    EXPECT_EQ(toNumber("１２．５"), 12.5);
    EXPECT_EQ(toNumber("　－３"), -3.0);
}

TEST(ToNumber, OutOfRangeLiterals) {
    EXPECT_EQ(toNumber("1e999"), HUGE_VAL);
    EXPECT_EQ(toNumber("-123.4e400"), -HUGE_VAL);
    EXPECT_EQ(toNumber("1e-999"), 0.0);
    EXPECT_EQ(toNumber("0.000001e-400"), 0.0);
    EXPECT_EQ(toNumber("0.0e99999"), 0.0);
    EXPECT_EQ(toNumber("1e-310"), 1e-310);  // subnormal, still in range
}

TEST(ToFloat, NarrowsToSinglePrecision) {
    EXPECT_EQ(toFloat("0.1"), 0.1f);
    EXPECT_EQ(toFloat("150.555"), 150.555f);
    EXPECT_EQ(toFloat("1e39"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(toFloat("x"), 0.0f);
}

TEST(ToInt, ReadsTheLeadingDecimalInteger) {
    EXPECT_EQ(toInt("42abc"), 42);
    EXPECT_EQ(toInt("  -17"), -17);
    EXPECT_EQ(toInt("3.9"), 3);
    EXPECT_EQ(toInt("１２"), 12);
    EXPECT_EQ(toInt("abc"), 0);
    EXPECT_EQ(toInt("- 5"), 0);
}

TEST(ToInt, OutOfRangeGivesTheNearestEnd) {
    EXPECT_EQ(toInt("2147483647"), kIntMax);
    EXPECT_EQ(toInt("2147483648"), kIntMax);
    EXPECT_EQ(toInt("-2147483648"), kIntMin);
    EXPECT_EQ(toInt("-99999999999999999999999"), kIntMin);
}

TEST(ToInt64, ReadsTheWholeRange) {
    EXPECT_EQ(toInt64("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(toInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(toInt64("99999999999999999999"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(toInt64(" ＋１２３４５６７８９０１２"), 123456789012);
}

TEST(ToInt, NumbersAreTruncatedTowardZero) {
    EXPECT_EQ(toInt(3.9), 3);
    EXPECT_EQ(toInt(-3.9), -3);
    EXPECT_EQ(toInt(1e20), kIntMax);
    EXPECT_EQ(toInt(-1e20), kIntMin);
    EXPECT_EQ(toInt(-2147483648.9), kIntMin);
    EXPECT_EQ(toInt(std::nan("")), 0);
    EXPECT_EQ(toInt64(-1e300), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(toInt64(99.99), 99);
}

}  // namespace
}  // namespace tamrivo
