#include "records/protected_passwords.h"

#include "base/text_encoding.h"
#include "records/key_slot_changes.h"
#include "records/users.h"

namespace tamrivo {

std::string setProtectedPassword(Database& database, const std::filesystem::path& records,
                                 const SecretBytes& dataKey, const Text& user,
                                 const SecretBytes& password, const KdfCost& cost) {
    const std::optional<int> userId = findUserId(database, user);
    if (!userId) {
        return "there is no user " + gbkToUtf8(user);
    }
    const Text typed(password.text());
    if (checkNewPassword(typed) != PasswordResult::Set) {
        return "the login could never take that password";
    }
    if (std::string why =
            setKeySlot(records, dataKey, {SlotKind::User, user, password.text()}, cost);
        !why.empty()) {
        return why;
    }
    const PasswordOutcome outcome = setPassword(database, *userId, typed);
    if (outcome.result != PasswordResult::Set) {
        return "cannot store the password: " + gbkToUtf8(outcome.error);
    }
    return {};
}

}  // namespace tamrivo
