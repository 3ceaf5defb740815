#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tamrivo {

// The longest version text anything of the update road takes.
inline constexpr std::size_t kLongestVersion = 64;

// A version is decimal numbers between dots ("1.0.0.10"), at most kLongestVersion
// characters: what the release tool publishes, the program folder's VERSION names, and the
// checker, the updater and the launcher order.
bool versionWellFormed(std::string_view version);

// Orders two versions part by part as numbers ("1.0.0.10" after "1.0.0.9"; missing parts
// count as 0): negative, 0 or positive as a is older, the same or newer; none when either
// is not well formed.
std::optional<int> compareVersions(std::string_view a, std::string_view b);

// True only when both are well formed and candidate is the newer.
bool versionNewer(std::string_view candidate, std::string_view current);

// A program folder's version: the first line of its VERSION file, at most a short line;
// empty when the file is missing or unreadable.
std::string readVersion(const std::filesystem::path& folder);

}  // namespace tamrivo
