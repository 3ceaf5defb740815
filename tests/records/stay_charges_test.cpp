#include "records/stay_charges.h"

#include <gtest/gtest.h>

namespace tamrivo {
namespace {

constexpr double kDay20261209 = 46365.0;  // 2026-12-09 00:00

DateTime at(double day, double hours) {
    return DateTime{day + hours / 24.0};
}

TEST(StayCharges, NightsAreTheDatesFromCheckInUpToTheDayBeforeCheckOutWhateverTheHours) {
    EXPECT_EQ(billedNights(at(kDay20261209, 23), at(kDay20261209 + 1, 1)), 1);
    EXPECT_EQ(billedNights(at(kDay20261209, 8), at(kDay20261209 + 3, 20)), 3);
    // Leaving on the day of arrival, or with the dates the wrong way round, is still one night.
    EXPECT_EQ(billedNights(at(kDay20261209, 8), at(kDay20261209, 18)), 1);
    EXPECT_EQ(billedNights(at(kDay20261209, 8), at(kDay20261209 - 2, 8)), 1);
    // Dates before 1899-12-30 are negative day numbers; the date is still the day's start.
    EXPECT_EQ(billedNights(at(-10, 20), at(-9, 2)), 1);
}

TEST(StayCharges, AmountsRoundToTheFenWithHalvesAwayFromZero) {
    EXPECT_DOUBLE_EQ(roundToFen(385.5), 385.5);
    EXPECT_DOUBLE_EQ(roundToFen(0.125), 0.13);
    EXPECT_DOUBLE_EQ(roundToFen(-0.125), -0.13);
    EXPECT_DOUBLE_EQ(roundToFen(1.005), 1.01);
    EXPECT_DOUBLE_EQ(roundToFen(88.404), 88.4);
}

TEST(StayCharges, WhatIsDueIsTheRentOfTheNightsLessTheDepositAndMayBeARefund) {
    const auto charges = stayCharges(at(kDay20261209, 14), at(kDay20261209 + 3, 11), 128.8, 200);
    EXPECT_EQ(charges.nights, 3);
    EXPECT_DOUBLE_EQ(charges.rentTotal, 386.4);
    EXPECT_DOUBLE_EQ(charges.due(), 186.4);
    const auto refund = stayCharges(at(kDay20261209, 14), at(kDay20261209 + 1, 11), 100, 300);
    EXPECT_DOUBLE_EQ(refund.due(), -200);
}

}  // namespace
}  // namespace tamrivo
