#include "tools/records/text_table.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tamrivo {
namespace {

// The wide ranges of Unicode's East Asian Width that Chinese text uses: Hangul Jamo, CJK
// punctuation, kana and symbols, ideographs, Yi, Hangul, compatibility forms, full-width
// forms, and the supplementary ideograph planes.
constexpr std::array<std::pair<char32_t, char32_t>, 10> kWideRanges = {{
    {0x1100, 0x115F},
    {0x2E80, 0x303E},
    {0x3041, 0x33FF},
    {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF},
    {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF},
    {0xFE30, 0xFE6F},
    {0xFF00, 0xFF60},
}};

bool isWide(char32_t c) {
    if ((c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD)) {
        return true;
    }
    return std::any_of(kWideRanges.begin(), kWideRanges.end(),
                       [c](const auto& range) { return c >= range.first && c <= range.second; });
}

// The code point starting at `position`, moving past it; a stray byte stands for itself.
char32_t nextCodePoint(std::string_view text, std::size_t& position) {
    const auto lead = static_cast<unsigned char>(text[position++]);
    const int trailing = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t c = trailing == 0 ? lead : lead & (0x3F >> trailing);
    for (int i = 0; i < trailing && position < text.size(); ++i) {
        const auto next = static_cast<unsigned char>(text[position]);
        if ((next & 0xC0) != 0x80) {
            break;
        }
        c = (c << 6) | (next & 0x3F);
        ++position;
    }
    return c;
}

}  // namespace

std::size_t displayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (std::size_t position = 0; position < utf8.size();) {
        width += isWide(nextCodePoint(utf8, position)) ? 2 : 1;
    }
    return width;
}

std::string alignedTable(std::span<const std::vector<std::string>> rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], displayWidth(row[column]));
        }
    }
    std::string table;
    for (const auto& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            const std::string padding(widths[column] - displayWidth(row[column]), ' ');
            table += column == 0 ? row[column] + padding : "  " + padding + row[column];
        }
        table += '\n';
    }
    return table;
}

}  // namespace tamrivo
