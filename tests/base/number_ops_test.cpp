#include "base/number_ops.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/text_to_value.h"
#include "base/value_text.h"

namespace tamrivo {
namespace {

TEST(RoundNumber, HalvesGoAwayFromZero) {
    EXPECT_EQ(roundNumber(2.5), 3.0);
    EXPECT_EQ(roundNumber(-2.5), -3.0);
    EXPECT_EQ(roundNumber(2.4999), 2.0);
    EXPECT_EQ(roundNumber(0.5), 1.0);
    EXPECT_EQ(roundNumber(-0.4), 0.0);
}

TEST(RoundNumber, DecimalPlaces) {
    EXPECT_EQ(roundNumber(2.345, 2), 2.35);  // held as 2.34499999...
    EXPECT_EQ(roundNumber(-2.345, 2), -2.35);
    EXPECT_EQ(roundNumber(1.005, 2), 1.01);
    EXPECT_EQ(roundNumber(45.66, 1), 45.7);
    EXPECT_EQ(roundNumber(99.96, 1), 100.0);
    EXPECT_EQ(roundNumber(150.555, 2), 150.56);
}

TEST(RoundNumber, NegativePlacesRoundToTensAndHundreds) {
    EXPECT_EQ(roundNumber(1234, -2), 1200.0);
    EXPECT_EQ(roundNumber(1250, -2), 1300.0);
    EXPECT_EQ(roundNumber(-1250, -2), -1300.0);
    EXPECT_EQ(roundNumber(15, -1), 20.0);
}

TEST(RoundNumber, ZeroResultsArePositiveZero) {
    EXPECT_FALSE(std::signbit(roundNumber(0.0)));
    EXPECT_FALSE(std::signbit(roundNumber(-0.0, 2)));
    EXPECT_FALSE(std::signbit(roundNumber(-0.004, 2)));
    EXPECT_TEXT_EQ(toText(roundNumber(-0.004, 2)), "0");
}

TEST(RoundNumber, ExtremePlacesAndValues) {
    EXPECT_EQ(roundNumber(1.5, 400), 1.5);
    EXPECT_EQ(roundNumber(1.5, -400), 0.0);
    EXPECT_EQ(roundNumber(1e300, 10), 1e300);
    EXPECT_EQ(roundNumber(1e300, -300), 1e300);
    EXPECT_EQ(roundNumber(HUGE_VAL, 2), HUGE_VAL);
    EXPECT_TRUE(std::isnan(roundNumber(std::nan(""), 2)));
}

// Amounts are typed, read as single precision, widened and rounded: 2 places for deposit and
// rent, none for a settlement.
double money(const char* typed, int places) {
    return roundNumber(toFloat(typed), places);
}

TEST(RoundNumber, MoneyThatPassedThroughSinglePrecision) {
    EXPECT_EQ(money("0.125", 2), 0.13);      // exact in binary: a true half
    EXPECT_EQ(money("150.555", 2), 150.55);  // held as 150.55499...
    EXPECT_EQ(money("2.345", 2), 2.35);      // held as 2.34500002...
    EXPECT_EQ(money("2.5", 0), 3.0);
    EXPECT_EQ(money("150.49", 0), 150.0);
    EXPECT_EQ(money("-2.5", 0), -3.0);
    EXPECT_EQ(money("１２８．５", 0), 129.0);
    EXPECT_EQ(money("abc", 2), 0.0);
    EXPECT_TEXT_EQ(toText(money("150.555", 2)), "150.55");
    EXPECT_TEXT_EQ(toText(money("1234567.89", 2)), "1234567.88");  // beyond single precision
}

}  // namespace
}  // namespace tamrivo
