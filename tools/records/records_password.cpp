#include <istream>
#include <ostream>
#include <string>

#include "base/byte_block.h"
#include "base/text_encoding.h"
#include "records/password_digest.h"
#include "records/protected_passwords.h"
#include "records/secret_bytes.h"
#include "records/statement_scope.h"
#include "tools/records/records_access.h"
#include "tools/records/records_commands.h"
#include "tools/records/secret_input.h"

namespace tamrivo {
namespace {

// The password as the program's password window would store it, or why it cannot be.
std::string takePassword(const std::string& typed, Text& password) {
    password = utf8ToGbk(typed);
    if (password.empty()) {
        return "the new password may not be empty";
    }
    if (hasBlank(password)) {
        return "the new password may not hold blanks (spaces, full-width spaces, tabs): the "
               "login takes a password exactly as typed";
    }
    if (!isLoginTypable(password)) {
        return "the new password may hold only English letters, digits and symbols: the "
               "login's password box takes nothing else";
    }
    return {};
}

// Stores the digest the login compares, as the program's password window does.
std::string storeDigest(Database& database, const Text& user, const Text& password) {
    StatementScope update(database, "UPDATE `b_yh` SET `mm`=:mm WHERE `yhm`=:yhm");
    update.bindText(":mm", md5Hex(toByteBlock(password)));
    update.bindText(":yhm", user);
    update.step();
    return update.finish() ? std::string()
                           : "cannot store the password: " + gbkToUtf8(database.errorMessage());
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
    std::string error;
    if (!userExists(database, user)) {
        error = "there is no user " + input.arguments.operands.front();
    } else if (dataKey.empty()) {
        error = storeDigest(database, user, password);
    } else {
        // Protected records: the user's key slot is sealed for the new password too.
        error = setProtectedPassword(database, input.databaseFile(), dataKey, user,
                                     takeSecretText(password));
    }
    wipeText(password);
    database.close();
    if (!error.empty()) {
        return input.fail(error);
    }
    input.console.out << "the password of " << input.arguments.operands.front() << " is changed\n";
    return kExitDone;
}

}  // namespace tamrivo
