#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tamrivo {

struct InstallReport {
    enum class Outcome {
        Installed,
        Unreadable,   // no readable zip archive
        Refused,      // names: entries that may not go where they say
        Damaged,      // names: the entry that cannot be unpacked as it declares
        NoSpace,      // needed and available say how far it is from fitting
        WriteFailed,  // names: the file that could not be written or put in place
        NotRestored,  // names: files a failed install could not put back
    };
    Outcome outcome = Outcome::Installed;
    std::vector<std::string> names;  // UTF-8
    std::uint64_t needed = 0;
    std::uint64_t available = 0;
};

// Installs the zip package into the program folder, all or nothing. First an earlier run
// killed half-way is undone; then every entry is checked and unpacked into a staging folder,
// and only when all of them are there, and fit, are they moved into place, each replaced
// file kept aside until the last is in. Any failure puts back what was replaced and leaves
// the folder as it was (except for NotRestored). Data/ is never written.
InstallReport installPackage(const std::filesystem::path& package,
                             const std::filesystem::path& folder);

}  // namespace tamrivo
