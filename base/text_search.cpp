#include "base/text_search.h"

#include <algorithm>
#include <limits>

#include "base/gbk_chars.h"

namespace tamrivo {
namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

char foldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool matchesAt(std::string_view text, std::size_t pos, std::string_view sought, bool ignoreCase) {
    if (sought.size() > text.size() - pos) {
        return false;
    }
    const std::string_view candidate = text.substr(pos, sought.size());
    if (!ignoreCase) {
        return candidate == sought;
    }
    bool equal = true;
    forEachChar(sought, [&](std::size_t i, std::size_t size) {
        equal = equal && (size == 2 ? candidate.substr(i, 2) == sought.substr(i, 2)
                                    : foldAscii(candidate[i]) == foldAscii(sought[i]));
    });
    return equal;
}

// The position of the first match at or after pos, moving a character at a time; kNotFound
// when there is none.
std::size_t nextMatch(std::string_view text, std::size_t pos, std::string_view sought,
                      bool ignoreCase) {
    for (; pos < text.size() && !isLoneLeadByte(text, pos); pos += charSizeAt(text, pos)) {
        if (matchesAt(text, pos, sought, ignoreCase)) {
            return pos;
        }
    }
    return kNotFound;
}

std::size_t startIndex(int start) {
    return static_cast<std::size_t>(std::max(start, 1)) - 1;
}

}  // namespace

int findText(std::string_view text, std::string_view sought, int start, bool ignoreCase) {
    if (sought.empty()) {
        return text.empty() ? -1 : 1;
    }
    const std::size_t found = nextMatch(text, startIndex(start), sought, ignoreCase);
    return found == kNotFound ? -1 : static_cast<int>(found) + 1;
}

int findTextFromEnd(std::string_view text, std::string_view sought, std::optional<int> start,
                    bool ignoreCase) {
    if (sought.empty()) {
        return -1;
    }
    const std::size_t limit = start ? std::min(startIndex(*start), text.size()) : text.size();
    int last = -1;
    for (std::size_t found = nextMatch(text, 0, sought, ignoreCase);
         found != kNotFound && found + sought.size() <= limit;
         found = nextMatch(text, found + charSizeAt(text, found), sought, ignoreCase)) {
        last = static_cast<int>(found) + 1;
    }
    return last;
}

Text substitute(std::string_view text, std::string_view sought, std::string_view replacement,
                int start, std::optional<int> count, bool caseSensitive) {
    if (text.empty() || sought.empty()) {
        return Text(text);
    }
    int remaining = count.value_or(std::numeric_limits<int>::max());
    std::size_t pos = std::min(startIndex(start), text.size());
    Text result(text.substr(0, pos));
    for (std::size_t found;
         remaining > 0 && (found = nextMatch(text, pos, sought, !caseSensitive)) != kNotFound;
         --remaining) {
        result.append(text.substr(pos, found - pos)).append(replacement);
        pos = found + sought.size();
    }
    return result.append(text.substr(pos));
}

std::vector<Text> splitText(std::string_view text, std::string_view separator,
                            std::optional<int> maxPieces) {
    const auto limit = maxPieces ? static_cast<std::size_t>(std::max(*maxPieces, 0))
                                 : std::numeric_limits<std::size_t>::max();
    std::vector<Text> pieces;
    if (text.empty() || limit == 0) {
        return pieces;
    }
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t pos = 0;
    for (std::size_t found;
         pieces.size() < limit && (found = nextMatch(text, pos, separator, false)) != kNotFound;
         pos = found + separator.size()) {
        pieces.emplace_back(text.substr(pos, found - pos));
    }
    if (pieces.size() < limit && pos < text.size()) {
        pieces.emplace_back(text.substr(pos));
    }
    return pieces;
}

}  // namespace tamrivo
