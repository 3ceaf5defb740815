#include "records/resident_id_number.h"

#include <array>
#include <cstddef>

#include "base/text_to_value.h"

namespace tamrivo {
namespace {

constexpr std::size_t kLength = 18;
constexpr std::size_t kBirthStart = 6;
constexpr std::size_t kSexDigit = 16;
constexpr int kEarliestBirthYear = 1900;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitsValue(std::string_view digits) {
    int value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

bool isCalendarDate(int year, int month, int day) {
    static constexpr std::array<int, 12> kDays{31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) {
        return false;
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month != 2 || day != 29 || leap;
}

std::string normalised(std::string_view typed) {
    std::string text = narrowFullWidth(typed);
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    if (!text.empty() && text.back() == 'x') {
        text.back() = 'X';
    }
    return text;
}

}  // namespace

char residentIdCheckCharacter(std::string_view first17Digits) {
    static constexpr std::array<int, 17> kWeights{7, 9, 10, 5,  8, 4, 2, 1, 6,
                                                  3, 7, 9,  10, 5, 8, 4, 2};
    static constexpr char kCheckCharacters[] = "10X98765432";
    int sum = 0;
    for (std::size_t i = 0; i < kWeights.size(); ++i) {
        sum += (first17Digits[i] - '0') * kWeights[i];
    }
    return kCheckCharacters[sum % 11];
}

ResidentIdNumber readResidentIdNumber(std::string_view typed, int today) {
    ResidentIdNumber result;
    const std::string text = normalised(typed);
    if (text.size() != kLength) {
        result.problem = ResidentIdProblem::Length;
        return result;
    }
    for (std::size_t i = 0; i + 1 < kLength; ++i) {
        if (!isDigit(text[i])) {
            result.problem = ResidentIdProblem::Characters;
            return result;
        }
    }
    if (!isDigit(text.back()) && text.back() != 'X') {
        result.problem = ResidentIdProblem::Characters;
        return result;
    }
    const int year = digitsValue(text.substr(kBirthStart, 4));
    const int month = digitsValue(text.substr(kBirthStart + 4, 2));
    const int day = digitsValue(text.substr(kBirthStart + 6, 2));
    if (year < kEarliestBirthYear || !isCalendarDate(year, month, day) ||
        digitsValue(text.substr(kBirthStart, 8)) > today) {
        result.problem = ResidentIdProblem::BirthDate;
        return result;
    }
    if (residentIdCheckCharacter(text) != text.back()) {
        result.problem = ResidentIdProblem::CheckDigit;
        return result;
    }
    result.number = text;
    result.birthYear = year;
    result.birthMonth = month;
    result.birthDay = day;
    result.sex = (text[kSexDigit] - '0') % 2 == 1 ? Sex::Male : Sex::Female;
    return result;
}

}  // namespace tamrivo
