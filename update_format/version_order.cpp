#include "update_format/version_order.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "update_format/update_format.h"

namespace tamrivo {
namespace {

// The parts with their leading zeros dropped, compared as digit strings so that no part
// is too long for a number; none when the text is not a version.
std::optional<std::vector<std::string_view>> parts(std::string_view version) {
    if (version.size() > kLongestVersion) {
        return std::nullopt;
    }
    std::vector<std::string_view> result;
    while (true) {
        const std::size_t dot = version.find('.');
        std::string_view part = version.substr(0, dot);
        if (part.empty() ||
            !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return std::nullopt;
        }
        part.remove_prefix(std::min(part.find_first_not_of('0'), part.size()));
        result.push_back(part);
        if (dot == std::string_view::npos) {
            return result;
        }
        version.remove_prefix(dot + 1);
    }
}

int comparePart(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    const int order = a.compare(b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace

bool versionWellFormed(std::string_view version) {
    return parts(version).has_value();
}

std::optional<int> compareVersions(std::string_view a, std::string_view b) {
    const auto left = parts(a);
    const auto right = parts(b);
    if (!left || !right) {
        return std::nullopt;
    }
    const std::size_t count = std::max(left->size(), right->size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view x = i < left->size() ? (*left)[i] : std::string_view();
        const std::string_view y = i < right->size() ? (*right)[i] : std::string_view();
        if (const int order = comparePart(x, y); order != 0) {
            return order;
        }
    }
    return 0;
}

bool versionNewer(std::string_view candidate, std::string_view current) {
    const std::optional<int> order = compareVersions(candidate, current);
    return order.has_value() && *order > 0;
}

std::string readVersion(const std::filesystem::path& folder) {
    std::ifstream file(folder / kVersionFileName, std::ios::binary);
    std::string line(kLongestVersion + 1, '\0');
    file.read(line.data(), static_cast<std::streamsize>(line.size()));
    line.resize(static_cast<std::size_t>(file.gcount()));
    line = line.substr(0, line.find_first_of("\r\n"));
    return line.size() > kLongestVersion ? std::string() : line;
}

}  // namespace tamrivo
