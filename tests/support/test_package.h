#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tamrivo::testing {

struct PackageEntry {
    std::string name;  // as stored: UTF-8 is marked as such, anything else is stored unmarked
    std::string content{};
    std::optional<mode_t> unixMode{};  // file type and permissions (a link when S_IFLNK);
                                       // none: the archive says nothing of Unix
    bool folder = false;
    bool deflated = false;  // compressed, instead of stored as it is
};

PackageEntry folderEntry(std::string name);
PackageEntry linkEntry(std::string name, std::string target);

// Writes a zip archive of the entries, in order.
void writePackage(const std::filesystem::path& path, const std::vector<PackageEntry>& entries);

// Makes the archive's entry at the index claim another unpacked size, in its central
// directory and in its local header alike, as a forged archive does.
void claimSize(const std::filesystem::path& path, std::size_t index, std::uint32_t size);

}  // namespace tamrivo::testing
