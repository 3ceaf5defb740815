#include "tools/records/records_access.h"

#include "records/records_file.h"

namespace tamrivo {

std::optional<FileLock> shareRecords(const CommandInput& input) {
    LockAttempt attempt = lockRecords(input.dataFolder(), LockAccess::Shared);
    if (attempt.outcome == LockOutcome::Busy) {
        input.fail("the records are being restored; try again once that is done");
        return std::nullopt;
    }
    return std::move(attempt.lock);
}

bool openForCommand(const CommandInput& input, Database& database) {
    const std::string reason = openRecords(database, input.databaseFile());
    if (!reason.empty()) {
        database.close();
        input.fail(reason);
        return false;
    }
    return true;
}

}  // namespace tamrivo
