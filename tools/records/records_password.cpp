#include <istream>
#include <ostream>
#include <string>

#include "base/text_encoding.h"
#include "records/protected_passwords.h"
#include "records/secret_bytes.h"
#include "records/users.h"
#include "tools/records/records_access.h"
#include "tools/records/records_commands.h"
#include "tools/records/secret_input.h"

namespace tamrivo {
namespace {

// The password as the program's password window would store it, or why it cannot be.
std::string takePassword(const std::string& typed, Text& password) {
    password = utf8ToGbk(typed);
    switch (checkNewPassword(password)) {
        case PasswordResult::Set:
            return {};
        case PasswordResult::Empty:
            return "the new password may not be empty";
        case PasswordResult::HasBlank:
            return "the new password may not hold blanks (spaces, full-width spaces, tabs): the "
                   "login takes a password exactly as typed";
        default:
            return "the new password may hold only English letters, digits and symbols: the "
                   "login's password box takes nothing else";
    }
}

// Stores the password as the program's password window does; for protected records the
// user's key slot is sealed for it too. Empty on success, otherwise why not.
std::string storePassword(const CommandInput& input, Database& database, const SecretBytes& dataKey,
                          const Text& user, Text& password) {
    const auto userId = findUserId(database, user);
    if (!userId) {
        return "there is no user " + input.arguments.operands.front();
    }
    if (!dataKey.empty()) {
        return setProtectedPassword(database, input.databaseFile(), dataKey, user,
                                    takeSecretText(password));
    }
    const PasswordOutcome outcome = setPassword(database, *userId, password);
    if (outcome.result == PasswordResult::NoSuchUser) {
        return "there is no user " + input.arguments.operands.front();
    }
    if (outcome.result != PasswordResult::Set) {
        return "cannot store the password: " + gbkToUtf8(outcome.error);
    }
    return {};
}

}  // namespace

bool readNewPassword(const CommandInput& input, Text& password) {
    std::string typed = readHiddenLine(input, "new password: ");
    if (typedByAPerson(input)) {
        std::string again = readHiddenLine(input, "again: ");
        const bool same = again == typed;
        wipeText(again);
        if (!same) {
            wipeText(typed);
            input.fail("the two passwords differ; nothing was changed");
            return false;
        }
    }
    const std::string refusal = takePassword(typed, password);
    wipeText(typed);
    if (!refusal.empty()) {
        wipeText(password);
        input.fail(refusal + "; nothing was changed");
        return false;
    }
    return true;
}

int runPassword(const CommandInput& input) {
    const Text user = utf8ToGbk(input.arguments.operands.front());
    Text password;
    if (!readNewPassword(input, password)) {
        return kExitFailed;
    }
    const auto lock = shareRecords(input);
    Database database;
    SecretBytes dataKey;
    if (!lock || !openForCommand(input, database, &dataKey)) {
        wipeText(password);
        return kExitFailed;
    }
    const std::string error = storePassword(input, database, dataKey, user, password);
    wipeText(password);
    database.close();
    if (!error.empty()) {
        return input.fail(error);
    }
    input.console.out << "the password of " << input.arguments.operands.front() << " is changed\n";
    return kExitDone;
}

}  // namespace tamrivo
