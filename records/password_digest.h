#pragma once

#include <cstdint>
#include <span>

#include "base/value_types.h"

namespace tamrivo {

// The MD5 digest of the bytes as 32 upper-case hexadecimal characters, the form passwords
// are stored in; the empty text when the digest cannot be computed.
Text md5Hex(std::span<const std::uint8_t> bytes);

// Input methods switch themselves off in the login's masked password box, so a password
// with anything but printable ASCII could be set and then never typed again.
bool isLoginTypable(const Text& password);
inline constexpr char kPasswordNotTypable[] =
    "新密码只能使用英文字母、数字和英文符号,登录时的密码框无法输入中文";

// The login takes the password exactly as typed, so one with a blank in it (a space, a
// full-width space, a tab) is refused rather than stored without its blanks.
bool hasBlank(const Text& password);
inline constexpr char kPasswordHasBlank[] = "新密码不能含有空格(包括全角空格和制表符)";

}  // namespace tamrivo
