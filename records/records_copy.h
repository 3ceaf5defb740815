#pragma once

#include <filesystem>
#include <string>

#include "base/replacement_file.h"
#include "data/database.h"

namespace tamrivo {

// Makes `destination` a whole copy of the open database, encrypted with the program's key:
// the copy is written beside it and renamed over it only once complete, so the destination
// is at every moment either what it was or the whole copy. Others may go on writing through
// their own connections meanwhile. With MustBeNew a file that appears at the destination
// meanwhile is kept and the copy fails; a copy the limits end is not kept either. Empty on
// success, otherwise why not, as native text.
std::string copyRecords(Database& source, const std::filesystem::path& destination,
                        const BackupProgress& progress = {},
                        ReplacementFile::Target target = ReplacementFile::Target::Replace,
                        const BackupLimits& limits = {});

}  // namespace tamrivo
