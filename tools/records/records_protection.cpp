#include <ostream>
#include <string>

#include "base/text_encoding.h"
#include "records/protected_passwords.h"
#include "records/protected_records.h"
#include "records/recovery_code.h"
#include "records/users.h"
#include "tools/records/records_access.h"
#include "tools/records/records_commands.h"
#include "tools/records/secret_input.h"

namespace tamrivo {
namespace {

// Re-keying replaces the file: nobody may have it open meanwhile, or their writes would land in
// the file replaced. False with the person told why.
bool takeRecordsAlone(const CommandInput& input, LockAttempt& lock) {
    lock = lockRecords(input.dataFolder(), LockAccess::Exclusive);
    if (lock.outcome == LockOutcome::Busy) {
        input.fail(
            "the records are in use; close the program and any other tamrivo-records command, "
            "then try again");
        return false;
    }
    if (lock.outcome == LockOutcome::Unavailable) {
        input.fail("cannot lock the records in " + input.dataFolder().string() + ": " +
                   lock.error.message());
        return false;
    }
    return true;
}

// The user's password, once the users table says it is theirs; empty with the person told why.
SecretBytes confirmedPassword(const CommandInput& input) {
    const Text user = utf8ToGbk(input.credentials.user);
    SecretBytes password = readSecret(input, "password: ", true);
    Database database;
    if (!openForCommand(input, database)) {
        return {};
    }
    const bool confirmed = passwordMatches(database, user, Text(password.text()));
    database.close();
    if (!confirmed) {
        input.fail("that is not the password of " + input.credentials.user +
                   "; nothing was changed");
        return {};
    }
    return password;
}

void printRecoveryCode(const CommandInput& input, const SecretBytes& code) {
    input.console.out
        << "the records are protected: they open only with the password of "
        << input.credentials.user << " or with this recovery code, shown this once:\n\n    "
        << code.text()
        << "\n\nWrite it down or print it, and keep it where nobody else can read it. Other\n"
           "users get their own key when their password is next set. A lost password and a\n"
           "lost recovery code mean lost records: nobody can open them then.\n";
}

}  // namespace

int runProtect(const CommandInput& input) {
    LockAttempt lock;
    if (!takeRecordsAlone(input, lock)) {
        return kExitFailed;
    }
    const std::optional<bool> isProtected = recordsProtected(input);
    if (!isProtected) {
        return kExitFailed;
    }
    if (*isProtected) {
        return input.fail("the records are protected already");
    }
    const SecretBytes password = confirmedPassword(input);
    if (password.empty()) {
        return kExitFailed;
    }
    const SecretBytes dataKey = newDataKey();
    const SecretBytes code = newRecoveryCode();
    if (dataKey.empty() || code.empty()) {
        return input.fail("no secure memory for the key");
    }
    const SlotSecret secrets[] = {
        {SlotKind::User, utf8ToGbk(input.credentials.user), password.text()},
        {SlotKind::RecoveryCode, {}, code.text()}};
    if (const std::string why = protectRecords(input.databaseFile(), dataKey, secrets);
        !why.empty()) {
        return input.fail(why + "; the records are as they were");
    }
    printRecoveryCode(input, groupedRecoveryCode(code));
    return kExitDone;
}

int runUnprotect(const CommandInput& input) {
    LockAttempt lock;
    if (!takeRecordsAlone(input, lock)) {
        return kExitFailed;
    }
    const std::optional<bool> isProtected = recordsProtected(input);
    if (!isProtected) {
        return kExitFailed;
    }
    if (!*isProtected) {
        return input.fail("the records are not protected");
    }
    const SecretBytes dataKey = unlockForCommand(input, input.databaseFile());
    if (dataKey.empty()) {
        return kExitFailed;
    }
    if (const std::string why = unprotectRecords(input.databaseFile(), dataKey); !why.empty()) {
        return input.fail(why + "; the records are as they were");
    }
    input.console.out << "the records open with the program's key again; backups made while they "
                         "were protected stay protected\n";
    return kExitDone;
}

int runRecover(const CommandInput& input) {
    const Text user = utf8ToGbk(input.arguments.operands.front());
    const auto lock = shareRecords(input);
    if (!lock) {
        return kExitFailed;
    }
    const std::optional<bool> isProtected = recordsProtected(input);
    if (!isProtected) {
        return kExitFailed;
    }
    if (!*isProtected) {
        return input.fail(
            "the records are not protected, so they have no recovery code; the "
            "password command sets a password");
    }
    CommandInput withCode = input;
    withCode.credentials.recovery = true;
    const SecretBytes dataKey = unlockForCommand(withCode, input.databaseFile());
    if (dataKey.empty()) {
        return kExitFailed;
    }
    Text typed;
    if (!readNewPassword(input, typed)) {
        return kExitFailed;
    }
    const SecretBytes password = takeSecretText(typed);
    Database database;
    std::string why = openRecordsWithKey(database, input.databaseFile(), dataKey);
    if (why.empty()) {
        why = setProtectedPassword(database, input.databaseFile(), dataKey, user, password);
    }
    database.close();
    if (!why.empty()) {
        return input.fail(why);
    }
    input.console.out << "the password of " << input.arguments.operands.front()
                      << " is set; it opens the records from now on\n";
    return kExitDone;
}

}  // namespace tamrivo
