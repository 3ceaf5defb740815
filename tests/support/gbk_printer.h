#pragma once
// Force-included into every test. GoogleTest prints std::string failures as escaped bytes,
// which makes GBK texts unreadable; EXPECT_TEXT_EQ / ASSERT_TEXT_EQ compare texts byte for
// byte like EXPECT_EQ but show both sides as UTF-8 (escaped bytes when not valid GBK).

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace tamrivo::testing {

// The text as readable UTF-8 between quotes, or as escaped bytes when it is not valid GBK.
std::string readableGbk(std::string_view text);

::testing::AssertionResult textsEqual(const char* actualExpression, const char* expectedExpression,
                                      std::string_view actual, std::string_view expected);

}  // namespace tamrivo::testing

#define EXPECT_TEXT_EQ(actual, expected) \
    EXPECT_PRED_FORMAT2(::tamrivo::testing::textsEqual, actual, expected)
#define ASSERT_TEXT_EQ(actual, expected) \
    ASSERT_PRED_FORMAT2(::tamrivo::testing::textsEqual, actual, expected)
