#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
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
        NotNewer,     // names: the package's version (empty when it names none), the folder's
    };
    Outcome outcome = Outcome::Installed;
    std::vector<std::string> names;  // UTF-8
    std::uint64_t needed = 0;
    std::uint64_t available = 0;
};

// Called just before each change an install makes to the program folder: a folder made, a
// file given its second name, a file renamed into place.
using BeforeChange = std::function<void()>;

// Installs the zip package (its bytes, as checked) into the program folder, all or nothing,
// holding the folder's install lock. First an earlier run killed half-way is undone. A
// package whose VERSION is not a version newer than the folder's is refused. Then every
// entry is checked and unpacked into a staging folder, and only when all of them are there,
// and fit, are they moved into place, each replaced file keeping a second name until the
// last is in, VERSION last. Any failure puts back what was replaced and leaves the folder
// as it was (except for NotRestored). Data/ is never written.
InstallReport installPackage(std::span<const std::uint8_t> package,
                             const std::filesystem::path& folder,
                             const BeforeChange& beforeChange = {});

}  // namespace tamrivo
