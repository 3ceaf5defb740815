#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tamrivo::testing {

struct PackageEntry {
    std::string name;  // as stored: UTF-8 is marked as such, anything else is stored unmarked
    std::string content{};
    std::optional<mode_t> unixMode{};  // file type and permissions; a link when S_IFLNK
    bool folder = false;
};

PackageEntry folderEntry(std::string name);
PackageEntry linkEntry(std::string name, std::string target);

// Writes a zip archive of the entries, in order, stored uncompressed.
void writePackage(const std::filesystem::path& path, const std::vector<PackageEntry>& entries);

}  // namespace tamrivo::testing
