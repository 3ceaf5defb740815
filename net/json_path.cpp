#include "net/json_path.h"

#include <charconv>

namespace tamrivo {
namespace {

constexpr std::string_view kFullWidthBlank = "\xE3\x80\x80";  // U+3000 in UTF-8

}  // namespace

bool endsWithIndex(std::string_view path) {
    return path.ends_with(']');
}

int indexNumber(std::string_view path) {
    const std::size_t bracket = path.rfind('[');
    if (bracket == std::string_view::npos) {
        return 0;
    }
    int index = 0;
    std::from_chars(path.data() + bracket + 1, path.data() + path.size(), index);
    return index;
}

std::string_view withoutLastIndex(std::string_view path) {
    const std::size_t bracket = path.rfind('[');
    return endsWithIndex(path) && bracket != std::string_view::npos ? path.substr(0, bracket)
                                                                    : path;
}

std::string_view trimmedPath(std::string_view path) {
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (const std::string_view blank : {std::string_view(" "), kFullWidthBlank}) {
            if (path.starts_with(blank)) {
                path.remove_prefix(blank.size());
                trimmed = true;
            }
            if (path.ends_with(blank)) {
                path.remove_suffix(blank.size());
                trimmed = true;
            }
        }
    }
    return path;
}

std::vector<std::string> splitAt(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t found = text.find(separator); found != std::string_view::npos;
         found = text.find(separator, start)) {
        pieces.emplace_back(text.substr(start, found - start));
        start = found + 1;
    }
    if (start < text.size()) {
        pieces.emplace_back(text.substr(start));
    }
    return pieces;
}

}  // namespace tamrivo
