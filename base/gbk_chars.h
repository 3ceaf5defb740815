#pragma once

#include <cstddef>
#include <string_view>

namespace tamrivo {

// Stepping through GBK (code page 936) text one character at a time. Only 0x81-0xFE lead a
// two-byte character, and only when a trail byte (0x40-0xFE but 0x7F) follows; every other
// byte stands alone: ASCII, 0x80 (the euro sign), 0xFF, and a lead byte without its trail.
// So an ASCII byte below 0x40, a single quote above all, is always a character of its own.
// This is the one definition every double-byte stepping operation of the program uses.

inline constexpr unsigned char kFirstLeadByte = 0x81;
inline constexpr unsigned char kLastLeadByte = 0xFE;

inline bool isLeadByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= kFirstLeadByte && value <= kLastLeadByte;
}

inline bool isTrailByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x40 && value <= 0xFE && value != 0x7F;
}

// True when the byte at pos is a lead byte at the very end of the text.
inline bool isLoneLeadByte(std::string_view text, std::size_t pos) {
    return isLeadByte(text[pos]) && pos + 1 == text.size();
}

// Size in bytes of the character starting at pos.
inline std::size_t charSizeAt(std::string_view text, std::size_t pos) {
    return isLeadByte(text[pos]) && pos + 1 < text.size() && isTrailByte(text[pos + 1]) ? 2 : 1;
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
