#pragma once

#include <filesystem>
#include <string>

#include "base/replacement_file.h"
#include "data/database.h"
#include "records/secret_bytes.h"

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

// Protected records as a copy is made of them: their data key, and their file, whose key file
// goes beside the copy.
struct ProtectedSource {
    const SecretBytes& dataKey;
    std::filesystem::path records;
};

// The same copy of protected records: keyed by their data key and beginning with their salt,
// so it has their file id and their key file, written beside it first, fits it too. One
// restore of the two brings back records that open with the passwords of their day.
std::string copyProtectedRecords(Database& source, const ProtectedSource& protectedSource,
                                 const std::filesystem::path& destination,
                                 const BackupProgress& progress = {},
                                 ReplacementFile::Target target = ReplacementFile::Target::Replace,
                                 const BackupLimits& limits = {});

}  // namespace tamrivo
