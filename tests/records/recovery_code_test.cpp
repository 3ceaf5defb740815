// The recovery code as a person reads, types and mistypes it.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "records/recovery_code.h"

namespace tamrivo {
namespace {

std::string grouped(const SecretBytes& code) {
    return std::string(groupedRecoveryCode(code).text());
}

TEST(RecoveryCode, IsEightGroupsOfFiveWithoutLookAlikes) {
    const SecretBytes code = newRecoveryCode();
    const std::string shown = grouped(code);
    ASSERT_EQ(shown.size(), 47u);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (i % 6 == 5) {
            EXPECT_EQ(shown[i], '-') << shown;
        } else {
            EXPECT_EQ(std::string("01IO").find(shown[i]), std::string::npos) << shown;
        }
    }
}

TEST(RecoveryCode, EveryCodeIsNew) {
    std::set<std::string> codes;
    for (int i = 0; i < 50; ++i) {
        codes.insert(std::string(newRecoveryCode().text()));
    }
    EXPECT_EQ(codes.size(), 50u);
}

TEST(RecoveryCode, TypedInLowerCaseWithBlanksAndDashesItReadsAsPrinted) {
    const SecretBytes code = newRecoveryCode();
    std::string typed;
    for (std::size_t i = 0; i < code.size(); ++i) {
        typed += static_cast<char>(std::tolower(code.text()[i]));
        typed += (i % 5 == 4) ? " - " : "";
    }
    const TypedRecoveryCode read = normaliseRecoveryCode("  " + typed + "\n");
    ASSERT_EQ(read.problem, "");
    EXPECT_EQ(read.code.text(), code.text());
    EXPECT_EQ(normaliseRecoveryCode(grouped(code)).code.text(), code.text());
}

TEST(RecoveryCode, AnyOneMistypedCharacterNamesItsGroup) {
    const SecretBytes code = newRecoveryCode();
    const std::string alphabet = "23456789ABCDEFGHJKLMNPQRSTUVWXYZ";
    for (std::size_t at = 0; at < code.size(); ++at) {
        for (const char other : alphabet) {
            std::string typed(code.text());
            if (typed[at] == other) {
                continue;
            }
            typed[at] = other;
            EXPECT_EQ(normaliseRecoveryCode(typed).problem,
                      "group " + std::to_string(at / 5 + 1) + " of the recovery code is mistyped")
                << typed;
        }
    }
}

TEST(RecoveryCode, TwoGroupsTypedInEachOthersPlaceAreCaught) {
    const SecretBytes code = newRecoveryCode();
    const std::string text(code.text());
    for (std::size_t a = 0; a < 8; ++a) {
        for (std::size_t b = a + 1; b < 8; ++b) {
            std::string swapped = text;
            if (text.substr(a * 5, 5) == text.substr(b * 5, 5)) {
                continue;
            }
            swapped.replace(a * 5, 5, text.substr(b * 5, 5));
            swapped.replace(b * 5, 5, text.substr(a * 5, 5));
            EXPECT_FALSE(normaliseRecoveryCode(swapped).problem.empty()) << a << b;
        }
    }
}

TEST(RecoveryCode, WrongLengthsAndForeignCharactersAreRefused) {
    const std::string code(newRecoveryCode().text());
    EXPECT_NE(normaliseRecoveryCode(code.substr(0, 39)).problem.find("shorter"), std::string::npos);
    EXPECT_NE(normaliseRecoveryCode(code + "A").problem.find("longer"), std::string::npos);
    EXPECT_NE(normaliseRecoveryCode("").problem.find("shorter"), std::string::npos);
    std::string withO = code;
    withO[3] = 'O';
    EXPECT_NE(normaliseRecoveryCode(withO).problem.find("character"), std::string::npos);
    std::string withHigh = code;
    withHigh[3] = '\xB0';
    EXPECT_NE(normaliseRecoveryCode(withHigh).problem.find("character"), std::string::npos);
    EXPECT_FALSE(normaliseRecoveryCode(std::string(100000, 'A')).problem.empty());
}

}  // namespace
}  // namespace tamrivo
