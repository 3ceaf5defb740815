#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/updater/package_archive.h"
#include "update_format/install_step.h"
#include "update_format/update_format.h"

namespace tamrivo {

struct InstallPlan {
    std::vector<InstallStep> steps;    // folders before what goes in them, VERSION last
    std::uint64_t bytes = 0;           // what the files declare, together
    std::vector<std::string> refused;  // entries that may not go where they say (UTF-8)
};

// What installing the package into the program folder would change, checked against what
// is there: an entry is refused when it would land outside the folder, in Data/ (the
// landlord's records) or in the updater's own work folder; when it is a link; when its way
// passes through a link, which the updater never follows; or when a file stands where it
// needs a folder, or the other way round, or when the package names the same path as a file
// and as a folder. Later entries of the same path win. VERSION is
// placed last, so that the folder never names a version whose files are not all in.
InstallPlan planInstall(const PackageArchive& archive, const std::filesystem::path& folder);

}  // namespace tamrivo
