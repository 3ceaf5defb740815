#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tamrivo {

struct ExtractionReport {
    bool opened = false;               // false: the package is no readable zip archive
    std::vector<std::string> refused;  // entries that would land outside, or links (UTF-8)
    std::vector<std::string> failed;   // entries that could not be written (UTF-8)
};

// Writes every entry of the zip archive package, in archive order, into directory at the
// entry's path, creating the folders it needs. Each file is written under a temporary name
// and then renamed into place, so an interrupted update never leaves a half-written file.
// An existing file keeps its permissions; a new one is executable when the archive says so.
ExtractionReport extractPackage(const std::filesystem::path& package,
                                const std::filesystem::path& directory);

}  // namespace tamrivo
