#include "tools/updater/entry_path.h"

#include <algorithm>

namespace tamrivo {

namespace {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

bool isDrive(std::string_view part) {
    return part.size() >= 2 && part[1] == ':';
}

}  // namespace

std::optional<std::filesystem::path> entryTarget(std::string_view name) {
    if (name.empty() || isSeparator(name.front())) {
        return std::nullopt;
    }
    std::filesystem::path target;
    bool first = true;
    while (!name.empty()) {
        const auto end = std::find_if(name.begin(), name.end(), isSeparator);
        const std::string_view part(name.begin(), end);
        name.remove_prefix(part.size() + (end == name.end() ? 0 : 1));
        if (part == ".." || (first && isDrive(part))) {
            return std::nullopt;
        }
        first = false;
        if (!part.empty() && part != ".") {
            target /= std::filesystem::path(part);
        }
    }
    if (target.empty()) {
        return std::nullopt;
    }
    return target;
}

bool isFolderEntry(std::string_view name) {
    return !name.empty() && isSeparator(name.back());
}

}  // namespace tamrivo
