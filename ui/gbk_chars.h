#pragma once

#include <cstddef>
#include <string_view>

namespace tamrivo {

// Stepping through GBK text one character at a time. Any byte with the top bit set leads a
// two-byte character; a lead byte with nothing after it stands alone.

inline bool isLeadByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0x80) != 0;
}

// True when the byte at pos is a lead byte that has no trail byte after it.
inline bool isLoneLeadByte(std::string_view text, std::size_t pos) {
    return isLeadByte(text[pos]) && pos + 1 == text.size();
}

// Size in bytes of the character starting at pos.
inline std::size_t charSizeAt(std::string_view text, std::size_t pos) {
    return isLeadByte(text[pos]) && pos + 1 < text.size() ? 2 : 1;
}

// Calls visit(pos, size) for every character of the text, in order.
template <typename Visit>
void forEachChar(std::string_view text, Visit visit) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t size = charSizeAt(text, pos);
        visit(pos, size);
        pos += size;
    }
}

// The full-width space, GBK A1 A1.
inline constexpr std::string_view kFullWidthSpace = "\xA1\xA1";

// True when the character at pos (of the given size) is an ASCII or a full-width space.
inline bool isSpaceChar(std::string_view text, std::size_t pos, std::size_t size) {
    return size == 1 ? text[pos] == ' ' : text.substr(pos, 2) == kFullWidthSpace;
}

}  // namespace tamrivo
