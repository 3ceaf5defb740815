#include "records/amount_in_capitals.h"

#include <gtest/gtest.h>

#include <limits>

namespace tamrivo {
namespace {

Text capitals(double yuan) {
    return amountInCapitals(yuan).value_or("(refused)");
}

TEST(AmountInCapitals, YuanJiaoAndFenAsReceiptsWriteThem) {
    EXPECT_TEXT_EQ(capitals(385.5), "叁佰捌拾伍元伍角整");
    EXPECT_TEXT_EQ(capitals(0), "零元整");
    EXPECT_TEXT_EQ(capitals(-0.001), "零元整");
    EXPECT_TEXT_EQ(capitals(0.05), "伍分");
    EXPECT_TEXT_EQ(capitals(0.5), "伍角整");
    EXPECT_TEXT_EQ(capitals(0.56), "伍角陆分");
    EXPECT_TEXT_EQ(capitals(1.05), "壹元零伍分");
    EXPECT_TEXT_EQ(capitals(12.34), "壹拾贰元叁角肆分");
    EXPECT_TEXT_EQ(capitals(0.125), "壹角叁分");  // to the fen, halves up
    EXPECT_TEXT_EQ(capitals(200), "贰佰元整");
}

TEST(AmountInCapitals, ZerosBetweenDigitsAreOneZeroAcrossTenThousandsAndHundredMillions) {
    EXPECT_TEXT_EQ(capitals(1005), "壹仟零伍元整");
    EXPECT_TEXT_EQ(capitals(1010), "壹仟零壹拾元整");
    EXPECT_TEXT_EQ(capitals(10000), "壹万元整");
    EXPECT_TEXT_EQ(capitals(100005), "壹拾万零伍元整");
    EXPECT_TEXT_EQ(capitals(101000), "壹拾万零壹仟元整");
    EXPECT_TEXT_EQ(capitals(110100), "壹拾壹万零壹佰元整");
    EXPECT_TEXT_EQ(capitals(111000), "壹拾壹万壹仟元整");
    EXPECT_TEXT_EQ(capitals(100000000), "壹亿元整");
    EXPECT_TEXT_EQ(capitals(100010000), "壹亿零壹万元整");
    EXPECT_TEXT_EQ(capitals(100000001.1), "壹亿零壹元壹角整");
    EXPECT_TEXT_EQ(capitals(1200000005), "壹拾贰亿零伍元整");
    EXPECT_TEXT_EQ(capitals(999999999999.99),
                   "玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分");
}

TEST(AmountInCapitals, NegativeUnreadableAndHugeAmountsAreRefused) {
    EXPECT_FALSE(amountInCapitals(-0.01));
    EXPECT_FALSE(amountInCapitals(-385.5));
    EXPECT_FALSE(amountInCapitals(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(amountInCapitals(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(amountInCapitals(1e12));
    EXPECT_FALSE(amountInCapitals(1e300));
}

}  // namespace
}  // namespace tamrivo
