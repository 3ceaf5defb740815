#pragma once
// What a folder holds, as it matters to the landlord, to compare before and after.

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/support/file_contents.h"

namespace tamrivo::testing {

inline mode_t permissionsOf(const std::filesystem::path& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

// Each path inside the folder with its kind, permissions and bytes or link target.
inline std::map<std::string, std::string> snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> items;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = std::filesystem::relative(item.path(), folder).string();
        if (item.is_symlink()) {
            items[name] = "link to " + std::filesystem::read_symlink(item.path()).string();
        } else if (item.is_directory()) {
            items[name] = "folder " + std::to_string(permissionsOf(item.path()));
        } else {
            items[name] = std::to_string(permissionsOf(item.path())) + " " + readFile(item.path());
        }
    }
    return items;
}

}  // namespace tamrivo::testing
