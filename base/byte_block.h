#pragma once

#include <string_view>

#include "base/value_types.h"

namespace tamrivo {

// The bytes of a text, without a terminator.
Bytes toByteBlock(std::string_view text);

int blockLength(const Bytes& block);

// The first min(count, length) bytes; count < 0 gives the empty block.
Bytes leftBlock(const Bytes& block, int count);

// count zero bytes; count <= 0 gives the empty block.
Bytes zeroBlock(int count);

}  // namespace tamrivo
