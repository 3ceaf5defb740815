#pragma once

#include <cstdint>
#include <span>

#include "ui/value_types.h"

namespace tamrivo {

// The MD5 digest of the bytes as 32 upper-case hexadecimal characters, the form passwords
// are stored in; the empty text when the digest cannot be computed.
Text md5Hex(std::span<const std::uint8_t> bytes);

// Input methods switch themselves off in the login's masked password box, so a password
// with anything but printable ASCII could be set and then never typed again.
bool isLoginTypable(const Text& password);
inline constexpr char kPasswordNotTypable[] =
    "新密码只能使用英文字母、数字和英文符号,登录时的密码框无法输入中文";

}  // namespace tamrivo
