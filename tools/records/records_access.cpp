#include "tools/records/records_access.h"

#include <utility>

#include "base/replacement_file.h"
#include "base/text_encoding.h"
#include "records/protected_records.h"
#include "records/records_file.h"
#include "records/recovery_code.h"
#include "tools/records/secret_input.h"

namespace tamrivo {

std::optional<FileLock> shareRecords(const CommandInput& input) {
    LockAttempt attempt = lockRecords(input.dataFolder(), LockAccess::Shared);
    if (attempt.outcome == LockOutcome::Busy) {
        input.fail("the records are being restored; try again once that is done");
        return std::nullopt;
    }
    return std::move(attempt.lock);
}

std::optional<bool> recordsProtected(const CommandInput& input) {
    const std::filesystem::path records = input.databaseFile();
    if (!nameTaken(keySlotsFile(records)) && !nameTaken(pendingKeySlotsFile(records))) {
        return false;
    }
    const RecordsProtection protection = settleProtection(records);
    if (protection.isProtected && !protection.problem.empty()) {
        input.fail(protection.problem);
        return std::nullopt;
    }
    return protection.isProtected;
}

SecretBytes unlockForCommand(const CommandInput& input, const std::filesystem::path& records) {
    const Credentials& credentials = input.credentials;
    SecretBytes secret =
        readSecret(input, credentials.recovery ? "recovery code: " : "password: ", true);
    std::string user = credentials.recovery ? std::string() : utf8ToGbk(credentials.user);
    SlotKind kind = SlotKind::User;
    if (credentials.recovery) {
        TypedRecoveryCode code = normaliseRecoveryCode(secret.text());
        if (!code.problem.empty()) {
            input.fail("that is not a recovery code: " + code.problem);
            return {};
        }
        secret = std::move(code.code);
        kind = SlotKind::RecoveryCode;
    }
    UnlockedKey unlocked = unlockDataKey(records, kind, user, secret.text());
    if (!unlocked.problem.empty()) {
        input.fail(records.string() + " is protected and " + unlocked.problem +
                   (credentials.recovery ? "" : " (user " + credentials.user + ")"));
        return {};
    }
    return std::move(unlocked.dataKey);
}

bool openForCommand(const CommandInput& input, Database& database, SecretBytes* dataKey) {
    const std::optional<bool> isProtected = recordsProtected(input);
    if (!isProtected) {
        return false;
    }
    SecretBytes key;
    if (*isProtected) {
        key = unlockForCommand(input, input.databaseFile());
        if (key.empty()) {
            return false;
        }
    }
    const std::string reason = *isProtected
                                   ? openRecordsWithKey(database, input.databaseFile(), key)
                                   : openRecords(database, input.databaseFile());
    if (!reason.empty()) {
        database.close();
        input.fail(reason);
        return false;
    }
    if (dataKey != nullptr) {
        *dataKey = std::move(key);
    }
    return true;
}

}  // namespace tamrivo
