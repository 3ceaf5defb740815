#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tamrivo::launcher {

// A program folder's version: the first line of its VERSION file, at most a short line;
// empty when the file is missing or unreadable.
std::string readVersion(const std::filesystem::path& folder);

// Orders two dotted version texts ("1.0.0.10" after "1.0.0.9"; missing parts count as 0):
// negative, 0 or positive as a is older, the same or newer; none when either is not made of
// decimal numbers between dots.
std::optional<int> compareVersions(const std::string& a, const std::string& b);

}  // namespace tamrivo::launcher
