#pragma once

#include <string>
#include <string_view>

#include "records/secret_bytes.h"

namespace tamrivo {

// The recovery code is 8 groups of 5 characters from "23456789ABCDEFGHJKMNPQRSTUVWXYZ" and
// "L" (no 0, 1, I or O to mistake for each other): 4 random characters and a check character
// per group, which catches any one character mistyped in a group and a group typed in the
// wrong place. 32 random characters carry 160 bits.
inline constexpr std::size_t kRecoveryGroups = 8;
inline constexpr std::size_t kRecoveryGroupLength = 5;
inline constexpr std::size_t kRecoveryCodeLength = kRecoveryGroups * kRecoveryGroupLength;

// A fresh code, its 40 characters without separators (the form slots are sealed with); empty
// when secure memory could not be had.
SecretBytes newRecoveryCode();

// The code as shown and printed: its groups joined by '-'.
SecretBytes groupedRecoveryCode(const SecretBytes& code);

// A typed code in the form slots are sealed with, or why not.
struct TypedRecoveryCode {
    SecretBytes code;
    std::string problem;
};

// Lower case is read as upper case; blanks and dashes anywhere are left out. A character
// outside the alphabet, a wrong length, or a group whose check does not fit is refused
// (the group is named, counted from 1).
TypedRecoveryCode normaliseRecoveryCode(std::string_view typed);

}  // namespace tamrivo
