#pragma once

#include <cstdint>
#include <span>

#include "ui/value_types.h"

namespace tamrivo {

// The MD5 digest of the bytes as 32 upper-case hexadecimal characters, the form passwords
// are stored in; the empty text when the digest cannot be computed.
Text md5Hex(std::span<const std::uint8_t> bytes);

}  // namespace tamrivo
