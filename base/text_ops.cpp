#include "base/text_ops.h"

#include <algorithm>

#include "base/gbk_chars.h"

namespace tamrivo {
namespace {

template <typename Convert>
Text convertAsciiLetters(std::string_view text, Convert convert) {
    Text result(text);
    forEachChar(text, [&](std::size_t pos, std::size_t size) {
        if (size == 1) {
            result[pos] = convert(text[pos]);
        }
    });
    return result;
}

std::size_t clampedCount(std::string_view text, int count) {
    return std::min(static_cast<std::size_t>(std::max(count, 0)), text.size());
}

}  // namespace

int textLength(std::string_view text) {
    return static_cast<int>(text.size());
}

Text leftText(std::string_view text, int count) {
    return Text(text.substr(0, clampedCount(text, count)));
}

Text rightText(std::string_view text, int count) {
    return Text(text.substr(text.size() - clampedCount(text, count)));
}

Text midText(std::string_view text, int start, int count) {
    if (start < 1 || static_cast<std::size_t>(start) > text.size() || count <= 0) {
        return {};
    }
    return Text(text.substr(start - 1, count));
}

Text charText(std::uint8_t code) {
    return code == 0 ? Text() : Text(1, static_cast<char>(code));
}

Text upperText(std::string_view text) {
    return convertAsciiLetters(text, [](char c) -> char {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
}

Text lowerText(std::string_view text) {
    return convertAsciiLetters(text, [](char c) -> char {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
}

Text trimText(std::string_view text) {
    std::size_t begin = text.size();
    std::size_t end = 0;
    forEachChar(text, [&](std::size_t pos, std::size_t size) {
        if (!isSpaceChar(text, pos, size)) {
            begin = std::min(begin, pos);
            end = pos + size;
        }
    });
    return begin < end ? Text(text.substr(begin, end - begin)) : Text();
}

Text removeSpaces(std::string_view text) {
    Text result;
    forEachChar(text, [&](std::size_t pos, std::size_t size) {
        if (!isSpaceChar(text, pos, size)) {
            result.append(text.substr(pos, size));
        }
    });
    return result;
}

Text replaceAt(std::string_view text, int start, int length, std::string_view insert) {
    const std::size_t from =
        std::min(static_cast<std::size_t>(std::max(start, 1)) - 1, text.size());
    const std::size_t removed =
        std::min(static_cast<std::size_t>(std::max(length, 0)), text.size() - from);
    Text result(text.substr(0, from));
    result.append(insert);
    result.append(text.substr(from + removed));
    return result;
}

Text spaces(int count) {
    return Text(static_cast<std::size_t>(std::max(count, 0)), ' ');
}

}  // namespace tamrivo
