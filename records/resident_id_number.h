#pragma once

#include <string>
#include <string_view>

namespace tamrivo {

enum class Sex { Unknown, Male, Female };

// What is wrong with a typed 居民身份证 number, each naming one thing the landlord can mend.
enum class ResidentIdProblem {
    None,
    Length,      // not 18 characters
    Characters,  // not 17 digits followed by a digit or X
    BirthDate,   // the 7th to 14th digits are no date between 1900 and today
    CheckDigit,  // the last character disagrees with the other 17 (GB 11643)
};

struct ResidentIdNumber {
    ResidentIdProblem problem = ResidentIdProblem::None;
    std::string number;  // ASCII, upper-case X; empty unless the number is sound
    int birthYear = 0;
    int birthMonth = 0;
    int birthDay = 0;
    Sex sex = Sex::Unknown;
};

// Reads a number as typed (GBK): full-width digits and a lower-case x are taken as what they
// stand for, surrounding blanks dropped; anything else is refused whole, never half-read.
// today is YYYYMMDD as a number, the latest birth date accepted.
ResidentIdNumber readResidentIdNumber(std::string_view typed, int today);

// The check character the first 17 digits call for: '0'..'9' or 'X'.
char residentIdCheckCharacter(std::string_view first17Digits);

}  // namespace tamrivo
