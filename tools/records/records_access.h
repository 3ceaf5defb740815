#pragma once

#include <filesystem>
#include <optional>

#include "data/database.h"
#include "records/records_lock.h"
#include "records/secret_bytes.h"
#include "tools/records/records_commands.h"

namespace tamrivo {

// The records lock for a command that only reads, taken at once: nothing when a restore
// holds the records (the person already told). A folder that cannot hold a lock file
// cannot be restored into either, so reading goes on without one.
std::optional<FileLock> shareRecords(const CommandInput& input);

// Whether the records are protected, once what a killed re-key left is settled; nothing, with
// the person told why, when that cannot be known.
std::optional<bool> recordsProtected(const CommandInput& input);

// The data key of protected records (Data.db or a backup beside its key file), unwrapped by
// the secret of the credentials, asked for now; empty with the person told why.
SecretBytes unlockForCommand(const CommandInput& input, const std::filesystem::path& records);

// The database opened with the program's key, or for protected records with the data key
// the credentials unwrap (handed to `dataKey` when given); false with the person told why.
bool openForCommand(const CommandInput& input, Database& database, SecretBytes* dataKey = nullptr);

}  // namespace tamrivo
