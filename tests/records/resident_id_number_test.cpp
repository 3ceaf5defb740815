#include "records/resident_id_number.h"

#include <gtest/gtest.h>

#include <string>

namespace tamrivo {
namespace {

constexpr int kToday = 20261209;

// A made-up number: region 110105, born 1990-03-07, sequence 123 (odd: a man).
std::string madeUpNumber(std::string first17 = "11010519900307123") {
    return first17 + residentIdCheckCharacter(first17);
}

TEST(ResidentIdNumber, ASoundNumberGivesItsBirthDateAndSex) {
    const auto read = readResidentIdNumber(madeUpNumber(), kToday);
    ASSERT_EQ(read.problem, ResidentIdProblem::None);
    EXPECT_EQ(read.number, madeUpNumber());
    EXPECT_EQ(read.birthYear, 1990);
    EXPECT_EQ(read.birthMonth, 3);
    EXPECT_EQ(read.birthDay, 7);
    EXPECT_EQ(read.sex, Sex::Male);
    EXPECT_EQ(readResidentIdNumber(madeUpNumber("11010519900307124"), kToday).sex, Sex::Female);
}

TEST(ResidentIdNumber, TheCheckCharacterFollowsGb11643) {
    // Weighted sum 190, remainder 3: the fourth of "10X98765432".
    EXPECT_EQ(residentIdCheckCharacter("11010519900307123"), '9');
    // Weighted sum 167, remainder 2 calls for X.
    EXPECT_EQ(residentIdCheckCharacter("11010519491231002"), 'X');
}

TEST(ResidentIdNumber, ALowerCaseXFullWidthDigitsAndBlanksAreReadAsMeant) {
    const std::string withX = "11010519491231002X";
    EXPECT_EQ(readResidentIdNumber("11010519491231002x", kToday).number, withX);
    EXPECT_EQ(readResidentIdNumber("  " + withX + " ", kToday).number, withX);
    // Full-width digits and X as an input method gives them.
    const std::string fullWidth = "１１０１０５１９４９１２３１００２Ｘ";
    EXPECT_EQ(readResidentIdNumber(fullWidth, kToday).number, withX);
}

TEST(ResidentIdNumber, EachFaultIsNamedAndNothingHalfReadIsKept) {
    const std::string sound = madeUpNumber();
    std::string wrongCheck = sound;
    wrongCheck.back() = wrongCheck.back() == '0' ? '1' : '0';
    const struct {
        std::string typed;
        ResidentIdProblem problem;
    } cases[] = {
        {"", ResidentIdProblem::Length},
        {sound.substr(0, 17), ResidentIdProblem::Length},
        {sound + "1", ResidentIdProblem::Length},
        {"11010519900307123" + std::string("Y"), ResidentIdProblem::Characters},
        {"1101051990030712X5", ResidentIdProblem::Characters},
        // A full-width digit among ASCII ones is narrowed; a Chinese character is not.
        {"１１０１０５１９９００３０７１２３" + std::string("中"), ResidentIdProblem::Length},
        {wrongCheck, ResidentIdProblem::CheckDigit},
        {madeUpNumber("11010519900230123"), ResidentIdProblem::BirthDate},
        {madeUpNumber("11010518991231123"), ResidentIdProblem::BirthDate},
        {madeUpNumber("11010520270101123"), ResidentIdProblem::BirthDate},
        {madeUpNumber("11010520230229123"), ResidentIdProblem::BirthDate},
        {std::string(150, '1'), ResidentIdProblem::Length},
        {std::string("110105199\0000307123", 18), ResidentIdProblem::Characters},
    };
    for (const auto& c : cases) {
        const auto read = readResidentIdNumber(c.typed, kToday);
        EXPECT_EQ(read.problem, c.problem) << c.typed;
        EXPECT_TRUE(read.number.empty()) << c.typed;
    }
    EXPECT_EQ(readResidentIdNumber(madeUpNumber("11010520000229123"), kToday).problem,
              ResidentIdProblem::None);
}

}  // namespace
}  // namespace tamrivo
