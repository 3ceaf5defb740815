#pragma once

#include <optional>

#include "data/database.h"
#include "records/records_lock.h"
#include "tools/records/records_commands.h"

namespace tamrivo {

// The records lock for a command that only reads, taken at once: nothing when a restore
// holds the records (the person already told). A folder that cannot hold a lock file
// cannot be restored into either, so reading goes on without one.
std::optional<FileLock> shareRecords(const CommandInput& input);

// The database opened with the program's key, or false with the person told why.
bool openForCommand(const CommandInput& input, Database& database);

}  // namespace tamrivo
