#pragma once

#include <filesystem>
#include <string>

#include "app/program_state.h"
#include "records/key_slots.h"
#include "records/secret_bytes.h"

namespace tamrivo {

// Data/Data.db of the running program.
std::filesystem::path programRecordsFile(App& app);

// Starts the daily tasks once the records are open: the backups (with the data key when the
// records are protected) and the purge of identity kept past the retention.
void startDailyTasks(App& app);

// Keeps the data key of protected records for as long as the program runs: its backups and
// its password changes need it.
void holdDataKey(App& app, SecretBytes dataKey);

// Opens protected records on the program's connection with the data key from the slot of that
// kind and user, and holds the key. Empty on success; otherwise why not, and nothing is open.
std::string unlockProgramRecords(App& app, SlotKind kind, const std::string& user,
                                 std::string_view secret);

}  // namespace tamrivo
