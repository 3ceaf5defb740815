#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace tamrivo {

// One change to the program folder, relative to it: what the updater plans and what its
// journal keeps, so that whatever starts next can undo a run killed half-way.
struct InstallStep {
    enum class Kind { CreateFolder, PlaceFile };
    Kind kind = Kind::PlaceFile;
    std::filesystem::path relative;
    bool replaces = false;  // PlaceFile over a file (or link) that is there now
    // PlaceFile only: where the bytes come from and the permissions they get.
    std::uint64_t entryIndex = 0;
    std::string entryName;  // UTF-8, as the package names it
    std::uint64_t size = 0;
    mode_t permissions = 0644;
};

}  // namespace tamrivo
