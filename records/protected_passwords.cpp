#include "records/protected_passwords.h"

#include "base/text_encoding.h"
#include "records/key_slot_changes.h"
#include "records/password_digest.h"
#include "records/statement_scope.h"

namespace tamrivo {

bool userExists(Database& database, const Text& user) {
    StatementScope statement(database, "SELECT `id` FROM `b_yh` WHERE `yhm`=:yhm");
    statement.bindText(":yhm", user);
    return statement.step();
}

std::string setProtectedPassword(Database& database, const std::filesystem::path& records,
                                 const SecretBytes& dataKey, const Text& user,
                                 const SecretBytes& password, const KdfCost& cost) {
    if (!userExists(database, user)) {
        return "there is no user " + gbkToUtf8(user);
    }
    const Text digest = md5Hex(password.bytes());
    if (std::string why =
            setKeySlot(records, dataKey, {SlotKind::User, user, password.text()}, cost);
        !why.empty()) {
        return why;
    }
    StatementScope update(database, "UPDATE `b_yh` SET `mm`=:mm WHERE `yhm`=:yhm");
    update.bindText(":mm", digest);
    update.bindText(":yhm", user);
    update.step();
    if (!update.finish()) {
        return "cannot store the password: " + gbkToUtf8(database.errorMessage());
    }
    return {};
}

}  // namespace tamrivo
