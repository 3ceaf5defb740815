#include "records/recovery_code.h"

#include <sodium.h>

#include <array>
#include <optional>

namespace tamrivo {
namespace {

constexpr std::string_view kAlphabet = "23456789ABCDEFGHJKLMNPQRSTUVWXYZ";
static_assert(kAlphabet.size() == 32);

// Odd weights are invertible modulo 32, so one changed character always changes the check;
// the group's place goes in too, so a group typed in another's place is caught as well.
constexpr std::array<unsigned, kRecoveryGroupLength - 1> kWeights{1, 3, 5, 7};

std::optional<unsigned> valueOf(char c) {
    const std::size_t at = kAlphabet.find(c);
    return at != std::string_view::npos ? std::optional<unsigned>(static_cast<unsigned>(at))
                                        : std::nullopt;
}

// The check character of the group at `group` whose first four characters start at `chars`.
char checkOf(const std::uint8_t* chars, std::size_t group) {
    unsigned sum = 11 * static_cast<unsigned>(group) + 1;
    for (std::size_t i = 0; i < kWeights.size(); ++i) {
        sum += kWeights[i] * *valueOf(static_cast<char>(chars[i]));
    }
    return kAlphabet[sum % kAlphabet.size()];
}

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '-' || c == '\r' || c == '\n';
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

SecretBytes newRecoveryCode() {
    SecretBytes code(kRecoveryCodeLength);
    if (code.empty()) {
        return code;
    }
    for (std::size_t group = 0; group < kRecoveryGroups; ++group) {
        std::uint8_t* chars = code.data() + group * kRecoveryGroupLength;
        for (std::size_t i = 0; i + 1 < kRecoveryGroupLength; ++i) {
            chars[i] = static_cast<std::uint8_t>(kAlphabet[randombytes_uniform(32)]);
        }
        chars[kRecoveryGroupLength - 1] = static_cast<std::uint8_t>(checkOf(chars, group));
    }
    return code;
}

SecretBytes groupedRecoveryCode(const SecretBytes& code) {
    SecretBytes grouped(kRecoveryCodeLength + kRecoveryGroups - 1);
    if (grouped.empty() || code.size() != kRecoveryCodeLength) {
        return {};
    }
    std::size_t out = 0;
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (i > 0 && i % kRecoveryGroupLength == 0) {
            grouped.data()[out++] = '-';
        }
        grouped.data()[out++] = code.data()[i];
    }
    return grouped;
}

TypedRecoveryCode normaliseRecoveryCode(std::string_view typed) {
    SecretBytes code(kRecoveryCodeLength);
    if (code.empty()) {
        return {{}, "no memory to hold the recovery code"};
    }
    std::size_t length = 0;
    for (const char typedChar : typed) {
        if (isSeparator(typedChar)) {
            continue;
        }
        const char c = upper(typedChar);
        if (!valueOf(c)) {
            return {{}, "the recovery code holds a character it never has"};
        }
        if (length == kRecoveryCodeLength) {
            return {{}, "the recovery code is longer than 40 characters"};
        }
        code.data()[length++] = static_cast<std::uint8_t>(c);
    }
    if (length != kRecoveryCodeLength) {
        return {{}, "the recovery code is shorter than 40 characters"};
    }
    for (std::size_t group = 0; group < kRecoveryGroups; ++group) {
        const std::uint8_t* chars = code.data() + group * kRecoveryGroupLength;
        if (checkOf(chars, group) != static_cast<char>(chars[kRecoveryGroupLength - 1])) {
            return {{}, "group " + std::to_string(group + 1) + " of the recovery code is mistyped"};
        }
    }
    return {std::move(code), {}};
}

}  // namespace tamrivo
