#include "base/byte_block.h"

#include <algorithm>

namespace tamrivo {

Bytes toByteBlock(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

int blockLength(const Bytes& block) {
    return static_cast<int>(block.size());
}

Bytes leftBlock(const Bytes& block, int count) {
    const auto size = std::min(static_cast<std::size_t>(std::max(count, 0)), block.size());
    return Bytes(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(size));
}

Bytes zeroBlock(int count) {
    return Bytes(static_cast<std::size_t>(std::max(count, 0)), 0);
}

}  // namespace tamrivo
