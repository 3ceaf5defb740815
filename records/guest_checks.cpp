#include "records/guest_checks.h"

#include <string>

#include "base/gbk_chars.h"
#include "base/text_limits.h"
#include "base/text_ops.h"
#include "base/text_to_value.h"
#include "records/resident_id_number.h"
#include "records/stored_dates.h"

namespace tamrivo {
namespace {

// Passports and permits: letters, digits and hyphens, as long as any of them runs.
constexpr std::size_t kLongestOtherNumber = 32;
constexpr int kAuthorityLimit = kNameLimit;

std::optional<GuestRefusal> refuse(GuestField field, const char* message) {
    return GuestRefusal{field, message};
}

int charCount(std::string_view text) {
    int count = 0;
    forEachChar(text, [&](std::size_t, std::size_t) { ++count; });
    return count;
}

int dateNumber(std::int64_t day) {
    return std::stoi(dayText(day, "yyyyMMdd"));
}

Text sexOf(Sex sex) {
    return sex == Sex::Male ? "男" : "女";
}

Text birthDateText(const ResidentIdNumber& number) {
    char text[11];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", number.birthYear, number.birthMonth,
                  number.birthDay);
    return text;
}

std::optional<GuestRefusal> residentIdRefusal(ResidentIdProblem problem) {
    switch (problem) {
        case ResidentIdProblem::None:
            return std::nullopt;
        case ResidentIdProblem::Length:
            return refuse(GuestField::DocumentNumber, "居民身份证号码应为18位");
        case ResidentIdProblem::Characters:
            return refuse(GuestField::DocumentNumber, "居民身份证号码应为17位数字加一位数字或X");
        case ResidentIdProblem::BirthDate:
            return refuse(GuestField::DocumentNumber, "居民身份证号码中的出生日期不对");
        case ResidentIdProblem::CheckDigit:
            return refuse(GuestField::DocumentNumber, "居民身份证号码的校验位不对，请核对");
    }
    return std::nullopt;
}

}  // namespace

std::optional<GuestRefusal> checkGuestName(const Guest& guest) {
    if (trimText(guest.name).empty()) {
        return refuse(GuestField::Name, "请填写住客姓名");
    }
    if (charCount(guest.name) > kNameLimit) {
        return refuse(GuestField::Name, "住客姓名过长");
    }
    return std::nullopt;
}

std::optional<GuestRefusal> checkDocumentNumber(Guest& guest, std::int64_t today) {
    if (guest.documentType == DocumentType::ResidentIdCard) {
        const auto number = readResidentIdNumber(guest.documentNumber, dateNumber(today));
        if (number.problem == ResidentIdProblem::None) {
            guest.documentNumber = number.number;
        }
        return residentIdRefusal(number.problem);
    }
    const Text number = upperText(trimText(narrowFullWidth(guest.documentNumber)));
    if (number.empty()) {
        return refuse(GuestField::DocumentNumber, "请填写证件号码");
    }
    if (number.size() > kLongestOtherNumber ||
        number.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-") != Text::npos) {
        return refuse(GuestField::DocumentNumber, "证件号码只能有字母、数字和连字符，至多32个");
    }
    guest.documentNumber = number;
    return std::nullopt;
}

std::optional<GuestRefusal> checkBirthDateAndSex(Guest& guest, std::int64_t today) {
    if (guest.documentType != DocumentType::ResidentIdCard) {
        const auto birth = typedDay(guest.birthDate);
        if (!guest.birthDate.empty() && (!birth || *birth > today)) {
            return refuse(GuestField::BirthDate, "出生日期应为yyyy-MM-dd，且不晚于今天");
        }
        return std::nullopt;
    }
    const auto number = readResidentIdNumber(guest.documentNumber, dateNumber(today));
    if (number.problem != ResidentIdProblem::None) {
        return residentIdRefusal(number.problem);
    }
    const Text birth = birthDateText(number);
    if (guest.birthDate.empty()) {
        guest.birthDate = birth;
    } else if (typedDay(guest.birthDate) != typedDay(birth)) {
        return refuse(GuestField::BirthDate, "出生日期与居民身份证号码不符");
    }
    if (guest.sex.empty()) {
        guest.sex = sexOf(number.sex);
    } else if (guest.sex != sexOf(number.sex)) {
        return refuse(GuestField::Sex, "性别与居民身份证号码不符");
    }
    return std::nullopt;
}

std::optional<GuestRefusal> checkValidity(const Guest& guest, std::int64_t arrival) {
    if (guest.validUntil.empty() || guest.validUntil == kLongTermValidity) {
        return std::nullopt;
    }
    const auto until = typedDay(guest.validUntil);
    if (!until) {
        return refuse(GuestField::ValidUntil, "有效期限应为yyyy-MM-dd或“长期”");
    }
    if (*until < arrival) {
        return refuse(GuestField::ValidUntil, "证件已过有效期限，不能登记入住");
    }
    return std::nullopt;
}

std::optional<GuestRefusal> checkNationality(const Guest& guest) {
    if (needsNationality(guest.documentType) && trimText(guest.nationality).empty()) {
        return refuse(GuestField::Nationality, "请填写国籍");
    }
    if (charCount(guest.nationality) > kNameLimit) {
        return refuse(GuestField::Nationality, "国籍过长");
    }
    return std::nullopt;
}

std::optional<GuestRefusal> checkTextLengths(const Guest& guest) {
    if (charCount(guest.address) > kAddressLimit) {
        return refuse(GuestField::Address, "住址过长");
    }
    if (charCount(guest.authority) > kAuthorityLimit) {
        return refuse(GuestField::Authority, "签发机关过长");
    }
    if (charCount(guest.phone) > kPhoneLimit) {
        return refuse(GuestField::Phone, "联系电话过长");
    }
    return std::nullopt;
}

std::optional<GuestRefusal> checkGuest(Guest& guest, std::int64_t arrival, std::int64_t today) {
    if (auto refusal = checkGuestName(guest)) {
        return refusal;
    }
    if (auto refusal = checkDocumentNumber(guest, today)) {
        return refusal;
    }
    if (auto refusal = checkBirthDateAndSex(guest, today)) {
        return refusal;
    }
    if (auto refusal = checkValidity(guest, arrival)) {
        return refusal;
    }
    if (auto refusal = checkNationality(guest)) {
        return refusal;
    }
    return checkTextLengths(guest);
}

Text refusalForGuest(std::size_t index, const Text& name, const GuestRefusal& refusal) {
    const Text who = name.empty() ? Text() : "（" + name + "）";
    return "第" + std::to_string(index + 1) + "位住客" + who + "：" + refusal.message;
}

}  // namespace tamrivo
