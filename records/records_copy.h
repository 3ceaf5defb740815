#pragma once

#include <filesystem>
#include <string>

#include "data/database.h"

namespace tamrivo {

// Makes `destination` a whole copy of the open database, encrypted with the program's key:
// the copy is written beside it and renamed over it only once complete, so the destination
// is at every moment either what it was or the whole copy. Others may go on writing through
// their own connections meanwhile. Empty on success, otherwise why not, as native text.
std::string copyRecords(Database& source, const std::filesystem::path& destination,
                        const BackupProgress& progress = {});

// Flushes a folder's entries to the disk, so a rename done in it outlives a power cut.
void syncFolder(const std::filesystem::path& folder);

}  // namespace tamrivo
