#include "base/gbk_chars.h"
#include "base/text_to_value.h"

namespace tamrivo {
namespace {

// The ASCII form of the full-width character at pos (two bytes), or 0 when it has none.
char asciiFormOf(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const auto trail = static_cast<unsigned char>(text[pos + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFD && trail != 0xA4) {
        return static_cast<char>(trail - 0x80);  // "！" .. "｝"; A3 A4 is the yuan sign
    }
    if (lead == 0xA1) {
        switch (trail) {
            case 0xA1:
                return ' ';
            case 0xE7:
                return '$';
            case 0xAB:
                return '~';
            default:
                break;
        }
    }
    return 0;
}

}  // namespace

Text narrowFullWidth(std::string_view text) {
    Text narrowed;
    narrowed.reserve(text.size());
    forEachChar(text, [&](std::size_t pos, std::size_t size) {
        const char ascii = size == 2 ? asciiFormOf(text, pos) : 0;
        if (ascii != 0) {
            narrowed += ascii;
        } else {
            narrowed.append(text.substr(pos, size));
        }
    });
    return narrowed;
}

}  // namespace tamrivo
